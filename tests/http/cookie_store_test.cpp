// The cookie store and the ready-state sink of HttpRequest.

#include <gtest/gtest.h>

#include <utility>

#include "http/extract_between.h"
#include "http/fake_request_component.h"
#include "http/http_request.h"
#include "http/raw_server.h"
#include "http/ready_state_sink.h"

namespace orvane {
namespace {

using testing::FakeRequestComponent;
using testing::RawServer;

TEST(ExtractBetweenTest, Cases) {
  struct Case {
    const char* name;
    std::string text, start;
    std::optional<std::string> end = std::nullopt;
    std::int32_t from = 0;
    bool ignoreCase = false;
    std::int32_t before = 0, after = 0;
    std::string expected;
    std::int32_t endPosition;  // 99: left alone
  };
  const Case cases[] = {
      {.name = "value and end position",
       .text = "a=1;b=2;",
       .start = "b=",
       .end = ";",
       .expected = "2",
       .endPosition = 8},
      {.name = "start marker missing",
       .text = "a=1;b=2;",
       .start = "c=",
       .end = ";",
       .expected = "",
       .endPosition = 99},
      {.name = "no end marker: the rest",
       .text = "a=1;b=2;",
       .start = "a=",
       .expected = "1;b=2;",
       .endPosition = 10},
      {.name = "end marker missing",
       .text = "a=1",
       .start = "a=",
       .end = ";",
       .expected = "",
       .endPosition = -1},
      {.name = "extra before and after",
       .text = "a=1;b=2;",
       .start = "b=",
       .end = ";",
       .before = 2,
       .after = 1,
       .expected = "b=2;",
       .endPosition = 8},
      {.name = "extras cut at the text's ends",
       .text = "b=2;",
       .start = "b=",
       .end = ";",
       .before = 9,
       .after = 9,
       .expected = "b=2;",
       .endPosition = 4},
      {.name = "start position skips the first",
       .text = "x=1;x=2;",
       .start = "x=",
       .end = ";",
       .from = 2,
       .expected = "2",
       .endPosition = 8},
      {.name = "ignore case",
       .text = "Set-Cookie: A=1\r\n",
       .start = "set-cookie: ",
       .end = "\r\n",
       .ignoreCase = true,
       .expected = "A=1",
       .endPosition = 16},
      {.name = "case-sensitive by default",
       .text = "Set-Cookie: A=1\r\n",
       .start = "set-cookie: ",
       .end = "\r\n",
       .expected = "",
       .endPosition = 99},
      {.name = "end marker right after start",
       .text = "k=;",
       .start = "k=",
       .end = ";",
       .expected = "",
       .endPosition = 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::int32_t endPosition = 99;
    const std::optional<std::string_view> end =
        c.end ? std::optional<std::string_view>(*c.end) : std::nullopt;
    EXPECT_EQ(
        ExtractBetween(c.text, c.start, end, c.from, c.ignoreCase, &endPosition, c.before, c.after),
        c.expected);
    EXPECT_EQ(endPosition, c.endPosition);
  }
}

// MergeSetCookies over the headers of successive responses.
struct CookieRig {
  std::shared_ptr<FakeRequestComponent> fake = std::make_shared<FakeRequestComponent>();
  HttpRequest request{fake};
  std::string Merge(const std::string& headers) {
    fake->headers = headers;
    return request.MergeSetCookies();
  }
};

TEST(MergeSetCookiesTest, ReplacesAppendsAndRemoves) {
  struct Case {
    const char* name;
    std::string stored;  // headers that build the store first
    std::string headers;
    std::string expected;
  };
  const Case cases[] = {
      {"replace, attributes dropped", "Set-Cookie: bid=1\r\n", "Set-Cookie: bid=2; path=/\r\n",
       "bid=2;"},
      {"append without semicolon", "Set-Cookie: bid=1\r\n", "Set-Cookie: uid=7\r\n",
       "bid=1;uid=7;"},
      {"deleted; expires= removes", "Set-Cookie: bid=1\r\nSet-Cookie: uid=7\r\n",
       "Set-Cookie: bid=deleted; expires=Thu, 01 Jan 1970 00:00:01 GMT\r\n", "uid=7;"},
      {"several headers in one response", "",
       "Content-Type: text/html\r\nSet-Cookie: a=1; path=/\r\nSet-Cookie: b=2\r\n", "a=1;b=2;"},
      {"no blank after the colon is not merged", "", "Set-Cookie:sid=5;\r\n", ""},
      {"names are case-sensitive", "Set-Cookie: bid=1\r\n", "Set-Cookie: BID=2\r\n",
       "bid=1;BID=2;"},
      {"a line without '=' is skipped", "", "Set-Cookie: junk\r\nSet-Cookie: a=1\r\n", "a=1;"},
      // Only a whole stored name matches: sid must not rewrite xsid.
      {"inside a longer name", "Set-Cookie: xsid=1\r\n", "Set-Cookie: sid=2\r\n", "xsid=1;sid=2;"},
      {"removal inside a longer name", "Set-Cookie: xsid=1\r\n",
       "Set-Cookie: sid=deleted; expires=Thu, 01 Jan 1970 00:00:01 GMT\r\n", "xsid=1;"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CookieRig rig;
    rig.Merge(c.stored);
    EXPECT_EQ(rig.Merge(c.headers), c.expected);
    EXPECT_EQ(rig.request.cookies(), c.expected);
  }
}

TEST(MergeSetCookiesTest, StoredCookiesGoOutAsTheCookieHeader) {
  CookieRig rig;
  rig.Merge("Set-Cookie: a=1\r\nSet-Cookie: b=2; path=/\r\n");
  rig.request.SendStoredCookies();
  ASSERT_EQ(rig.fake->requestHeaders.size(), 1u);
  EXPECT_EQ(rig.fake->requestHeaders[0],
            std::make_pair(std::string("Cookie"), std::string("a=1;b=2;")));
}

TEST(GetCookieTest, FindsTheHeaderWithOrWithoutTheBlank) {
  // The raw server writes the header bytes exactly, the missing blank included.
  RawServer server;
  server.Route("/c",
               "HTTP/1.1 200 OK\r\nSet-Cookie:sid=5;\r\nSet-Cookie: bid=abc; path=/\r\n"
               "Set-Cookie: plain=7\r\nSet-Cookie: after=1; path=/\r\n"
               "Content-Length: 2\r\nConnection: close\r\n\r\nok");
  HttpRequest request;
  request.Open(server.Url("/c"));
  request.Send();
  EXPECT_EQ(request.GetCookie("sid"), "5");
  EXPECT_EQ(request.GetCookie("bid"), "abc");
  EXPECT_EQ(request.GetCookie("plain"), "7");  // ends with its line
  EXPECT_EQ(request.GetCookie("id"), "");
  EXPECT_EQ(request.GetCookie("none"), "");
  EXPECT_EQ(request.GetSetCookieLines(),
            "Set-Cookie:sid=5;\r\nSet-Cookie: bid=abc; path=/\r\nSet-Cookie: plain=7\r\n"
            "Set-Cookie: after=1; path=/\r\n");
  EXPECT_EQ(request.MergeSetCookies(), "bid=abc;plain=7;after=1;");
}

TEST(ReadyStateSinkTest, AnswersAsADispatchObject) {
  auto sink = MakeReadyStateSink();
  com::DispatchInterface* self = &sink->object;
  const com::DispatchFunctions& f = *self->functions;
  EXPECT_EQ(f.reserved, nullptr);

  const std::int32_t before = SinkReferenceCount();
  com::DispatchInterface* out = nullptr;
  EXPECT_EQ(f.QueryInterface(self, com::kIidDispatch, &out), com::kOk);
  EXPECT_EQ(out, self);
  out = nullptr;
  EXPECT_EQ(f.QueryInterface(self, com::kIidUnknown, &out), com::kOk);
  EXPECT_EQ(out, self);
  EXPECT_EQ(SinkReferenceCount(), before + 2);
  const com::Guid other{0x12345678, 1, 2, {0, 0, 0, 0, 0, 0, 0, 1}};
  EXPECT_EQ(f.QueryInterface(self, other, &out), com::kNoInterface);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(f.Release(self), static_cast<std::uint32_t>(before + 1));
  EXPECT_EQ(f.Release(self), static_cast<std::uint32_t>(before));
  EXPECT_EQ(f.AddRef(self), static_cast<std::uint32_t>(before + 1));
  f.Release(self);

  std::uint32_t count = 0;
  EXPECT_EQ(f.GetTypeInfoCount(self, &count), com::kOk);
  EXPECT_EQ(count, 1u);
  EXPECT_EQ(f.GetTypeInfo(self, 0, 0, nullptr), com::kNotImplemented);
  EXPECT_EQ(f.GetIDsOfNames(self, com::kIidNull, nullptr, 0, 0, nullptr), com::kNotImplemented);
}

std::vector<std::uintptr_t> g_invokedWith;
void RecordAddress(std::uintptr_t address) {
  g_invokedWith.push_back(address);
}

TEST(ReadyStateSinkTest, InvokeCallsTheProcessWideHandler) {
  g_invokedWith.clear();
  auto fake = std::make_shared<FakeRequestComponent>();
  const std::int32_t before = SinkReferenceCount();
  {
    HttpRequest request(fake);
    request.SetReadyStateHandler(&RecordAddress);
    EXPECT_EQ(ProcessReadyStateHandler(), &RecordAddress);
    ASSERT_NE(fake->sink, nullptr);
    EXPECT_EQ(fake->sink.get(), request.SinkPointer());
    com::DispatchInterface* sink = request.SinkPointer();
    EXPECT_EQ(
        sink->functions->Invoke(sink, 7, com::kIidNull, 0, 1, nullptr, nullptr, nullptr, nullptr),
        com::kOk);
    ASSERT_EQ(g_invokedWith.size(), 1u);
    EXPECT_NE(g_invokedWith[0], 0u);
    // A copy holds one more reference to the same sink.
    EXPECT_EQ(SinkReferenceCount(), before + 1);
    std::unique_ptr<HttpRequest> copy = request.Copy();
    EXPECT_EQ(copy->SinkPointer(), sink);
    EXPECT_EQ(SinkReferenceCount(), before + 2);
  }
  EXPECT_EQ(SinkReferenceCount(), before);
  // The component still holds the sink's memory: calling it stays safe.
  fake->sink->functions->Invoke(fake->sink.get(), 0, com::kIidNull, 0, 1, nullptr, nullptr, nullptr,
                                nullptr);
  EXPECT_EQ(g_invokedWith.size(), 2u);
  SetProcessReadyStateHandler(nullptr);
}

HttpRequest* g_watched = nullptr;
std::vector<std::int32_t> g_states;
void RecordState(std::uintptr_t) {
  g_states.push_back(g_watched->ReadyState());
}

TEST(ReadyStateSinkTest, RealRequestReportsOpenSentReceivingComplete) {
  RawServer server;
  server.Route("/page", RawServer::Response("200 OK\r\n", std::string(200000, 'z')));
  HttpRequest request;
  g_watched = &request;
  g_states.clear();
  const std::int32_t before = SinkReferenceCount();
  request.SetReadyStateHandler(&RecordState);
  EXPECT_EQ(SinkReferenceCount(), before + 2);  // the request's and the component's
  request.Open(server.Url("/page"));
  request.Send();
  EXPECT_EQ(g_states, (std::vector<std::int32_t>{1, 2, 3, 4}));
  EXPECT_EQ(request.ResponseText().size(), 200000u);
  SetProcessReadyStateHandler(nullptr);
  g_watched = nullptr;
}

// A handler that calls back into the request: a new Open in the middle of the
// transfer is refused, a new request once it is complete runs, and dropping
// the component from inside the handler is safe.
std::string g_nextUrl;
void Reenter(std::uintptr_t) {
  const std::int32_t state = g_watched->ReadyState();
  if (state == 3) g_watched->Open(g_nextUrl);
  if (state == 4 && !g_nextUrl.empty()) {
    const std::string url = std::exchange(g_nextUrl, "");
    g_watched->Open(url);
    g_watched->Send();
  } else if (state == 4) {
    g_watched->ReleaseComponent();
  }
}

TEST(ReadyStateSinkTest, HandlerMayCallBackIntoTheRequest) {
  RawServer server;
  server.Route("/first", RawServer::Response("200 OK\r\n", "first"));
  server.Route("/second", RawServer::Response("200 OK\r\n", "second"));
  HttpRequest request;
  g_watched = &request;
  g_nextUrl = server.Url("/second");
  request.SetReadyStateHandler(&Reenter);
  request.Open(server.Url("/first"));
  request.Send();
  ASSERT_EQ(server.Requests().size(), 2u);
  EXPECT_NE(server.Requests()[1].find("GET /second"), std::string::npos);
  // The second request's completion released the component.
  EXPECT_EQ(request.GetComponent(), nullptr);
  EXPECT_EQ(request.ResponseText(), "");
  SetProcessReadyStateHandler(nullptr);
  g_watched = nullptr;
}

}  // namespace
}  // namespace orvane
