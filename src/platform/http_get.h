#pragma once
// The blocking HTTP GET of bytes that the window toolkit offered: cover
// pictures and album pages. Real implementation: CurlHttpGetter (libcurl).
//
// Every failure yields empty bytes to the program; the detailed result says
// which failure it was, for tests and diagnostics.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

enum class FetchError {
  None,
  BadUrl,       // not a URL at all
  BadScheme,    // not http or https (redirect targets included)
  Resolve,      // host name not resolved
  Connect,      // refused or unreachable
  Timeout,      // connect, total or low-speed time-out
  TooLarge,     // body beyond the cap
  HttpStatus,   // 4xx or 5xx
  Tls,          // certificate or handshake failure
  Transfer,     // connection reset, truncated body, other transfer errors
  Aborted,      // cancelled by the caller before it ended
};

struct FetchResult {
  std::string body;
  FetchError error = FetchError::None;
  long status = 0;
  bool ok() const { return error == FetchError::None; }
};

struct FetchLimits {
  std::size_t maxBytes = 16u << 20;  // 16 MiB for pictures; 8 MiB for API and pages
  long totalTimeoutMs = 15000;       // no request blocks for longer than this
  long connectTimeoutMs = 5000;
};

class HttpGetter {
 public:
  virtual ~HttpGetter() = default;
  // Body bytes, or empty bytes on any failure.
  virtual std::string Get(std::string_view url) = 0;
};

}  // namespace orvane
