#include "platform/curl_request_component.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <utility>
#include <vector>

#include "platform/response_charset.h"
#include "platform/text.h"

namespace orvane {
namespace {

constexpr char kUserAgent[] = "Mozilla/5.0 (X11; Linux x86_64) Orvane/1.3";
constexpr std::size_t kMaxHeaderBytes = 256u << 10;

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameNameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

bool IsToken(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s) {
    const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
    if (!ok) return false;
  }
  return true;
}

// A header value must not smuggle in a line of its own.
bool IsSafeValue(std::string_view s) {
  return s.find('\r') == std::string_view::npos && s.find('\n') == std::string_view::npos &&
         s.find('\0') == std::string_view::npos;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() &&
         (s.back() == ' ' || s.back() == '\t' || s.back() == '\r' || s.back() == '\n'))
    s.remove_suffix(1);
  return s;
}

// HTTP/2 has no reason phrase; the component still answers one.
std::string StandardReason(long status) {
  switch (status) {
    case 200:
      return "OK";
    case 201:
      return "Created";
    case 204:
      return "No Content";
    case 206:
      return "Partial Content";
    case 301:
      return "Moved Permanently";
    case 302:
      return "Found";
    case 304:
      return "Not Modified";
    case 400:
      return "Bad Request";
    case 401:
      return "Unauthorized";
    case 403:
      return "Forbidden";
    case 404:
      return "Not Found";
    case 500:
      return "Internal Server Error";
    case 502:
      return "Bad Gateway";
    case 503:
      return "Service Unavailable";
    default:
      return {};
  }
}

std::string BodyBytes(const ComponentValue& value) {
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  if (const auto* b = std::get_if<Bytes>(&value)) return std::string(b->begin(), b->end());
  if (const auto* i = std::get_if<std::int32_t>(&value)) return std::to_string(*i);
  if (const auto* f = std::get_if<bool>(&value)) return *f ? "true" : "false";
  return {};
}

