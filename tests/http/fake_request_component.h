#pragma once
// A request component that records every call and answers from its fields.

#include <string>
#include <vector>

#include "platform/request_component.h"

namespace orvane::testing {

class FakeRequestComponent : public RequestComponent {
 public:
  struct OpenCall {
    std::string method, url;
    bool async;
  };
  std::vector<OpenCall> opens;
  std::vector<std::optional<ComponentValue>> sends;
  std::vector<std::pair<std::string, std::string>> requestHeaders;
  std::vector<std::pair<std::int32_t, ComponentValue>> optionWrites;
  std::vector<std::int32_t> waits;
  std::vector<std::tuple<std::int32_t, std::string, std::string>> proxies;
  std::vector<std::tuple<std::string, std::string, std::int32_t>> credentials;
  std::shared_ptr<com::DispatchInterface> sink;

  std::string headers;  // what GetAllResponseHeaders answers
  std::string text;
  std::int32_t status = 0;

  void Open(std::string_view method, std::string_view url, bool async) override {
    opens.push_back({std::string(method), std::string(url), async});
  }
  void SetRequestHeader(std::string_view name, std::string_view value) override {
    requestHeaders.emplace_back(name, value);
  }
  void Send(const std::optional<ComponentValue>& body) override { sends.push_back(body); }
  bool WaitForResponse(std::int32_t timeoutSeconds) override {
    waits.push_back(timeoutSeconds);
    return true;
  }
  void Abort() override {}
  std::int32_t Status() override { return status; }
  std::string StatusText() override { return "OK"; }
  std::string ResponseText() override { return text; }
  Bytes ResponseBody() override { return Bytes(text.begin(), text.end()); }
  ComponentValue ResponseStream() override { return ResponseBody(); }
  std::string GetResponseHeader(std::string_view) override { return {}; }
  std::string GetAllResponseHeaders() override { return headers; }
  ComponentValue GetOption(std::int32_t number) override {
    for (auto it = optionWrites.rbegin(); it != optionWrites.rend(); ++it)
      if (it->first == number) return it->second;
    return {};
  }
  bool SetOption(std::int32_t number, const ComponentValue& value) override {
    optionWrites.emplace_back(number, value);
    return true;
  }
  void SetProxy(std::int32_t setting, std::string_view server, std::string_view bypass) override {
    proxies.emplace_back(setting, server, bypass);
  }
  void SetCredentials(std::string_view user, std::string_view password,
                      std::int32_t flags) override {
    credentials.emplace_back(user, password, flags);
  }
  void SetTimeouts(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {}
  void SetClientCertificate(std::string_view) override {}
  void SetAutoLogonPolicy(std::int32_t) override {}
  std::int32_t ReadyState() override { return 4; }
  bool SetOnReadyStateChange(std::shared_ptr<com::DispatchInterface> s) override {
    sink = std::move(s);
    return true;
  }
};

}  // namespace orvane::testing
