#include "platform/curl_http_getter.h"

#include "platform/text.h"

namespace orvane {
namespace {

struct Sink {
  std::string* body;
  std::size_t cap;
  bool tooLarge = false;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto* sink = static_cast<Sink*>(user);
  const std::size_t n = size * count;
  if (sink->body->size() + n > sink->cap) {
    sink->tooLarge = true;
    return 0;  // refuse at the cap, hold nothing more
  }
  sink->body->append(data, n);
  return n;
}

}  // namespace

CurlHttpGetter::CurlHttpGetter() : CurlHttpGetter(FetchLimits{}) {}

CurlHttpGetter::CurlHttpGetter(const FetchLimits& limits) : limits_(limits) {
  EnsureCurlGlobalInit();
  easy_ = curl_easy_init();
}

CurlHttpGetter::~CurlHttpGetter() {
  if (easy_) curl_easy_cleanup(easy_);
}

std::string CurlHttpGetter::Get(std::string_view url) {
  FetchResult result = Fetch(url);
  return result.ok() ? std::move(result.body) : std::string();
}

FetchResult CurlHttpGetter::Fetch(std::string_view rawUrl) {
  FetchResult result;
  const std::string url = UndoJsonSlashes(rawUrl);
  if (const FetchError e = CheckUrl(url); e != FetchError::None) {
    result.error = e;
    return result;
  }
  std::lock_guard lock(mutex_);
  if (easy_ == nullptr) {
    result.error = FetchError::Transfer;
    return result;
  }
  TransferLimits limits;
  limits.maxBytes = limits_.maxBytes;
  limits.totalTimeoutMs = limits_.totalTimeoutMs;
  limits.connectTimeoutMs = limits_.connectTimeoutMs;

  Sink sink{&result.body, limits_.maxBytes};
  curl_easy_reset(easy_);  // keeps the live connections
  ApplyTransferLimits(easy_, limits);
  curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
  curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
  curl_easy_setopt(easy_, CURLOPT_USERAGENT, "Mozilla/5.0 (X11; Linux x86_64) Orvane/1.3");
  curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &OnBody);
  curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &sink);
  const CURLcode code = curl_easy_perform(easy_);
  curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &result.status);

  result.error = ClassifyCurlResult(code, sink.tooLarge);
  if (result.error == FetchError::None && result.status >= 400)
    result.error = FetchError::HttpStatus;
  if (!result.ok()) {
    result.body.clear();
    result.body.shrink_to_fit();
  }
  return result;
}

}  // namespace orvane
