#include "platform/curl_transfer.h"

#include <algorithm>
#include <mutex>

namespace orvane {
namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

long Clamp(long value, long low, long high) {
  return std::min(std::max(value, low), high);
}

}  // namespace

void EnsureCurlGlobalInit() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

bool IsHttpUrl(std::string_view url) {
  return StartsWithNoCase(url, "http://") || StartsWithNoCase(url, "https://");
}

FetchError CheckUrl(std::string_view url) {
  if (IsHttpUrl(url)) return FetchError::None;
  const std::size_t colon = url.find(':');
  if (colon == std::string_view::npos || colon == 0) return FetchError::BadUrl;
  return FetchError::BadScheme;
}

void ApplyTransferLimits(CURL* easy, const TransferLimits& limits) {
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, limits.followRedirects ? 1L : 0L);
  curl_easy_setopt(easy, CURLOPT_MAXREDIRS, Clamp(limits.maxRedirects, 0, 50));
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, Clamp(limits.totalTimeoutMs, 1, kMaxRequestMs));
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS,
                   Clamp(limits.connectTimeoutMs, 1, kMaxRequestMs));
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, std::max(1L, limits.lowSpeedBytesPerSecond));
  curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME,
                   Clamp(limits.lowSpeedSeconds, 1, kMaxRequestMs / 1000));
  curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBytes));
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
  curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);
  curl_easy_setopt(easy, CURLOPT_PROXY, "");
  curl_easy_setopt(easy, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
  curl_easy_setopt(easy, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(easy, CURLOPT_TCP_KEEPALIVE, 1L);
}

const char* ToString(FetchError error) {
  switch (error) {
    case FetchError::None:
      return "None";
    case FetchError::BadUrl:
      return "BadUrl";
    case FetchError::BadScheme:
      return "BadScheme";
    case FetchError::Resolve:
      return "Resolve";
    case FetchError::Connect:
      return "Connect";
    case FetchError::Timeout:
      return "Timeout";
    case FetchError::TooLarge:
      return "TooLarge";
    case FetchError::HttpStatus:
      return "HttpStatus";
    case FetchError::Tls:
      return "Tls";
    case FetchError::Transfer:
      return "Transfer";
    case FetchError::Aborted:
      return "Aborted";
  }
  return "?";
}

FetchError ClassifyCurlResult(CURLcode code, bool tooLarge) {
  if (tooLarge) return FetchError::TooLarge;
  switch (code) {
    case CURLE_OK:
      return FetchError::None;
    case CURLE_UNSUPPORTED_PROTOCOL:
      return FetchError::BadScheme;
    case CURLE_URL_MALFORMAT:
      return FetchError::BadUrl;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
      return FetchError::Resolve;
    case CURLE_COULDNT_CONNECT:
      return FetchError::Connect;
    case CURLE_OPERATION_TIMEDOUT:
      return FetchError::Timeout;
    case CURLE_FILESIZE_EXCEEDED:
      return FetchError::TooLarge;
    case CURLE_HTTP_RETURNED_ERROR:
      return FetchError::HttpStatus;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
      return FetchError::Tls;
    default:
      return FetchError::Transfer;
  }
}

}  // namespace orvane
