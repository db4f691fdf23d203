#include "app/playback_controls.h"

#include <optional>
#include <string>

#include "app/channels.h"
#include "app/control_names.h"
#include "platform/text.h"
#include "service/service_requests.h"
#include "service/site_url.h"
#include "service/song_sequencer.h"

namespace orvane {
namespace {

constexpr int kPanelOpenX = 182;
constexpr int kPanelClosedX = 430;
constexpr int kTipMs = 1000;

void HideSlider(Ui& ui) {
  ui.SetVisible(kVolumeSlider, false);
}

void CloseChooser(Ui& ui) {
  ui.SetVisible(kChooser, false);
  ui.SetVisible(kChannelLabel, true);
}

void ClosePanelIfOpen(Ui& ui) {
  if (ui.Left(kSettingsPanel) == kPanelOpenX) ui.SetLeft(kSettingsPanel, kPanelClosedX);
}

void ShowPlayingLook(Ui& ui) {
  ui.SetVisible(kPauseButton, true);
  ui.SetVisible(kContinueButton, false);
}

void ShowPausedLook(Ui& ui) {
  ui.SetVisible(kPauseButton, false);
  ui.SetVisible(kContinueButton, true);
}

}  // namespace

void OnPauseClicked(Context& ctx) {
  Ui& ui = ctx.ui;
  if (ctx.state.player) ctx.state.player->Pause();
  HideSlider(ui);
  if (!ui.Visible(kContinueButton)) {
    ShowPausedLook(ui);
    ui.SetAnimationRunning(kIndicator, false);
  } else {
    ShowPlayingLook(ui);
  }
  ClosePanelIfOpen(ui);
}

void OnContinueClicked(Context& ctx) {
  Ui& ui = ctx.ui;
  if (ctx.state.player) ctx.state.player->Play();
  HideSlider(ui);
  if (!ui.Visible(kPauseButton)) {
    ShowPlayingLook(ui);
    ui.SetAnimationRunning(kIndicator, true);
  } else {
    ShowPausedLook(ui);
  }
  ClosePanelIfOpen(ui);
}

void OnNextSongClicked(Context& ctx) {
  Ui& ui = ctx.ui;
  // The song change runs to its end first; the window tidies up afterwards.
  PlayNextSong(ctx);
  HideSlider(ui);
  if (ui.Visible(kContinueButton)) ShowPlayingLook(ui);
  ClosePanelIfOpen(ui);
}

void OnChannelSelected(Context& ctx) {
  Ui& ui = ctx.ui;
  HideSlider(ui);
  CloseChooser(ui);
  // Every choice shows the playing look, a separator too.
  if (ui.Visible(kContinueButton)) ShowPlayingLook(ui);

  const int index = ui.SelectedItem(kChooser);
  if (index < 0 || index >= static_cast<int>(kChannelItems.size())) return;
  const ChannelItem& item = kChannelItems[static_cast<std::size_t>(index)];
  if (item.isSeparator()) return;

  ctx.state.channelId = std::string(item.id);
  FetchChannelInfo(ctx.state);
  if (index == 0) {
    ui.SetCaption(kChannelLabel, kStartChannelLabel);
  } else {
    ui.SetCaption(kChannelLabel, ctx.state.channelName + " MHz");
  }
  PlayNextSong(ctx);
}

void OnChannelLabelPressed(Context& ctx) {
  Ui& ui = ctx.ui;
  if (ui.Visible(kChooser)) {
    CloseChooser(ui);
  } else {
    ui.SetVisible(kChooser, true);
    ui.SetVisible(kChannelLabel, false);
  }
}

void OnTitlePressed(Context& ctx) {
  Ui& ui = ctx.ui;
  HideSlider(ui);
  CloseChooser(ui);
  if (ui.Left(kSettingsPanel) != kPanelClosedX) {
    // The first press only closes the panel; a second one copies.
    ui.SetLeft(kSettingsPanel, kPanelClosedX);
    return;
  }
  const CurrentSong& song = ctx.state.currentSong;
  ctx.clipboard.SetText(song.info(6) + " " + song.info(4));
  ui.SetCaption(kTip, "歌曲信息已复制");
  // Already at 1000 ms the timer keeps its deadline: a second press within
  // the second does not prolong the tip.
  ui.SetPeriod(kTipTimer, kTipMs);
}

void OnTidyPressed(Context& ctx) {
  Ui& ui = ctx.ui;
  HideSlider(ui);
  CloseChooser(ui);
  ClosePanelIfOpen(ui);
}

void OnCoverPressed(Context& ctx) {
  Ui& ui = ctx.ui;
  HideSlider(ui);
  CloseChooser(ui);
  const CurrentSong& song = ctx.state.currentSong;
  if (song.status != kNowPlaying || !ContainsText(song.album, "subject")) return;
  // The album path comes from the network: open it only while it stays on the music site.
  const std::optional<std::string> url = MusicSiteUrl(ctx.state.service.music, song.album);
  if (url) ctx.shell.OpenUrl(*url);
}

void BindPlaybackControls(Context& ctx) {
  Ui& ui = ctx.ui;
  ui.Bind(kPauseButton, UiEvent::Clicked, [&ctx] { OnPauseClicked(ctx); });
  ui.Bind(kContinueButton, UiEvent::Clicked, [&ctx] { OnContinueClicked(ctx); });
  ui.Bind(kNextButton, UiEvent::Clicked, [&ctx] { OnNextSongClicked(ctx); });
  ui.Bind(kChooser, UiEvent::ItemSelected, [&ctx] { OnChannelSelected(ctx); });
  ui.Bind(kChannelLabel, UiEvent::LeftPressed, [&ctx] { OnChannelLabelPressed(ctx); });
  ui.Bind(kTitleLabel, UiEvent::LeftPressed, [&ctx] { OnTitlePressed(ctx); });
  ui.Bind(kLyricLabel, UiEvent::LeftPressed, [&ctx] { OnTidyPressed(ctx); });
  ui.Bind(kPlayerArea, UiEvent::LeftPressed, [&ctx] { OnTidyPressed(ctx); });
  ui.Bind(kCover, UiEvent::LeftPressed, [&ctx] { OnCoverPressed(ctx); });
}

}  // namespace orvane
