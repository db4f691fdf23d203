#pragma once
// The main window's own two handlers: creation (start values, the overlay,
// saved lyric settings, the start channel's information) and closing (save
// the lyric settings).

#include "app/context.h"

namespace orvane {

inline constexpr int kWindowOuterHeight = 240;
inline constexpr char kWelcomeLine[] = "欢迎进入Orvane";

// The application calls the creation handler itself once every handler is
// bound, and binds Destroying to the closing handler together with the end of
// the message loop.
void OnMainWindowCreated(Context& ctx);
void OnMainWindowClosing(Context& ctx);

}  // namespace orvane
