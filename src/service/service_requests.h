#pragma once
// The three service requests (channel information, a one-song playlist, a
// song's lyric) and TextBetween, the marker-based extraction every value of a
// response is taken with. Responses are never parsed as JSON: values are cut
// between the key's marker and the marker of the key the service sends next,
// and kept raw (JSON escapes included).

#include <string>
#include <string_view>

#include "app/program_state.h"
#include "http/http_request.h"

namespace orvane {

// The values of the song just fetched that are not stored as they are in
// CurrentSong.
struct PlaylistSong {
  std::string albumtitle;
  std::string title;
  std::string artist;
  std::string url;
  std::string picture;
};

// The text between the first occurrence of `startMarker` (searched from the
// 1-based `fromPosition`, below 1 meaning the start) and the next occurrence
// of `endMarker` after it; empty when either is missing. "#引号" in a marker
// stands for a double quote.
std::string TextBetween(std::string_view source, std::string_view startMarker,
                        std::string_view endMarker, int fromPosition = 0, bool ignoreCase = false);

std::string ChannelInfoUrl(const ProgramState& state);
std::string PlaylistUrl(const ProgramState& state);
std::string LyricUrl(const ProgramState& state);

// GET through the program's one HttpRequest; the response text, or empty.
std::string ServiceRequest(HttpRequest* request, std::string_view url);

// The extraction alone, over a response text already received.
std::string ExtractChannelName(std::string_view response);
PlaylistSong ExtractPlaylist(std::string_view response, CurrentSong& current);
std::string ExtractLyricText(std::string_view response);

// Sets channelName from the channel information of channelId.
void FetchChannelInfo(ProgramState& state);
// Stores sid, ssid, kbps and album in currentSong; returns the other five values.
PlaylistSong FetchPlaylist(ProgramState& state);
// Sets currentSong.lyricResponse (the whole response) and lyricText.
void FetchLyric(ProgramState& state);

}  // namespace orvane