// A server that writes its header and its body apart, with Nagle's algorithm
// on, holds the body back until the header is acknowledged, and on a
// kept-alive connection the kernel delays that acknowledgement by up to 40 ms.
// Asking for it at once at the end of the header keeps reused connections as
// fast as they should be. libcurl 7.88 does not name the socket of a running
// transfer, so every socket this component holds open is asked.
void AckNow(const std::vector<curl_socket_t>& sockets) {
  const int on = 1;
  for (curl_socket_t socket : sockets)
    setsockopt(socket, IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

}  // namespace

struct CurlRequestComponent::Impl {
  CURL* easy = nullptr;
  CURLM* multi = nullptr;
  TransferLimits limits;

  // The request being prepared.
  std::string method = "GET";
  std::string url;
  bool async = false;
  bool opened = false;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string userAgent = kUserAgent;
  std::int32_t proxySetting = kProxyDefault;
  std::string proxyServer;
  std::string proxyBypass;
  std::string user, password, proxyUser, proxyPassword;
  std::string clientCertificate;
  std::int32_t autoLogonPolicy = 0;

  // The transfer.
  bool running = false;
  int callbackDepth = 0;
  bool tooLarge = false;
  bool answerStarted = false;
  bool bodyStarted = false;
  curl_slist* headerList = nullptr;
  char errorBuffer[CURL_ERROR_SIZE] = {};

  // The response.
  bool answered = false;
  std::int32_t status = 0;
  std::string statusText;
  std::string headersText;
  std::string body;
  std::string contentType;
  std::string effectiveUrl;
  std::optional<std::string> text;
  std::int32_t readyState = 0;

  std::shared_ptr<com::DispatchInterface> sink;
  std::vector<curl_socket_t> sockets;  // open connections, for AckNow

  void FreeHeaderList() {
    curl_slist_free_all(headerList);
    headerList = nullptr;
  }
};

CurlRequestComponent::CurlRequestComponent() : CurlRequestComponent(TransferLimits{}) {}

CurlRequestComponent::CurlRequestComponent(const TransferLimits& limits)
    : impl_(std::make_unique<Impl>()) {
  EnsureCurlGlobalInit();
  impl_->limits = limits;
  impl_->easy = curl_easy_init();
  impl_->multi = curl_multi_init();
}

CurlRequestComponent::~CurlRequestComponent() {
  if (impl_->running) curl_multi_remove_handle(impl_->multi, impl_->easy);
  if (impl_->easy) curl_easy_cleanup(impl_->easy);
  if (impl_->multi) curl_multi_cleanup(impl_->multi);
  impl_->FreeHeaderList();
  if (impl_->sink) impl_->sink->functions->Release(impl_->sink.get());
}

curl_socket_t CurlRequestComponent::OnOpenSocket(void* self, curlsocktype, curl_sockaddr* address) {
  const curl_socket_t socket =
      ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
  if (socket != CURL_SOCKET_BAD) static_cast<Impl*>(self)->sockets.push_back(socket);
  return socket;
}

int CurlRequestComponent::OnCloseSocket(void* self, curl_socket_t socket) {
  auto& sockets = static_cast<Impl*>(self)->sockets;
  sockets.erase(std::remove(sockets.begin(), sockets.end(), socket), sockets.end());
  return ::close(socket);
}

bool CurlRequestComponent::Idle() const {
  return impl_->callbackDepth == 0;
}

bool CurlRequestComponent::Succeeded() const {
  return impl_->answered && error_ == FetchError::None && !impl_->running;
}

void CurlRequestComponent::ForgetResponse() {
  Impl& m = *impl_;
  m.answered = false;
  m.status = 0;
  m.statusText.clear();
  m.headersText.clear();
  m.body.clear();
  m.body.shrink_to_fit();
  m.contentType.clear();
  m.effectiveUrl.clear();
  m.text.reset();
  m.tooLarge = false;
  m.answerStarted = false;
  m.bodyStarted = false;
  m.errorBuffer[0] = '\0';
}

// Ends a transfer still running and forgets the last response and its error.
void CurlRequestComponent::StartAfresh() {
  Impl& m = *impl_;
  if (m.running) {
    curl_multi_remove_handle(m.multi, m.easy);
    m.running = false;
    m.FreeHeaderList();
  }
  ForgetResponse();
  error_ = FetchError::None;
  detail_.clear();
}

void CurlRequestComponent::Open(std::string_view method, std::string_view url, bool async) {
  if (!Idle()) return;
  const auto keepAlive = weak_from_this().lock();  // the sink may drop the last reference
  Impl& m = *impl_;
  StartAfresh();
  m.method = method.empty() ? "GET" : std::string(method);
  m.url = UndoJsonSlashes(url);
  m.async = async;
  m.headers.clear();
  m.opened = true;
  ChangeReadyState(1);
}

void CurlRequestComponent::SetRequestHeader(std::string_view name, std::string_view value) {
  Impl& m = *impl_;
  if (!Idle() || !m.opened || m.running) return;
  if (!IsToken(name) || !IsSafeValue(value)) return;
  for (auto& [n, v] : m.headers) {
    if (SameNameNoCase(n, name)) {
      v = std::string(value);
      return;
    }
  }
  m.headers.emplace_back(std::string(name), std::string(value));
}

void CurlRequestComponent::Send(const std::optional<ComponentValue>& body) {
  Impl& m = *impl_;
  if (!Idle() || !m.opened) return;
  const auto keepAlive = weak_from_this().lock();  // the sink may drop the last reference
  StartAfresh();
  if (m.easy == nullptr || m.multi == nullptr) return Fail(FetchError::Transfer);
  if (const FetchError e = CheckUrl(m.url); e != FetchError::None) {
    detail_ = "only http and https URLs are fetched";
    return Fail(e);
  }
  if (!IsToken(m.method)) {
    detail_ = "not a request method";
    return Fail(FetchError::BadUrl);
  }
  StartTransfer(body);
  Drive(m.async ? 0 : -1);
}

void CurlRequestComponent::StartTransfer(const std::optional<ComponentValue>& body) {
  Impl& m = *impl_;
  CURL* e = m.easy;
  curl_easy_reset(e);  // keeps the live connections
  ApplyTransferLimits(e, m.limits);
  curl_easy_setopt(e, CURLOPT_URL, m.url.c_str());
  curl_easy_setopt(e, CURLOPT_ERRORBUFFER, m.errorBuffer);
  curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, &CurlRequestComponent::OnBody);
  curl_easy_setopt(e, CURLOPT_WRITEDATA, this);
  curl_easy_setopt(e, CURLOPT_HEADERFUNCTION, &CurlRequestComponent::OnHeader);
  curl_easy_setopt(e, CURLOPT_HEADERDATA, this);
  curl_easy_setopt(e, CURLOPT_USERAGENT, m.userAgent.c_str());
  curl_easy_setopt(e, CURLOPT_OPENSOCKETFUNCTION, &CurlRequestComponent::OnOpenSocket);
  curl_easy_setopt(e, CURLOPT_OPENSOCKETDATA, impl_.get());
  curl_easy_setopt(e, CURLOPT_CLOSESOCKETFUNCTION, &CurlRequestComponent::OnCloseSocket);
  curl_easy_setopt(e, CURLOPT_CLOSESOCKETDATA, impl_.get());

  const bool hasBody = body.has_value() && !std::holds_alternative<std::monostate>(*body);
  if (m.method == "GET" && !hasBody) {
    curl_easy_setopt(e, CURLOPT_HTTPGET, 1L);
  } else if (m.method == "HEAD") {
    curl_easy_setopt(e, CURLOPT_NOBODY, 1L);
  } else {
    if (m.method != "POST") curl_easy_setopt(e, CURLOPT_CUSTOMREQUEST, m.method.c_str());
    if (hasBody || m.method == "POST") {
      const std::string bytes = hasBody ? BodyBytes(*body) : std::string();
      curl_easy_setopt(e, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(bytes.size()));
      curl_easy_setopt(e, CURLOPT_COPYPOSTFIELDS, bytes.c_str());
    }
  }

  m.FreeHeaderList();
  for (const auto& [name, value] : m.headers) {
    // "Name:" would take libcurl's own header away; "Name;" sends it empty.
    const std::string line = value.empty() ? name + ";" : name + ": " + value;
    m.headerList = curl_slist_append(m.headerList, line.c_str());
  }
  if (m.headerList) curl_easy_setopt(e, CURLOPT_HTTPHEADER, m.headerList);

  if (m.proxySetting == kProxyNamed && !m.proxyServer.empty()) {
    curl_easy_setopt(e, CURLOPT_PROXY, m.proxyServer.c_str());
    std::string bypass = ReplaceAll(m.proxyBypass, ";", ",");
    if (!bypass.empty()) curl_easy_setopt(e, CURLOPT_NOPROXY, bypass.c_str());
    if (!m.proxyUser.empty()) {
      curl_easy_setopt(e, CURLOPT_PROXYUSERNAME, m.proxyUser.c_str());
      curl_easy_setopt(e, CURLOPT_PROXYPASSWORD, m.proxyPassword.c_str());
    }
  }
  if (!m.user.empty()) {
    curl_easy_setopt(e, CURLOPT_USERNAME, m.user.c_str());
    curl_easy_setopt(e, CURLOPT_PASSWORD, m.password.c_str());
    curl_easy_setopt(e, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC | CURLAUTH_DIGEST));
  }
  if (!m.clientCertificate.empty())
    curl_easy_setopt(e, CURLOPT_SSLCERT, m.clientCertificate.c_str());

  if (curl_multi_add_handle(m.multi, e) != CURLM_OK) return Fail(FetchError::Transfer);
  m.running = true;
}

