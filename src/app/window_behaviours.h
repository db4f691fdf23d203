#pragma once
// Edge docking, the settings panel button and the volume pop-up.

#include "app/context.h"
#include "platform/desktop.h"
#include "platform/ui.h"

namespace orvane {

inline constexpr int kDockTimerMs = 100;
inline constexpr int kPanelOpenX = 182;
inline constexpr int kPanelClosedX = 430;

// Applies the docking rules once to the main window. Every rule reads the
// window, the screen and the pointer anew, so it sees the moves of the rules
// before it. Allocates nothing: it runs ten times a second.
void DockAtScreenEdge(Ui& ui, const Screen& screen);

// "音量：" followed by the slider position, into 提示.
void ShowVolumeTip(Ui& ui);

void BindWindowBehaviours(Context& ctx);

}  // namespace orvane
