#include "http/http_request.h"

#include <utility>

#include "http/extract_between.h"
#include "platform/curl_request_component.h"

namespace orvane {
namespace {

bool SameClassName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

HttpRequest::HttpRequest() {
  CreateComponent();
}

HttpRequest::HttpRequest(std::shared_ptr<RequestComponent> component)
    : request_(std::move(component)) {}

HttpRequest::HttpRequest(const HttpRequest& other)
    : readyStateSink_(other.readyStateSink_), cookies_(other.cookies_), request_(other.request_) {
  if (readyStateSink_) readyStateSink_->functions->AddRef(readyStateSink_.get());
}

HttpRequest::~HttpRequest() {
  request_.reset();
  if (readyStateSink_) readyStateSink_->functions->Release(readyStateSink_.get());
}

std::unique_ptr<HttpRequest> HttpRequest::Copy() const {
  return std::make_unique<HttpRequest>(*this);
}

bool HttpRequest::CreateComponent(std::string_view className) {
  // Class names are looked up as COM looked them up: without regard to case.
  if (!SameClassName(className, kDefaultComponentClass)) return false;
  request_ = std::make_shared<CurlRequestComponent>();
  return true;
}

void HttpRequest::ReleaseComponent() {
  request_.reset();
}

std::string HttpRequest::GetUrl() {
  const ComponentValue url = Option(kOptionUrl);
  const auto* text = std::get_if<std::string>(&url);
  return text ? *text : std::string();
}

std::shared_ptr<RequestComponent> HttpRequest::GetComponent() {
  return request_;
}

std::int32_t HttpRequest::Status() {
  return request_ ? request_->Status() : 0;
}

std::string HttpRequest::StatusText() {
  return request_ ? request_->StatusText() : std::string();
}

std::string HttpRequest::ResponseText() {
  return request_ ? request_->ResponseText() : std::string();
}

Bytes HttpRequest::ResponseBody() {
  return request_ ? request_->ResponseBody() : Bytes();
}

ComponentValue HttpRequest::ResponseStream() {
  return request_ ? request_->ResponseStream() : ComponentValue();
}

ComponentValue HttpRequest::Option(std::int32_t number, std::optional<std::int32_t> intValue,
                                   std::optional<std::string> text, std::optional<Bytes> bytes,
                                   std::optional<ComponentValue> value) {
  if (!request_) return {};
  if (intValue) {
    request_->SetOption(number, *intValue);
  } else if (text) {
    request_->SetOption(number, *text);
  } else if (bytes) {
    request_->SetOption(number, *bytes);
  } else if (value) {
    request_->SetOption(number, *value);
  }
  return request_->GetOption(number);
}

void HttpRequest::SetProxy(std::optional<std::int32_t> setting, std::string_view server,
                           std::string_view bypassList) {
  if (request_) request_->SetProxy(setting.value_or(kProxyNamed), server, bypassList);
}

void HttpRequest::SetCredentials(std::string_view user, std::string_view password,
                                 std::int32_t flags) {
  if (request_) request_->SetCredentials(user, password, flags);
}

void HttpRequest::Open(std::string_view method, std::string_view url, bool async) {
  if (request_) request_->Open(method.empty() ? std::string_view("GET") : method, url, async);
}

void HttpRequest::SetRequestHeader(std::string_view name, std::string_view value) {
  if (request_) request_->SetRequestHeader(name, value);
}

void HttpRequest::SetDefaultHeaders(std::string_view referer) {
  SetRequestHeader("Accept", "*/*");
  SetRequestHeader("Accept-Language", "zh_cn");
  SetRequestHeader("Referer", referer);
  SetRequestHeader("Content-Type", "application/x-www-form-urlencoded");
}

void HttpRequest::SetRange(std::string_view value) {
  SetRequestHeader("Range", value);
}

void HttpRequest::SetCookieHeader(std::string_view value) {
  SetRequestHeader("Cookie", value);
}

std::string HttpRequest::GetResponseHeader(std::string_view name) {
  return request_ ? request_->GetResponseHeader(name) : std::string();
}

std::string HttpRequest::GetAllResponseHeaders() {
  return request_ ? request_->GetAllResponseHeaders() : std::string();
}

void HttpRequest::Send() {
  if (request_) request_->Send(std::nullopt);
}

void HttpRequest::Send(const ComponentValue& body) {
  if (request_) request_->Send(body);
}

bool HttpRequest::WaitForResponse(std::int32_t timeoutSeconds) {
  return request_ ? request_->WaitForResponse(timeoutSeconds) : false;
}

void HttpRequest::Abort() {
  if (request_) request_->Abort();
}

void HttpRequest::SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                              std::int32_t receiveMs) {
  if (request_) request_->SetTimeouts(resolveMs, connectMs, sendMs, receiveMs);
}

void HttpRequest::SetClientCertificate(std::string_view certificate) {
  if (request_) request_->SetClientCertificate(certificate);
}

void HttpRequest::SetAutoLogonPolicy(std::int32_t policy) {
  if (request_) request_->SetAutoLogonPolicy(policy);
}

std::int32_t HttpRequest::ReadyState() {
  return request_ ? request_->ReadyState() : 0;
}

void HttpRequest::SetReadyStateHandler(ReadyStateHandler handler) {
  SetProcessReadyStateHandler(handler);
  std::shared_ptr<com::DispatchInterface> sink = SinkInterface(MakeReadyStateSink());
  sink->functions->AddRef(sink.get());  // the reference this object holds
  std::shared_ptr<com::DispatchInterface> old = std::exchange(readyStateSink_, sink);
  if (old) old->functions->Release(old.get());
  if (request_) request_->SetOnReadyStateChange(readyStateSink_);
}

std::string HttpRequest::ExtractBetween(std::string_view text, std::string_view startMarker,
                                        std::optional<std::string_view> endMarker,
                                        std::int32_t startPosition, bool ignoreCase,
                                        std::int32_t* endPosition, std::int32_t extraBefore,
                                        std::int32_t extraAfter) {
  return orvane::ExtractBetween(text, startMarker, endMarker, startPosition, ignoreCase,
                                endPosition, extraBefore, extraAfter);
}

}  // namespace orvane
