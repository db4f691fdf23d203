#pragma once
// HttpRequest: the program's HTTP client, a thin object over the request
// component (RequestComponent; CurlRequestComponent by default). The program
// uses Open("GET", url), Send() and ResponseText(); the rest of the
// component's surface, the cookie store and the ready-state sink are here for
// completeness. A copy shares the component and the sink.
//
// Nothing throws or reports: without a component (none created, or released)
// every forwarding operation does nothing and yields an empty value.
//
// There is no COM on this platform: creating the component initialises
// nothing first and destruction uninitialises nothing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "http/ready_state_sink.h"
#include "platform/request_component.h"

namespace orvane {

inline constexpr char kDefaultComponentClass[] = "WinHttp.WinHttpRequest.5.1";

class HttpRequest {
 public:
  // Creates the default component (CreateComponent without a class name).
  HttpRequest();
  // Drives `component` instead (tests hand in a fake); null leaves it empty.
  explicit HttpRequest(std::shared_ptr<RequestComponent> component);
  HttpRequest(const HttpRequest& other);
  HttpRequest& operator=(const HttpRequest&) = delete;

  // The operations, in the order of the class's table.
  virtual ~HttpRequest();
  virtual std::unique_ptr<HttpRequest> Copy() const;
  // True when the class is known and its component was created.
  virtual bool CreateComponent(std::string_view className = kDefaultComponentClass);
  virtual void ReleaseComponent();
  virtual std::string GetUrl();
  virtual std::shared_ptr<RequestComponent> GetComponent();
  virtual std::int32_t Status();
  virtual std::string StatusText();
  virtual std::string ResponseText();
  virtual Bytes ResponseBody();
  virtual ComponentValue ResponseStream();
  // Writes the first value given, in this order (int32, text, bytes, value),
  // then reads the option back.
  virtual ComponentValue Option(std::int32_t number,
                                std::optional<std::int32_t> intValue = std::nullopt,
                                std::optional<std::string> text = std::nullopt,
                                std::optional<Bytes> bytes = std::nullopt,
                                std::optional<ComponentValue> value = std::nullopt);
  // nullopt setting: kProxyNamed (2).
  virtual void SetProxy(std::optional<std::int32_t> setting, std::string_view server = {},
                        std::string_view bypassList = {});
  virtual void SetCredentials(std::string_view user, std::string_view password,
                              std::int32_t flags = 0);
  virtual void Open(std::string_view method, std::string_view url, bool async = false);
  virtual void SetRequestHeader(std::string_view name, std::string_view value);
  // Accept, Accept-Language, Referer and Content-Type, in that order.
  virtual void SetDefaultHeaders(std::string_view referer);
  virtual void SetRange(std::string_view value);
  virtual void SetCookieHeader(std::string_view value);
  virtual std::string GetResponseHeader(std::string_view name);
  virtual std::string GetAllResponseHeaders();
  // Without a body: the component's Send gets no argument at all.
  virtual void Send();
  virtual void Send(const ComponentValue& body);
  virtual bool WaitForResponse(std::int32_t timeoutSeconds = 100);
  virtual void Abort();
  virtual void SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                           std::int32_t receiveMs);
  virtual void SetClientCertificate(std::string_view certificate);
  virtual void SetAutoLogonPolicy(std::int32_t policy);

  // The cookie store.
  // The value of cookie `name` in the response's Set-Cookie headers, written
  // with one blank after the colon or none; it ends at ';' or at the end of
  // its header line.
  virtual std::string GetCookie(std::string_view name);
  // The response's "Set-Cookie:" lines, each followed by "\r\n".
  virtual std::string GetSetCookieLines();
  // Merges the response's "Set-Cookie: " headers into the store (replace,
  // append, remove on "deleted; expires=") and returns the store.
  virtual std::string MergeSetCookies();
  virtual void SendStoredCookies();

  virtual std::int32_t ReadyState();
  // Installs `handler` process-wide and gives the component a sink whose
  // Invoke calls it at each change of the ready state.
  virtual void SetReadyStateHandler(ReadyStateHandler handler);
  virtual std::string ExtractBetween(std::string_view text, std::string_view startMarker,
                                     std::optional<std::string_view> endMarker = std::nullopt,
                                     std::int32_t startPosition = 0, bool ignoreCase = false,
                                     std::int32_t* endPosition = nullptr,
                                     std::int32_t extraBefore = 0, std::int32_t extraAfter = 0);

  // Open(url) alone: a synchronous GET.
  void Open(std::string_view url) { Open("GET", url, false); }

  // The stored cookies: name=value; for each cookie.
  const std::string& cookies() const { return cookies_; }
  // The interface pointer handed to the component; null before a handler.
  com::DispatchInterface* SinkPointer() const { return readyStateSink_.get(); }

 private:
  // The sink's table and object, shared with copies and the component.
  std::shared_ptr<com::DispatchInterface> readyStateSink_;
  std::string cookies_;
  std::shared_ptr<RequestComponent> request_;
};

}  // namespace orvane