bool CurlRequestComponent::Drive(long waitMs) {
  using Clock = std::chrono::steady_clock;
  const auto keepAlive = weak_from_this().lock();  // the sink may drop the last reference
  Impl& m = *impl_;
  const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0L, waitMs));
  while (m.running) {
    int stillRunning = 0;
    ++m.callbackDepth;
    curl_multi_perform(m.multi, &stillRunning);
    --m.callbackDepth;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(m.multi, &queued)) {
      if (msg->msg == CURLMSG_DONE && msg->easy_handle == m.easy) {
        Finish(msg->data.result);
        return true;  // Finish has told the sink; whatever it started runs on its own
      }
    }
    long sliceMs = 100;
    if (waitMs >= 0) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left <= 0) return false;
      sliceMs = std::min<long>(sliceMs, static_cast<long>(left));
    }
    curl_multi_poll(m.multi, nullptr, 0, static_cast<int>(sliceMs), nullptr);
  }
  return true;
}

void CurlRequestComponent::Finish(CURLcode code) {
  Impl& m = *impl_;
  long status = 0;
  curl_easy_getinfo(m.easy, CURLINFO_RESPONSE_CODE, &status);
  char* contentType = nullptr;
  curl_easy_getinfo(m.easy, CURLINFO_CONTENT_TYPE, &contentType);
  char* effective = nullptr;
  curl_easy_getinfo(m.easy, CURLINFO_EFFECTIVE_URL, &effective);
  curl_multi_remove_handle(m.multi, m.easy);
  m.running = false;
  m.FreeHeaderList();

  m.status = static_cast<std::int32_t>(status);
  if (m.statusText.empty()) m.statusText = StandardReason(status);
  m.contentType = contentType ? contentType : "";
  m.effectiveUrl = effective ? effective : "";

  FetchError error = ClassifyCurlResult(code, m.tooLarge);
  if (error == FetchError::None && status >= 400) error = FetchError::HttpStatus;
  if (error != FetchError::None) {
    detail_ = m.errorBuffer[0] ? m.errorBuffer : curl_easy_strerror(code);
    if (error == FetchError::TooLarge) detail_ = "body beyond the size cap";
    if (error == FetchError::HttpStatus) detail_ = "HTTP status " + std::to_string(status);
    return Fail(error);
  }
  m.answered = true;
  ChangeReadyState(4);
}

