#include "lyrics/lyric_settings.h"

#include <locale.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "platform/profile_file.h"

namespace orvane {
namespace {

constexpr char kTrue[] = "真";
constexpr char kFalse[] = "假";

enum class Holds { Item, Check, Colour };

struct SettingKey {
  const char* key;
  const char* control;
  Holds holds;
};

// The file's keys in the order they are written. The italic box is stored
// under 字体选中: files written by earlier installs use that key.
constexpr std::array<SettingKey, 9> kKeys{{
    {"字体型号", "字体型号", Holds::Item},
    {"字体大小", "字体大小", Holds::Item},
    {"字体加粗", "字体加粗", Holds::Check},
    {"字体选中", "字体倾斜", Holds::Check},
    {"字体下划线", "字体下划线", Holds::Check},
    {"文字颜色1", "颜色选择器1", Holds::Colour},
    {"文字颜色2", "颜色选择器2", Holds::Colour},
    {"文字颜色3", "颜色选择器3", Holds::Colour},
    {"文字渐变", "文字渐变", Holds::Item},
}};

locale_t CLocale() {
  static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return c;
}

// An item number beyond the list selects its nearest end, so the combo never
// shows nothing and SetFont never gets an empty family.
void SelectClamped(Ui& ui, std::string_view combo, std::int32_t item) {
  const int count = ui.ItemCount(combo);
  if (count <= 0) return;
  ui.SetSelectedItem(combo, std::clamp<std::int32_t>(item, 0, count - 1));
}

void ApplyFont(Context& ctx) {
  Ui& ui = ctx.ui;
  const std::string family = ui.ItemText("字体型号", ui.SelectedItem("字体型号"));
  const int size = SettingNumber(ui.ItemText("字体大小", ui.SelectedItem("字体大小")));
  ctx.state.lyricsWindow->SetFont(family, size, ui.Checked("字体加粗"), ui.Checked("字体倾斜"),
                                  ui.Checked("字体下划线"));
}

void ApplyTextStyle(Context& ctx) {
  Ui& ui = ctx.ui;
  ctx.state.lyricsWindow->SetTextStyle(ui.Colour("颜色选择器1"), ui.Colour("颜色选择器2"),
                                       ui.Colour("颜色选择器3"), ui.SelectedItem("文字渐变"));
}

}  // namespace

std::string LyricSettingsPath(const Context& ctx) {
  return ctx.runDirectory + "/" + kLyricSettingsFile;
}

std::int32_t SettingNumber(std::string_view text) {
  const std::string s(text);  // strtod wants a terminated string
  const double d = strtod_l(s.c_str(), nullptr, CLocale());
  if (std::isnan(d)) return 0;
  constexpr double lo = std::numeric_limits<std::int32_t>::min();
  constexpr double hi = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(std::trunc(std::clamp(d, lo, hi)));
}

void LoadLyricSettings(Context& ctx) {
  const std::string path = LyricSettingsPath(ctx);
  if (!FileExists(path)) return;
  Ui& ui = ctx.ui;
  for (const SettingKey& k : kKeys) {
    const std::string value =
        ReadProfileString(LyricSettingsPath(ctx), kLyricSettingsSection, k.key);
    switch (k.holds) {
      case Holds::Item:
        SelectClamped(ui, k.control, SettingNumber(value));
        break;
      case Holds::Check:
        ui.SetChecked(k.control, value == kTrue);
        break;
      case Holds::Colour:
        ui.SetColour(k.control, SettingNumber(value));
        break;
    }
  }
  if (!ctx.state.lyricsWindow) return;
  ApplyFont(ctx);
  ApplyTextStyle(ctx);
  ctx.state.lyricsWindow->Render();
}

void SaveLyricSettings(Context& ctx) {
  Ui& ui = ctx.ui;
  std::array<std::string, kKeys.size()> values;
  std::array<std::pair<std::string_view, std::string_view>, kKeys.size()> writes;
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    const SettingKey& k = kKeys[i];
    switch (k.holds) {
      case Holds::Item:
        values[i] = std::to_string(ui.SelectedItem(k.control));
        break;
      case Holds::Check:
        values[i] = ui.Checked(k.control) ? kTrue : kFalse;
        break;
      case Holds::Colour:
        values[i] = std::to_string(ui.Colour(k.control));
        break;
    }
    writes[i] = {k.key, values[i]};
  }
  // The nine keys in their order, in one replace of the file: a crash or a
  // kill while saving leaves the old settings or the new ones, never a mix.
  // A failed write is not reported: the settings are simply not kept.
  WriteProfileStrings(LyricSettingsPath(ctx), kLyricSettingsSection, writes);
}

void ApplyLyricSettings(Context& ctx) {
  if (ctx.state.lyricsWindow) {
    ApplyFont(ctx);
    ctx.state.lyricsWindow->Render();
  }
  ctx.ui.WaitDispatching(60);
  if (ctx.state.lyricsWindow) {
    ApplyTextStyle(ctx);
    ctx.state.lyricsWindow->Render();
  }
  ctx.ui.WaitDispatching(60);
  SaveLyricSettings(ctx);
  ctx.ui.SetLeft("外形框1", 430);
}

void ToggleOverlay(Context& ctx) {
  ctx.ui.SetVisible("滑块条1", false);
  if (ctx.state.overlayShown.empty()) {
    if (ctx.state.lyricsWindow) ctx.state.lyricsWindow->Show();
    ctx.state.overlayShown = "123";
  } else {
    if (ctx.state.lyricsWindow) ctx.state.lyricsWindow->Hide();
    ctx.state.overlayShown.clear();
  }
}

void BindLyricSettings(Context& ctx) {
  ctx.ui.Bind("设置2", UiEvent::Clicked, [&ctx] { ApplyLyricSettings(ctx); });
  ctx.ui.Bind("歌词显示", UiEvent::Clicked, [&ctx] { ToggleOverlay(ctx); });
}

}  // namespace orvane
