#include "service/service_requests.h"

#include "platform/text.h"

namespace orvane {
namespace {

// The start marker of key K: "K":"  — the end marker of a value that the
// service follows with key N: ","N
std::string Key(std::string_view k) {
  std::string m;
  m.reserve(k.size() + 4);
  m.append("\"").append(k).append("\":\"");
  return m;
}
std::string Next(std::string_view n) {
  std::string m;
  m.reserve(n.size() + 3);
  m.append("\",\"").append(n);
  return m;
}

std::string Field(std::string_view response, std::string_view key, std::string_view next) {
  return TextBetween(response, Key(key), Next(next));
}

}  // namespace

std::string TextBetween(std::string_view source, std::string_view startMarker,
                        std::string_view endMarker, int fromPosition, bool ignoreCase) {
  const std::string start = ReplaceAll(startMarker, "#引号", "\"");
  const std::string end = ReplaceAll(endMarker, "#引号", "\"");
  const std::size_t from = fromPosition < 1 ? 1 : static_cast<std::size_t>(fromPosition);
  const std::size_t p = FindText(source, start, from, ignoreCase);
  if (p == 0) return {};
  const std::size_t valueStart = p + start.size();  // 1-based, first byte after the marker
  const std::size_t e = FindText(source, end, valueStart, ignoreCase);
  if (e == 0) return {};
  return std::string(source.substr(valueStart - 1, e - valueStart));
}

std::string ChannelInfoUrl(const ProgramState& state) {
  return state.service.api + "/j/v2/channel_info?id=" + state.channelId;
}

std::string PlaylistUrl(const ProgramState& state) {
  return state.service.api + "/j/v2/playlist?channel=" + state.channelId +
         "&kbps=128&client=s%3Amainsite%7Cy%3A3.0&app_name=radio_website&version=100&type=n";
}

std::string LyricUrl(const ProgramState& state) {
  return state.service.api + "/j/v2/lyric?sid=" + state.currentSong.sid +
         "&ssid=" + state.currentSong.ssid;
}

std::string ServiceRequest(HttpRequest* request, std::string_view url) {
  if (request == nullptr) return {};
  request->Open("GET", url);
  request->Send();
  return request->ResponseText();
}

std::string ExtractChannelName(std::string_view response) {
  return Field(response, "name", "cover");
}

PlaylistSong ExtractPlaylist(std::string_view response, CurrentSong& current) {
  PlaylistSong song;
  song.albumtitle = Field(response, "albumtitle", "url");
  song.title = Field(response, "title", "sid");
  song.artist = Field(response, "artist", "is_royal");
  song.url = Field(response, "url", "file_ext");
  song.picture = Field(response, "picture", "update_time");
  current.sid = Field(response, "sid", "sha256");
  current.ssid = Field(response, "ssid", "title");
  current.kbps = Field(response, "kbps", "available_formats");
  current.album = Field(response, "album", "ssid");
  return song;
}

std::string ExtractLyricText(std::string_view response) {
  return Field(response, "lyric", "name");
}

void FetchChannelInfo(ProgramState& state) {
  const std::string response = ServiceRequest(state.httpRequest.get(), ChannelInfoUrl(state));
  state.channelName = ExtractChannelName(response);
}

PlaylistSong FetchPlaylist(ProgramState& state) {
  const std::string response = ServiceRequest(state.httpRequest.get(), PlaylistUrl(state));
  return ExtractPlaylist(response, state.currentSong);
}

void FetchLyric(ProgramState& state) {
  const std::string response = ServiceRequest(state.httpRequest.get(), LyricUrl(state));
  state.currentSong.lyricResponse = response;
  state.currentSong.lyricText = ExtractLyricText(response);
}

}  // namespace orvane