void CurlRequestComponent::Fail(FetchError error) {
  Impl& m = *impl_;
  error_ = error;
  m.answered = false;
  if (error != FetchError::HttpStatus) {
    m.status = 0;
    m.statusText.clear();
    m.headersText.clear();
  }
  m.body.clear();
  m.body.shrink_to_fit();
  m.text.reset();
  ChangeReadyState(4);
}

void CurlRequestComponent::ChangeReadyState(std::int32_t state) {
  impl_->readyState = state;
  // A copy: the handler may replace the sink while it runs.
  const std::shared_ptr<com::DispatchInterface> sink = impl_->sink;
  if (!sink || !sink->functions || !sink->functions->Invoke) return;
  sink->functions->Invoke(sink.get(), 0, com::kIidNull, 0, com::kDispatchMethod, nullptr, nullptr,
                          nullptr, nullptr);
}

std::size_t CurlRequestComponent::OnBody(char* data, std::size_t size, std::size_t count,
                                         void* self) {
  auto* c = static_cast<CurlRequestComponent*>(self);
  Impl& m = *c->impl_;
  const std::size_t n = size * count;
  // Refuse at the cap instead of holding a body nobody can use.
  if (m.body.size() + n > m.limits.maxBytes) {
    m.tooLarge = true;
    return 0;
  }
  m.body.append(data, n);
  if (!m.bodyStarted) {
    m.bodyStarted = true;
    c->ChangeReadyState(3);
  }
  return n;
}

std::size_t CurlRequestComponent::OnHeader(char* data, std::size_t size, std::size_t count,
                                           void* self) {
  auto* c = static_cast<CurlRequestComponent*>(self);
  Impl& m = *c->impl_;
  const std::size_t n = size * count;
  const std::string_view line = Trim(std::string_view(data, n));
  if (line.substr(0, 5) == "HTTP/") {
    // A new status line: an interim answer or a redirect came before.
    m.headersText.clear();
    m.statusText.clear();
    const std::size_t codeAt = line.find(' ');
    if (codeAt != std::string_view::npos) {
      const std::size_t reasonAt = line.find(' ', codeAt + 1);
      if (reasonAt != std::string_view::npos)
        m.statusText = std::string(Trim(line.substr(reasonAt)));
    }
    if (!m.answerStarted) {
      m.answerStarted = true;
      c->ChangeReadyState(2);
    }
    return n;
  }
  if (line.empty()) {
    AckNow(m.sockets);
    return n;
  }
  if (m.headersText.size() + line.size() > kMaxHeaderBytes) return 0;
  m.headersText.append(line);
  m.headersText.append("\r\n");
  return n;
}

bool CurlRequestComponent::WaitForResponse(std::int32_t timeoutSeconds) {
  if (!Idle()) return false;
  const auto keepAlive = weak_from_this().lock();  // the sink may drop the last reference
  if (impl_->running && !Drive(timeoutSeconds < 0 ? -1 : timeoutSeconds * 1000L)) return false;
  return Succeeded();
}

void CurlRequestComponent::Abort() {
  Impl& m = *impl_;
  if (!Idle() || !m.running) return;
  curl_multi_remove_handle(m.multi, m.easy);
  m.running = false;
  m.FreeHeaderList();
  ForgetResponse();
  m.opened = false;
  m.readyState = 0;
  error_ = FetchError::Aborted;
  detail_ = "aborted";
}

std::int32_t CurlRequestComponent::Status() {
  return impl_->status;
}

std::string CurlRequestComponent::StatusText() {
  return impl_->statusText;
}

std::string CurlRequestComponent::ResponseText() {
  if (!Succeeded()) return {};
  if (!impl_->text) impl_->text = DecodeBody(impl_->body, impl_->contentType);
  return *impl_->text;
}

Bytes CurlRequestComponent::ResponseBody() {
  if (!Succeeded()) return {};
  return Bytes(impl_->body.begin(), impl_->body.end());
}

ComponentValue CurlRequestComponent::ResponseStream() {
  if (!Succeeded()) return {};
  return ResponseBody();
}

