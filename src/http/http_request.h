#pragma once
// HttpRequest: the program's HTTP client, a thin object over the request
// component (RequestComponent, libcurl). The program uses Open("GET", url),
// Send() and ResponseText(); the rest of the component's surface and the
// cookie store are here for completeness. A copy shares the component.
//
// NOTE for the implementer: this header fixes the operations the service
// client calls; complete the class with every operation of its table in the
// table's order, keeping these signatures.

#include <string>
#include <string_view>

namespace orvane {

class HttpRequest {
 public:
  // Creates the default component (CreateComponent without a class name).
  HttpRequest();
  virtual ~HttpRequest();

  virtual bool CreateComponent(std::string_view className = "WinHttp.WinHttpRequest.5.1");
  virtual std::string ResponseText();
  virtual void Open(std::string_view method, std::string_view url, bool async = false);
  virtual void Send();
};

}  // namespace orvane
