#include "app/application.h"

#include <malloc.h>

#include <QApplication>
#include <QCoreApplication>
#include <clocale>

#include "app/main_window.h"
#include "app/playback_controls.h"
#include "app/window_behaviours.h"
#include "lyrics/lyric_settings.h"
#include "lyrics/lyric_tick.h"
#include "platform/curl_http_getter.h"
#include "platform/mpv_media_control.h"
#include "platform/profile_file.h"
#include "platform/qt_desktop.h"
#include "platform/qt_ui.h"
#include "service/song_sequencer.h"

namespace orvane {

namespace {

// Each song leaves the decoder's and the demuxer's buffers behind on libmpv's
// threads. With glibc's defaults those stay in the heaps for good, and the
// process grows by a few megabytes a song until it plateaus far above what it
// uses; served from mmap and trimmed on free, they go back to the system.
void KeepTheHeapsSmall() {
  mallopt(M_MMAP_THRESHOLD, 64 * 1024);
  mallopt(M_TRIM_THRESHOLD, 64 * 1024);
}

}  // namespace

Application::Application(ApplicationOptions options) : options_(std::move(options)) {
  KeepTheHeapsSmall();
  if (options_.runDirectory.empty()) options_.runDirectory = RunDirectory();
}

Application::~Application() {
  ExitRoutine();
}

void Application::Start() {
  // libmpv refuses to start under any other numeric locale; Qt has set the
  // locale from the environment by now.
  std::setlocale(LC_NUMERIC, "C");

  // The program-wide objects, in declaration order.
  MpvSettings playerOptions;
  playerOptions.nullAudio = options_.nullAudio;
  state_.player = std::make_unique<MediaPlayer>(std::make_shared<MpvMediaControl>(playerOptions));
  state_.lyricsWindow = std::make_unique<LyricsWindow>();
  state_.httpRequest = std::make_unique<HttpRequest>();
  state_.service = options_.service;

  // The overlay's set-up before any overlay window exists.
  RegisterLyricsWindowClass();

  // Load the main window: controls, handlers, then the creation handler.
  desktop_ = std::make_unique<QtDesktop>(options_.recordUrls);
  http_ = std::make_unique<CurlHttpGetter>();
  ui_ = std::make_unique<QtUi>();
  context_ = std::make_unique<Context>(
      Context{state_, *ui_, *desktop_, *desktop_, *desktop_, *http_, options_.runDirectory});
  Context& ctx = *context_;
  BindWindowBehaviours(ctx);
  BindPlaybackControls(ctx);
  BindSequencer(ctx);
  BindLyricTimer(ctx);
  BindLyricSettings(ctx);
  ui_->Bind(Ui::kWindow, UiEvent::Destroying, [this, &ctx] {
    // The closing handler saves the settings; then the message loop ends.
    OnMainWindowClosing(ctx);
    closed_ = true;
    QCoreApplication::quit();
  });
  // Shown first, so the window maps while the creation handler waits and asks
  // for the channel; the handler's changes land before the first paint.
  ui_->Show();
  OnMainWindowCreated(ctx);
}

int Application::Run() {
  if (!closed_) QApplication::exec();
  return 0;
}

void Application::ExitRoutine() {
  if (exited_) return;
  exited_ = true;
  // Timers first, so no handler runs on a half-released state.
  ui_.reset();
  state_.player.reset();
  state_.overlayShown.clear();
  state_.channelId.clear();
  // The overlay's window would live until the process ends; the message loop
  // is over, so it goes now, and a leak check sees nothing left of it.
  if (state_.lyricsWindow) state_.lyricsWindow->Destroy();
  state_.lyricsWindow.reset();
  state_.httpRequest.reset();
  state_.channelName.clear();
  state_.currentSong = CurrentSong{};
  context_.reset();
  http_.reset();
  desktop_.reset();
}

}  // namespace orvane
