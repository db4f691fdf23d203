#include "service/song_sequencer.h"

#include <optional>
#include <string>

#include "app/control_names.h"
#include "platform/text.h"
#include "service/service_requests.h"
#include "service/site_url.h"

namespace orvane {
namespace {

constexpr int kLyricTickMs = 500;
constexpr int kSimilarWaitMs = 100;

void FillInfo(CurrentSong& song, const PlaylistSong& fetched) {
  song.info(1) = fetched.picture;
  song.info(2) = fetched.albumtitle;
  song.info(3) = fetched.picture;
  song.info(4) = fetched.artist;
  song.info(5) = fetched.url;
  song.info(6) = fetched.title;
}

}  // namespace

void PlayNextSong(Context& ctx) {
  ProgramState& state = ctx.state;
  Ui& ui = ctx.ui;
  const PlaylistSong song = FetchPlaylist(state);
  FillInfo(state.currentSong, song);
  state.currentSong.status = kNowPlaying;

  const std::string titleAndArtist = song.title + " - " + song.artist;
  ui.SetCaption(kTitleLabel, song.title);
  ui.SetCaption(kLyricLabel, titleAndArtist);
  ui.SetCaption(kBitRateLabel, state.currentSong.kbps + "Kbps");
  ui.SetCaption(Ui::kWindow, titleAndArtist);
  if (state.lyricsWindow) state.lyricsWindow->SetText(titleAndArtist);

  // The picture URL keeps the response's "\/" escapes; the network wants them undone.
  // Empty bytes (no picture, failed fetch) clear the cover.
  const std::string cover =
      song.picture.empty() ? std::string() : ctx.http.Get(UndoJsonSlashes(song.picture));
  ui.SetPicture(kCover, cover);

  StartPlayback(ctx, song.url);
  ui.SetAnimationRunning(kIndicator, true);
  FetchLyric(state);
  ui.SetPeriod(kLyricTimer, kLyricTickMs);

  const bool hasAlbumPage = ContainsText(state.currentSong.album, "subject");
  ui.SetPointer(kCover, hasAlbumPage ? MousePointer::Hand : MousePointer::Default);
  ui.SetVisible(kSimilarButton, hasAlbumPage);
}

void StartPlayback(Context& ctx, std::string_view url) {
  MediaPlayer* player = ctx.state.player.get();
  if (player == nullptr) return;
  // Setting the URL starts playing; no separate Play follows.
  player->SetUrl(url);
  player->SetVolume(std::to_string(ctx.ui.SliderPosition(kVolumeSlider)));
}

void PlaySimilar(Context& ctx) {
  ProgramState& state = ctx.state;
  // Taken now: the waits below let a song change run, and the label must name
  // the artist whose album page chose the channel.
  const std::string artist = state.currentSong.info(4);
  const std::optional<std::string> pageUrl =
      MusicSiteUrl(state.service.music, state.currentSong.album);
  // An address that leaves the music site is not fetched: the page counts as
  // empty and the channel becomes "", as with a page without a link.
  const std::string page = pageUrl ? ctx.http.Get(*pageUrl) : std::string();
  const std::string newId = TextBetween(page, "cid=", "&amp");
  ctx.ui.WaitDispatching(kSimilarWaitMs);
  state.channelId = newId;
  FetchChannelInfo(state);
  ctx.ui.WaitDispatching(kSimilarWaitMs);
  ctx.ui.SetCaption(kChannelLabel, artist + " MHz");
  PlayNextSong(ctx);
}

void BindSequencer(Context& ctx) {
  ctx.ui.Bind(kSimilarButton, UiEvent::Clicked, [&ctx] { PlaySimilar(ctx); });
}

}  // namespace orvane