std::string CurlRequestComponent::GetResponseHeader(std::string_view name) {
  std::string_view all = impl_->headersText;
  while (!all.empty()) {
    const std::size_t end = all.find("\r\n");
    const std::string_view line = all.substr(0, end);
    const std::size_t colon = line.find(':');
    if (colon != std::string_view::npos && SameNameNoCase(Trim(line.substr(0, colon)), name))
      return std::string(Trim(line.substr(colon + 1)));
    if (end == std::string_view::npos) break;
    all.remove_prefix(end + 2);
  }
  return {};
}

std::string CurlRequestComponent::GetAllResponseHeaders() {
  return impl_->headersText;
}

ComponentValue CurlRequestComponent::GetOption(std::int32_t number) {
  const Impl& m = *impl_;
  switch (number) {
    case kOptionUserAgent:
      return m.userAgent;
    case kOptionUrl:
      return !m.effectiveUrl.empty() ? m.effectiveUrl : m.url;
    case kOptionEnableRedirects:
      return m.limits.followRedirects;
    case kOptionMaxRedirects:
      return static_cast<std::int32_t>(m.limits.maxRedirects);
    default:
      return {};
  }
}

bool CurlRequestComponent::SetOption(std::int32_t number, const ComponentValue& value) {
  Impl& m = *impl_;
  if (!Idle() || m.running) return false;
  const auto* text = std::get_if<std::string>(&value);
  const auto* number32 = std::get_if<std::int32_t>(&value);
  const auto* flag = std::get_if<bool>(&value);
  switch (number) {
    case kOptionUserAgent:
      if (!text || !IsSafeValue(*text)) return false;
      m.userAgent = *text;
      return true;
    case kOptionUrl:
      if (!text) return false;
      m.url = UndoJsonSlashes(*text);
      m.effectiveUrl.clear();
      return true;
    case kOptionEnableRedirects:
      if (!flag && !number32) return false;
      m.limits.followRedirects = flag ? *flag : *number32 != 0;
      return true;
    case kOptionMaxRedirects:
      if (!number32) return false;
      m.limits.maxRedirects = std::clamp<long>(*number32, 0, 50);
      return true;
    default:
      return false;  // certificate-error flags among them: certificates are always checked
  }
}

void CurlRequestComponent::SetProxy(std::int32_t setting, std::string_view server,
                                    std::string_view bypassList) {
  if (!Idle()) return;
  impl_->proxySetting = setting;
  impl_->proxyServer = IsSafeValue(server) ? std::string(server) : std::string();
  impl_->proxyBypass = IsSafeValue(bypassList) ? std::string(bypassList) : std::string();
}

void CurlRequestComponent::SetCredentials(std::string_view user, std::string_view password,
                                          std::int32_t flags) {
  if (!Idle()) return;
  Impl& m = *impl_;
  if (flags == kCredentialsForProxy) {
    m.proxyUser = std::string(user);
    m.proxyPassword = std::string(password);
  } else {
    m.user = std::string(user);
    m.password = std::string(password);
  }
}

void CurlRequestComponent::SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs,
                                       std::int32_t sendMs, std::int32_t receiveMs) {
  if (!Idle()) return;
  (void)resolveMs;  // name resolution counts against the connect time-out
  (void)sendMs;     // sending counts against the total
  TransferLimits& l = impl_->limits;
  // 0 asks for no limit: the 15-second cap is the limit then.
  l.connectTimeoutMs = connectMs > 0 ? std::min<long>(connectMs, kMaxRequestMs) : kMaxRequestMs;
  l.lowSpeedSeconds = receiveMs > 0
                          ? std::clamp<long>((receiveMs + 999) / 1000, 1, kMaxRequestMs / 1000)
                          : kMaxRequestMs / 1000;
}

void CurlRequestComponent::SetClientCertificate(std::string_view certificate) {
  if (!Idle()) return;
  impl_->clientCertificate = std::string(certificate);
}

void CurlRequestComponent::SetAutoLogonPolicy(std::int32_t policy) {
  // There is no integrated logon here; the policy is kept for symmetry only.
  impl_->autoLogonPolicy = policy;
}

std::int32_t CurlRequestComponent::ReadyState() {
  return impl_->readyState;
}

bool CurlRequestComponent::SetOnReadyStateChange(std::shared_ptr<com::DispatchInterface> sink) {
  Impl& m = *impl_;
  if (sink && (!sink->functions || !sink->functions->AddRef || !sink->functions->Release))
    return false;
  if (sink) sink->functions->AddRef(sink.get());
  std::shared_ptr<com::DispatchInterface> old = std::exchange(m.sink, std::move(sink));
  if (old) old->functions->Release(old.get());
  return true;
}

}  // namespace orvane
