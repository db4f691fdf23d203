// TextBetween over arbitrary source and markers: the input is split at the
// first two NUL bytes into source, start marker and end marker.
#include <cstdint>
#include <string>
#include <string_view>

#include "service/service_requests.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::string_view parts[3];
  for (int i = 0; i < 2; ++i) {
    std::size_t nul = in.find('\0');
    parts[i] = in.substr(0, nul);
    in = nul == std::string_view::npos ? std::string_view() : in.substr(nul + 1);
  }
  parts[2] = in;
  const std::string out = orvane::TextBetween(parts[0], parts[1], parts[2]);
  // The value always lies inside the source.
  if (out.size() > parts[0].size()) __builtin_trap();
  if (!out.empty() && parts[0].find(out) == std::string_view::npos) __builtin_trap();
  const std::size_t from = size ? data[0] : 0;
  (void)orvane::TextBetween(parts[0], parts[1], parts[2], static_cast<int>(from), true);
  return 0;
}
