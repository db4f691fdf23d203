#pragma once
// The nine lyric display settings: they live in the controls of the settings
// panel (设置分组框1) and in gcsz.ini, section GECI, nowhere else.

#include <cstdint>
#include <string>
#include <string_view>

#include "app/context.h"

namespace orvane {

inline constexpr char kLyricSettingsFile[] = "gcsz.ini";
inline constexpr char kLyricSettingsSection[] = "GECI";

// ctx.runDirectory + "/gcsz.ini", built afresh for every read and write.
std::string LyricSettingsPath(const Context& ctx);

// A stored number as atof reads it (leading blanks, sign, digits, fraction,
// exponent; no number reads as 0), truncated toward zero and kept within the
// int32 range, so "1e300" or "nan" never reach an undefined conversion.
std::int32_t SettingNumber(std::string_view text);

// Creation handler step: when the file exists, puts its values into the panel
// and applies them to the overlay (SetFont, SetTextStyle, Render).
void LoadLyricSettings(Context& ctx);
// Writes the panel's nine values, one key per write, in the file's key order.
void SaveLyricSettings(Context& ctx);
// 设置2 clicked: font, render, wait; style, render, wait; save; close the panel.
void ApplyLyricSettings(Context& ctx);
// 歌词显示 clicked: hides the volume slider and shows or hides the overlay.
void ToggleOverlay(Context& ctx);

void BindLyricSettings(Context& ctx);

}  // namespace orvane
