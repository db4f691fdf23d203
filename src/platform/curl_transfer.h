#pragma once
// What every libcurl transfer of the program shares: the once-only global
// initialisation, the limits no request may escape (http and https only,
// redirects included; certificates verified; a total time-out, a connect
// time-out and a low-speed limit; a body cap), and the mapping of libcurl's
// result codes onto FetchError.

#include <curl/curl.h>

#include <cstddef>
#include <string_view>

#include "platform/http_get.h"

namespace orvane {

inline constexpr long kMaxRequestMs = 15000;  // no request blocks its caller for longer

struct TransferLimits {
  std::size_t maxBytes = 8u << 20;
  long totalTimeoutMs = kMaxRequestMs;
  long connectTimeoutMs = 5000;  // name resolution and TLS handshake included
  // A transfer slower than this many bytes a second for lowSpeedSeconds is
  // given up: a server that answers nothing, or drips.
  long lowSpeedBytesPerSecond = 100;
  long lowSpeedSeconds = 5;
  bool followRedirects = true;
  long maxRedirects = 10;
};

// curl_global_init, once per process, from whichever thread comes first.
void EnsureCurlGlobalInit();

// True when `url` starts with "http://" or "https://" (any letter case).
bool IsHttpUrl(std::string_view url);

// FetchError::BadUrl for something that is no URL, BadScheme for another
// scheme, None for http and https.
FetchError CheckUrl(std::string_view url);

// Applies the limits above (and a direct connection, no proxy from the
// environment: the program reads no environment variable) to a handle fresh
// from curl_easy_init or curl_easy_reset.
void ApplyTransferLimits(CURL* easy, const TransferLimits& limits);

// The error's name ("Timeout", "TooLarge", ...), for messages and reports.
const char* ToString(FetchError error);

// `tooLarge`: the write callback refused the body because of the cap.
FetchError ClassifyCurlResult(CURLcode code, bool tooLarge);

}  // namespace orvane
