#pragma once
// CurlHttpGetter: the toolkit's blocking GET of bytes (cover pictures, album
// pages) over one reused libcurl easy handle. Same bounds as every request of
// the program: http and https only (redirects included), certificates
// verified, "\/" undone, at most `totalTimeoutMs`, a body cap, and an HTTP
// error status counted as a failure. Calls are serialised.

#include <curl/curl.h>

#include <mutex>
#include <string>
#include <string_view>

#include "platform/curl_transfer.h"
#include "platform/http_get.h"

namespace orvane {

class CurlHttpGetter : public HttpGetter {
 public:
  CurlHttpGetter();
  explicit CurlHttpGetter(const FetchLimits& limits);
  ~CurlHttpGetter() override;
  CurlHttpGetter(const CurlHttpGetter&) = delete;
  CurlHttpGetter& operator=(const CurlHttpGetter&) = delete;

  std::string Get(std::string_view url) override;
  // The whole story of one GET: body, which failure, the HTTP status.
  FetchResult Fetch(std::string_view url);

  const FetchLimits& limits() const { return limits_; }

 private:
  FetchLimits limits_;
  std::mutex mutex_;
  CURL* easy_ = nullptr;
};

}  // namespace orvane
