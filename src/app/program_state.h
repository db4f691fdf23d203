#pragma once
// ProgramState: the program-wide variables every handler shares, and
// CurrentSong, the song now playing. One record, owned by the application and
// handed to the handlers by reference (Context); no handler reaches for a global.

#include <array>
#include <memory>
#include <string>

#include "http/http_request.h"
#include "overlay/lyrics_window.h"
#include "player/media_player.h"

namespace orvane {

struct CurrentSong {
  std::string status;  // "" until the first song, then "正在播放" for the rest of the run
  std::string album;   // album path on the music site, raw from the playlist
  // info slots 1..6: cover URL, album title, cover URL, artist, stream URL, title.
  std::array<std::string, 6> infoSlots;
  std::string sid;
  std::string ssid;
  std::string kbps;
  std::string lyricResponse;
  std::string lyricText;

  // 1-based, as the slots are numbered; the array never changes size.
  std::string& info(int slot) { return infoSlots.at(static_cast<std::size_t>(slot - 1)); }
  const std::string& info(int slot) const {
    return infoSlots.at(static_cast<std::size_t>(slot - 1));
  }
};

// Where the service lives. The product talks to the real hosts; tests and the
// demo point both at the local station.
struct ServiceAddresses {
  std::string api = "https://douban.fm";
  std::string music = "https://music.douban.com";
};

inline constexpr char kNowPlaying[] = "正在播放";

struct ProgramState {
  std::unique_ptr<MediaPlayer> player;
  std::string overlayShown;  // "" hidden, "123" shown
  std::string channelId;
  std::unique_ptr<LyricsWindow> lyricsWindow;
  std::unique_ptr<HttpRequest> httpRequest;
  std::string channelName;
  CurrentSong currentSong;
  // The overlay's cursor and graphics start-up token have no counterpart on
  // Qt: RegisterLyricsWindowClass keeps its own once-only flag.
  ServiceAddresses service;
};

}  // namespace orvane
