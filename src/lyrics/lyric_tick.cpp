#include "lyrics/lyric_tick.h"

#include <cmath>
#include <string>

#include "app/control_names.h"
#include "lyrics/lyric_lookup.h"
#include "platform/text.h"
#include "service/song_sequencer.h"

namespace orvane {
namespace {

constexpr int kTrackWidth = 390;
constexpr std::string_view kNoMatch = "没有匹配到歌词.";
constexpr std::string_view kNoLyric = "暂无歌词";
constexpr std::string_view kNotScrollable = "当前歌词不支持滚动";

bool SongHasEnded(int state) {
  return state == kPlayStateStopped || state == kPlayStateUndefined || state == kPlayStateReady;
}

void ShowLine(Context& ctx, std::string_view line) {
  ctx.ui.SetCaption(kLyricLabel, line);
  // The overlay shows exactly what the label shows.
  if (ctx.state.lyricsWindow) ctx.state.lyricsWindow->SetText(ctx.ui.Caption(kLyricLabel));
}

void ShowLyricStatus(Context& ctx, std::string_view status) {
  ctx.ui.SetCaption(kLyricLabel, status);
  if (ctx.state.lyricsWindow) ctx.state.lyricsWindow->SetText(status);
}

void ShowPlayback(Context& ctx, const MediaPlayer& player) {
  const int position = WholeSeconds(player.GetPosition());
  const int duration = WholeSeconds(player.GetDuration());
  ctx.ui.SetCaption(kTimeLabel, MediaPlayer::SecondsToText(position) + " | " +
                                    MediaPlayer::SecondsToText(duration));
  ctx.ui.SetWidth(kGreenBar, ProgressWidth(position, duration));

  const CurrentSong& song = ctx.state.currentSong;
  if (song.lyricResponse.empty() || song.lyricResponse == kNoMatch) return;
  const std::string line = FindLyricLine(song.lyricResponse, MediaPlayer::SecondsToText(position));
  if (!line.empty()) ShowLine(ctx, line);
  if (!ContainsText(song.lyricResponse, "[")) {
    ShowLyricStatus(ctx, song.lyricText == kNoLyric ? kNoLyric : kNotScrollable);
  }
}

}  // namespace

int WholeSeconds(double seconds) {
  if (!std::isfinite(seconds) || seconds <= 0) return 0;
  if (seconds >= kMaxTickSeconds) return kMaxTickSeconds;
  return static_cast<int>(seconds);  // truncation toward zero
}

int ProgressWidth(int position, int duration) {
  if (duration <= 0 || position <= 0) return 0;
  return static_cast<int>(static_cast<double>(position) / duration * kTrackWidth);
}

void LyricTick(Context& ctx) {
  MediaPlayer* player = ctx.state.player.get();
  if (player == nullptr) return;
  const int state = player->GetPlayState();
  if (SongHasEnded(state)) {
    // Stopped first, so no tick runs while the next song is being fetched.
    ctx.ui.SetPeriod(kLyricTimer, 0);
    PlayNextSong(ctx);
    return;
  }
  if (state == kPlayStatePlaying) ShowPlayback(ctx, *player);
}

void BindLyricTimer(Context& ctx) {
  ctx.ui.Bind(kLyricTimer, UiEvent::Tick, [&ctx] { LyricTick(ctx); });
}

}  // namespace orvane
