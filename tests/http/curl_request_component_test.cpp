// CurlRequestComponent against a raw local server: what goes out, how the
// body is decoded, and how each kind of failure ends.

#include "platform/curl_request_component.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "http/http_request.h"
#include "http/raw_server.h"
#include "platform/curl_http_getter.h"
#include "platform/text.h"

namespace orvane {
namespace {

using testing::RawServer;
using Clock = std::chrono::steady_clock;

constexpr auto kBound = std::chrono::milliseconds(kMaxRequestMs + 1000);

std::string Utf8Ok(const std::string& body) {
  return RawServer::Response("200 OK\r\nContent-Type: text/plain\r\n", body);
}

// A port that was free a moment ago and has nobody listening now.
int ClosedPort() {
  RawServer server(false);
  return server.port();
}

struct Sent {
  std::shared_ptr<CurlRequestComponent> component = std::make_shared<CurlRequestComponent>();
  HttpRequest request{component};
  Clock::duration took{};

  void Get(const std::string& url) {
    const auto start = Clock::now();
    request.Open(url);
    request.Send();
    took = Clock::now() - start;
  }
};

TEST(CurlRequestComponentTest, OpenWithUrlAloneSendsAGetWithoutBody) {
  RawServer server;
  server.Route("/a", Utf8Ok("hello"));
  Sent sent;
  sent.Get(server.Url("/a"));
  ASSERT_EQ(server.Requests().size(), 1u);
  const std::string request = server.Requests()[0];
  EXPECT_EQ(request.substr(0, 14), "GET /a HTTP/1.");
  EXPECT_EQ(request.find("Content-Length"), std::string::npos);
  EXPECT_EQ(sent.request.ResponseText(), "hello");
  EXPECT_EQ(sent.request.Status(), 200);
  EXPECT_EQ(sent.request.StatusText(), "OK");
  EXPECT_EQ(sent.request.GetResponseHeader("content-type"), "text/plain");
  EXPECT_EQ(sent.component->LastError(), FetchError::None);
}

TEST(CurlRequestComponentTest, ResponseTextIsEmptyBeforeSendAndAfterAFailure) {
  RawServer server;
  server.Route("/a", Utf8Ok("hello"));
  Sent sent;
  EXPECT_EQ(sent.request.ResponseText(), "");
  sent.request.Open(server.Url("/a"));
  EXPECT_EQ(sent.request.ResponseText(), "");
  sent.request.Send();
  EXPECT_EQ(sent.request.ResponseText(), "hello");

  // A failure after a success leaves nothing of the old response behind.
  sent.Get("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/a");
  EXPECT_EQ(sent.component->LastError(), FetchError::Connect);
  EXPECT_EQ(sent.request.ResponseText(), "");
  EXPECT_EQ(sent.request.Status(), 0);
  EXPECT_TRUE(sent.request.ResponseBody().empty());
  EXPECT_EQ(sent.request.GetAllResponseHeaders(), "");
}

TEST(CurlRequestComponentTest, ClosedPortFailsFast) {
  Sent sent;
  sent.Get("http://127.0.0.1:" + std::to_string(ClosedPort()) + "/");
  EXPECT_EQ(sent.component->LastError(), FetchError::Connect);
  EXPECT_LT(sent.took, std::chrono::seconds(2));
}

TEST(CurlRequestComponentTest, OnlyHttpAndHttpsAreFetchedRedirectsIncluded) {
  RawServer server;
  server.Route("/to-file",
               "HTTP/1.1 302 Found\r\nLocation: file:///etc/passwd\r\n"
               "Content-Length: 0\r\nConnection: close\r\n\r\n");
  server.Route("/to-ftp",
               "HTTP/1.1 302 Found\r\nLocation: ftp://127.0.0.1/x\r\n"
               "Content-Length: 0\r\nConnection: close\r\n\r\n");
  struct Case {
    std::string url;
    FetchError error;
  };
  const Case cases[] = {
      {"file:///etc/passwd", FetchError::BadScheme},
      {"FILE:///etc/passwd", FetchError::BadScheme},
      {"ftp://127.0.0.1/x", FetchError::BadScheme},
      {"gopher://127.0.0.1/", FetchError::BadScheme},
      {"/etc/passwd", FetchError::BadUrl},
      {"", FetchError::BadUrl},
      {server.Url("/to-file"), FetchError::BadScheme},
      {server.Url("/to-ftp"), FetchError::BadScheme},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.url);
    Sent sent;
    sent.Get(c.url);
    EXPECT_EQ(sent.component->LastError(), c.error);
    EXPECT_EQ(sent.request.ResponseText(), "");
    CurlHttpGetter getter;
    const FetchResult fetched = getter.Fetch(c.url);
    EXPECT_EQ(fetched.error, c.error);
    EXPECT_EQ(fetched.body, "");
  }
}

TEST(CurlRequestComponentTest, JsonSlashesAreUndoneBeforeFetching) {
  RawServer server;
  server.Route("/lpic/s1.jpg", Utf8Ok("picture"));
  const std::string escaped =
      "http:\\/\\/127.0.0.1:" + std::to_string(server.port()) + "\\/lpic\\/s1.jpg";
  Sent sent;
  sent.Get(escaped);
  EXPECT_EQ(sent.request.ResponseText(), "picture");
  EXPECT_EQ(sent.request.GetUrl(), server.Url("/lpic/s1.jpg"));
  CurlHttpGetter getter;
  EXPECT_EQ(getter.Get(escaped), "picture");
}

TEST(CurlRequestComponentTest, ResponseTextIsDecodedByTheDeclaredCharset) {
  RawServer server;
  const std::string gbk = Utf8ToGbk("豆瓣精选");
  server.Route("/gbk",
               RawServer::Response("200 OK\r\nContent-Type: text/html; charset=GBK\r\n", gbk));
  server.Route("/gb2312", RawServer::Response(
                              "200 OK\r\nContent-Type: text/html;charset=\"gb2312\"\r\n", gbk));
  server.Route("/none", RawServer::Response("200 OK\r\nContent-Type: application/json\r\n",
                                            "{\"name\":\"豆瓣\"}"));
  server.Route(
      "/latin1",
      RawServer::Response("200 OK\r\nContent-Type: text/plain; charset=ISO-8859-1\r\n", "caf\xE9"));
  server.Route("/broken",
               RawServer::Response("200 OK\r\nContent-Type: text/plain\r\n", "ok\xFF\xFE!"));
  struct Case {
    std::string path, text;
  };
  const Case cases[] = {
      {"/gbk", "豆瓣精选"},
      {"/gb2312", "豆瓣精选"},
      {"/none", "{\"name\":\"豆瓣\"}"},
      {"/latin1", "café"},
      {"/broken", "ok\xEF\xBF\xBD\xEF\xBF\xBD!"},
  };
  Sent sent;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    sent.Get(server.Url(c.path));
    EXPECT_EQ(sent.request.ResponseText(), c.text);
  }
  // The bytes stay as they came.
  sent.Get(server.Url("/gbk"));
  const Bytes body = sent.request.ResponseBody();
  EXPECT_EQ(std::string(body.begin(), body.end()), gbk);
}

