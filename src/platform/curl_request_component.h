#pragma once
// CurlRequestComponent: the request component over one libcurl easy handle,
// reused for every request so connections to the same host are kept alive.
// The transfer runs on a multi handle on the caller's thread: a synchronous
// Send drives it to its end, an asynchronous one returns at once and
// WaitForResponse drives it.
//
// Faults are bounded whatever the server does: no request lasts more than
// 15 s, a silent or dripping server is given up after the low-speed window, a
// body over 8 MiB fails, only http and https are fetched (redirects included),
// certificates are verified, and "\/" in the URL is undone first. A failed
// request leaves every response read empty (text, 0, bytes, headers); an HTTP
// error status (4xx, 5xx) is a failure too, but Status, StatusText and the
// headers still say what the server answered. LastError() says which failure.
//
// The ready-state sink's Invoke is called at each change of state (1 Open,
// 2 the answer begins, 3 the first body bytes, 4 complete). A handler called
// from the middle of a transfer may read the component, but Open, Send, Abort
// and the setters do nothing until the transfer has come back from libcurl.
// Owned by a shared_ptr, the component outlives a handler that drops its last
// reference in the middle of a call.

#include <curl/curl.h>

#include <memory>
#include <string>

#include "platform/curl_transfer.h"
#include "platform/request_component.h"

namespace orvane {

class CurlRequestComponent : public RequestComponent,
                             public std::enable_shared_from_this<CurlRequestComponent> {
 public:
  CurlRequestComponent();
  explicit CurlRequestComponent(const TransferLimits& limits);
  ~CurlRequestComponent() override;
  CurlRequestComponent(const CurlRequestComponent&) = delete;
  CurlRequestComponent& operator=(const CurlRequestComponent&) = delete;

  void Open(std::string_view method, std::string_view url, bool async) override;
  void SetRequestHeader(std::string_view name, std::string_view value) override;
  void Send(const std::optional<ComponentValue>& body) override;
  bool WaitForResponse(std::int32_t timeoutSeconds) override;
  void Abort() override;

  std::int32_t Status() override;
  std::string StatusText() override;
  std::string ResponseText() override;
  Bytes ResponseBody() override;
  ComponentValue ResponseStream() override;
  std::string GetResponseHeader(std::string_view name) override;
  std::string GetAllResponseHeaders() override;

  ComponentValue GetOption(std::int32_t number) override;
  bool SetOption(std::int32_t number, const ComponentValue& value) override;
  void SetProxy(std::int32_t setting, std::string_view server,
                std::string_view bypassList) override;
  void SetCredentials(std::string_view user, std::string_view password,
                      std::int32_t flags) override;
  void SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                   std::int32_t receiveMs) override;
  void SetClientCertificate(std::string_view certificate) override;
  void SetAutoLogonPolicy(std::int32_t policy) override;

  std::int32_t ReadyState() override;
  bool SetOnReadyStateChange(std::shared_ptr<com::DispatchInterface> sink) override;

  // Why the last request failed (None while it is running or when it worked).
  FetchError LastError() const { return error_; }
  // libcurl's own words on the last failure, for diagnostics.
  const std::string& LastErrorDetail() const { return detail_; }

 private:
  struct Impl;
  static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self);
  static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self);
  static curl_socket_t OnOpenSocket(void* impl, curlsocktype purpose, curl_sockaddr* address);
  static int OnCloseSocket(void* impl, curl_socket_t socket);

  bool Idle() const;  // not inside a libcurl callback
  bool Succeeded() const;
  void ForgetResponse();
  void StartAfresh();
  void StartTransfer(const std::optional<ComponentValue>& body);
  // Runs the transfer until it ends or `waitMs` (negative: no limit of its
  // own) has passed; true when it has ended.
  bool Drive(long waitMs);
  void Finish(CURLcode code);
  void Fail(FetchError error);
  void ChangeReadyState(std::int32_t state);

  std::unique_ptr<Impl> impl_;
  FetchError error_ = FetchError::None;
  std::string detail_;
};

}  // namespace orvane
