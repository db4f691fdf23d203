// The three responses' extraction over arbitrary bodies.
#include <cstdint>
#include <string_view>

#include "service/service_requests.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view body(reinterpret_cast<const char*>(data), size);
  orvane::CurrentSong song;
  const orvane::PlaylistSong p = orvane::ExtractPlaylist(body, song);
  const std::size_t total =
      p.albumtitle.size() + p.title.size() + p.artist.size() + p.url.size() + p.picture.size();
  if (p.title.size() > size || p.url.size() > size || total > 5 * size) __builtin_trap();
  (void)orvane::ExtractChannelName(body);
  (void)orvane::ExtractLyricText(body);
  return 0;
}
