// FindLyricLine over arbitrary responses and time texts: the first byte picks
// the second to look up (as the tick would), the rest is the response; a
// second round takes a time text from the input itself.
#include <cstdint>
#include <string>
#include <string_view>

#include "lyrics/lyric_lookup.h"
#include "player/media_player.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view response(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string time = orvane::MediaPlayer::SecondsToText(data[0] * 7);
  const std::string line = orvane::FindLyricLine(response, time);
  if (line.size() > response.size()) __builtin_trap();
  const std::size_t cut = data[0] % (size > 8 ? 8 : size);
  (void)orvane::FindLyricLine(response, response.substr(0, cut));
  (void)orvane::TextAfterLast(response, response.substr(0, cut));
  (void)orvane::TextBefore(response, response.substr(0, cut));
  return 0;
}
