// The cookie store over arbitrary response headers: the input is the header
// block a response carried, merged twice so stored cookies meet new ones.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "http/fake_request_component.h"
#include "http/http_request.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto component = std::make_shared<orvane::testing::FakeRequestComponent>();
  component->headers.assign(reinterpret_cast<const char*>(data), size);
  orvane::HttpRequest request(component);
  const std::string first = request.MergeSetCookies();
  const std::string second = request.MergeSetCookies();
  if (second.size() > first.size() + size + 1) __builtin_trap();
  (void)request.GetSetCookieLines();
  (void)request.GetCookie("sid");
  std::int32_t end = 0;
  const std::string_view in(component->headers);
  (void)request.ExtractBetween(in, in.substr(0, size % 5), in.substr(size % 5, 2),
                               static_cast<std::int32_t>(size % 7), size % 2 == 0, &end,
                               static_cast<std::int32_t>(size % 4),
                               static_cast<std::int32_t>(size % 3));
  (void)request.ExtractBetween(in, in.substr(0, 1 + size % 3), std::nullopt, 0, false, &end,
                               static_cast<std::int32_t>(size % 9), 0);
  return 0;
}