TEST(CurlRequestComponentTest, ErrorStatusIsAFailureThatKeepsStatusAndHeaders) {
  RawServer server;
  server.Route("/gone", RawServer::Response("404 Not Found\r\nX-Why: gone\r\n", "<h1>404</h1>"));
  Sent sent;
  sent.Get(server.Url("/gone"));
  EXPECT_EQ(sent.component->LastError(), FetchError::HttpStatus);
  EXPECT_EQ(sent.request.Status(), 404);
  EXPECT_EQ(sent.request.StatusText(), "Not Found");
  EXPECT_EQ(sent.request.GetResponseHeader("X-Why"), "gone");
  EXPECT_EQ(sent.request.ResponseText(), "");
  EXPECT_TRUE(sent.request.ResponseBody().empty());
}

TEST(CurlRequestComponentTest, BodyBeyondTheCapFails) {
  RawServer server;
  const std::size_t nineMiB = 9u << 20;
  // Declared up front, and undeclared (chunked, so only the count can stop it).
  server.Route("/declared", RawServer::Response("200 OK\r\n", std::string(nineMiB, 'x')));
  server.Route("/chunked", [nineMiB](const std::string&) {
    std::string r = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n";
    const std::string chunk(1u << 20, 'y');
    for (std::size_t sent = 0; sent < nineMiB; sent += chunk.size())
      r += "100000\r\n" + chunk + "\r\n";
    return r + "0\r\n\r\n";
  });
  for (const char* path : {"/declared", "/chunked"}) {
    SCOPED_TRACE(path);
    Sent sent;
    sent.Get(server.Url(path));
    EXPECT_EQ(sent.component->LastError(), FetchError::TooLarge);
    EXPECT_EQ(sent.request.ResponseText(), "");
  }
  // The getter's cap for pictures is 16 MiB: the same body passes there.
  CurlHttpGetter getter;
  EXPECT_EQ(getter.Fetch(server.Url("/declared")).body.size(), nineMiB);
}

