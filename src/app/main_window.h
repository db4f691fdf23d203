#pragma once
// The main window's own two handlers: creation (start values, the overlay,
// saved lyric settings, the start channel's information) and closing (save
// the lyric settings).

#include "app/context.h"

namespace orvane {

inline constexpr int kWindowOuterHeight = 240;
inline constexpr char kWelcomeLine[] = "欢迎进入Orvane";

void OnMainWindowCreated(Context& ctx);
void OnMainWindowClosing(Context& ctx);

// Binds Destroying to the closing handler. The application calls the creation
// handler itself once every handler is bound.
void BindMainWindow(Context& ctx);

}  // namespace orvane
