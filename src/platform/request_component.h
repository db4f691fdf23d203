#pragma once
// RequestComponent: the request component HttpRequest drives, member for
// member (Open, SetRequestHeader, Send, Status, ResponseText, ...). The real
// one is CurlRequestComponent (libcurl); tests hand HttpRequest a fake.
//
// Contract for every implementation: nothing throws, and a call that fails
// yields the empty value of its result (empty text, 0, false, empty bytes, an
// empty value). Calls come from one thread.
//
// Ready states: 0 nothing opened, 1 opened, 2 request sent, 3 body arriving,
// 4 complete (also when the request failed).

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/dispatch_interface.h"

namespace orvane {

using Bytes = std::vector<std::uint8_t>;

// The values an option, a request body or a response stream can hold;
// monostate is the empty value.
using ComponentValue = std::variant<std::monostate, bool, std::int32_t, std::string, Bytes>;

// Option numbers the component understands.
enum RequestOption : std::int32_t {
  kOptionUserAgent = 0,        // text
  kOptionUrl = 1,              // text: the request URL (after redirects once answered)
  kOptionEnableRedirects = 6,  // bool
  kOptionMaxRedirects = 14,    // int32
};

// SetProxy settings.
enum ProxySetting : std::int32_t {
  kProxyDefault = 0,  // the component's own choice: a direct connection
  kProxyDirect = 1,
  kProxyNamed = 2,  // the named server, except for the bypass list
};

// SetCredentials flags.
enum CredentialsFor : std::int32_t { kCredentialsForServer = 0, kCredentialsForProxy = 1 };

class RequestComponent {
 public:
  virtual ~RequestComponent() = default;

  // Starts a request: forgets the previous response and request headers.
  virtual void Open(std::string_view method, std::string_view url, bool async) = 0;
  virtual void SetRequestHeader(std::string_view name, std::string_view value) = 0;
  // nullopt: a request without a body. Synchronous: returns when the exchange
  // has ended. Asynchronous: returns at once; WaitForResponse drives it.
  virtual void Send(const std::optional<ComponentValue>& body) = 0;
  virtual bool WaitForResponse(std::int32_t timeoutSeconds) = 0;
  virtual void Abort() = 0;

  virtual std::int32_t Status() = 0;
  virtual std::string StatusText() = 0;
  // The body as UTF-8 text, always valid UTF-8.
  virtual std::string ResponseText() = 0;
  virtual Bytes ResponseBody() = 0;
  // The body as one value (bytes here: there are no COM streams).
  virtual ComponentValue ResponseStream() = 0;
  virtual std::string GetResponseHeader(std::string_view name) = 0;
  // "Name: value\r\n" for each header of the final response.
  virtual std::string GetAllResponseHeaders() = 0;

  virtual ComponentValue GetOption(std::int32_t number) = 0;
  virtual bool SetOption(std::int32_t number, const ComponentValue& value) = 0;
  virtual void SetProxy(std::int32_t setting, std::string_view server,
                        std::string_view bypassList) = 0;
  virtual void SetCredentials(std::string_view user, std::string_view password,
                              std::int32_t flags) = 0;
  // Milliseconds each; 0 means "no limit of its own" (the component's cap still holds).
  virtual void SetTimeouts(std::int32_t resolveMs, std::int32_t connectMs, std::int32_t sendMs,
                           std::int32_t receiveMs) = 0;
  virtual void SetClientCertificate(std::string_view certificate) = 0;
  virtual void SetAutoLogonPolicy(std::int32_t policy) = 0;

  virtual std::int32_t ReadyState() = 0;
  // The property "onreadystatechange": the sink whose Invoke is called at each
  // change of the ready state. The component holds a reference (AddRef) until
  // it is replaced or the component goes; the shared pointer keeps the sink's
  // memory alive for as long. Null removes it. False when not supported.
  virtual bool SetOnReadyStateChange(std::shared_ptr<com::DispatchInterface> sink) = 0;
};

}  // namespace orvane
