#include "app/main_window.h"

#include "app/channels.h"
#include "app/window_behaviours.h"
#include "lyrics/lyric_settings.h"
#include "service/service_requests.h"

namespace orvane {
namespace {

void CreateOverlay(LyricsWindow* overlay) {
  if (!overlay) return;
  overlay->Create();
  overlay->SetDragMove(true);
  overlay->SetNoClose(true);
  overlay->Hide();
  overlay->SetText(kWelcomeLine);
}

}  // namespace

void OnMainWindowCreated(Context& ctx) {
  ctx.ui.SetHeight(Ui::kWindow, kWindowOuterHeight);
  ctx.state.overlayShown.clear();
  ctx.state.channelId = std::string(kStartChannelId);
  ShowVolumeTip(ctx.ui);
  CreateOverlay(ctx.state.lyricsWindow.get());
  LoadLyricSettings(ctx);  // does nothing without a settings file
  // Lets pending events (a first docking tick among them) run before the
  // request below blocks the thread.
  ctx.ui.WaitDispatching(60);
  FetchChannelInfo(ctx.state);
  // Whatever name the service gave: the start channel always reads like this.
  ctx.ui.SetCaption("标签5", kStartChannelLabel);
}

void OnMainWindowClosing(Context& ctx) {
  SaveLyricSettings(ctx);
}

}  // namespace orvane