TEST(CurlRequestComponentTest, TlsHandshakeThatNeverEndsGivesUpWithinTheBound) {
  RawServer silent(false);
  Sent sent;
  sent.Get("https://127.0.0.1:" + std::to_string(silent.port()) + "/");
  EXPECT_EQ(sent.component->LastError(), FetchError::Timeout);
  EXPECT_LT(sent.took, kBound);
  EXPECT_EQ(sent.request.ResponseText(), "");
}

TEST(CurlRequestComponentTest, AsynchronousSendReturnsAndWaitForResponseFinishesIt) {
  RawServer server;
  server.Route("/slow", [](const std::string&) {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    return Utf8Ok("late");
  });
  Sent sent;
  sent.request.Open("GET", server.Url("/slow"), true);
  sent.request.Send();
  EXPECT_EQ(sent.request.ResponseText(), "");
  EXPECT_FALSE(sent.request.WaitForResponse(0));
  EXPECT_TRUE(sent.request.WaitForResponse(5));
  EXPECT_EQ(sent.request.ResponseText(), "late");

  sent.request.Open("GET", server.Url("/slow"), true);
  sent.request.Send();
  sent.request.Abort();
  EXPECT_EQ(sent.component->LastError(), FetchError::Aborted);
  EXPECT_EQ(sent.request.ReadyState(), 0);
  EXPECT_FALSE(sent.request.WaitForResponse(1));
}

TEST(CurlRequestComponentTest, RequestHeadersGoOutAndLineBreaksAreRefused) {
  RawServer server;
  server.Route("/h", Utf8Ok("ok"));
  Sent sent;
  sent.request.Open(server.Url("/h"));
  sent.request.SetRequestHeader("Referer", "http://h/");
  sent.request.SetRequestHeader("X-Evil", "a\r\nHost: elsewhere");
  sent.request.SetRequestHeader("Bad Name", "v");
  sent.request.Send();
  const std::string request = server.Requests().at(0);
  EXPECT_NE(request.find("\r\nReferer: http://h/\r\n"), std::string::npos);
  EXPECT_EQ(request.find("X-Evil"), std::string::npos);
  EXPECT_EQ(request.find("elsewhere"), std::string::npos);
  EXPECT_EQ(request.find("Bad Name"), std::string::npos);
}

TEST(CurlRequestComponentTest, PostSendsTheGivenBody) {
  RawServer server;
  server.Route("/form", Utf8Ok("ok"));
  Sent sent;
  sent.request.Open("POST", server.Url("/form"));
  sent.request.Send(ComponentValue{std::string("a=1&b=2")});
  const std::string request = server.Requests().at(0);
  EXPECT_EQ(request.substr(0, 10), "POST /form");
  EXPECT_NE(request.find("Content-Length: 7"), std::string::npos);
  EXPECT_EQ(sent.request.ResponseText(), "ok");
}

TEST(CurlRequestComponentTest, CertificateErrorsCannotBeSwitchedOff) {
  CurlRequestComponent component;
  EXPECT_FALSE(component.SetOption(4, ComponentValue{std::int32_t{0x3300}}));
  EXPECT_TRUE(component.SetOption(kOptionUserAgent, ComponentValue{std::string("Test/1")}));
  EXPECT_EQ(std::get<std::string>(component.GetOption(kOptionUserAgent)), "Test/1");
}

}  // namespace
}  // namespace orvane
