// Every way the station can misbehave ends within the time bound with the
// empty result, for the service requests and for the toolkit's GET; the
// cookie store against the station's /cookies page.

#include <gtest/gtest.h>

#include <chrono>

#include "http/http_request.h"
#include "platform/curl_http_getter.h"
#include "platform/curl_request_component.h"
#include "platform/text.h"
#include "station/station.h"

namespace orvane {
namespace {

using Clock = std::chrono::steady_clock;
using station::Endpoint;
using station::Fault;
using station::FaultSpec;

constexpr auto kBound = std::chrono::milliseconds(kMaxRequestMs + 1000);

class StationFaultsTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(station_.Start()); }
  std::string PlaylistUrl() const {
    return station_.BaseUrl() + "/j/v2/playlist?channel=-10&kbps=128&type=n";
  }
  station::Station station_;
};

TEST_F(StationFaultsTest, EveryFaultEndsWithinTheBoundWithTheEmptyResult) {
  struct Case {
    const char* name;
    FaultSpec fault;
    FetchError error;
    std::int32_t status;
  };
  const Case cases[] = {
      {"hang", {Fault::Hang}, FetchError::Timeout, 0},
      {"drip", {Fault::Drip}, FetchError::Timeout, 0},
      {"delay beyond the bound", {Fault::Delay, 20000}, FetchError::Timeout, 0},
      {"reset", {Fault::Reset}, FetchError::Transfer, 0},
      {"not found", {Fault::NotFound}, FetchError::HttpStatus, 404},
      {"server error", {Fault::ServerError}, FetchError::HttpStatus, 500},
      {"truncated", {Fault::Truncated}, FetchError::Transfer, 0},
      {"huge", {Fault::Huge}, FetchError::TooLarge, 0},
  };
  auto component = std::make_shared<CurlRequestComponent>();
  HttpRequest request(component);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    station_.SetFault(Endpoint::Playlist, c.fault);
    const auto start = Clock::now();
    request.Open(PlaylistUrl());
    request.Send();
    const auto took = Clock::now() - start;
    EXPECT_LT(took, kBound);
    EXPECT_EQ(component->LastError(), c.error) << component->LastErrorDetail();
    EXPECT_EQ(request.Status(), c.status);
    EXPECT_EQ(request.ResponseText(), "");
    EXPECT_TRUE(request.ResponseBody().empty());
  }
  // After all that the same object still works.
  station_.ClearFaults();
  request.Open(PlaylistUrl());
  request.Send();
  EXPECT_NE(request.ResponseText(), "");
}

TEST_F(StationFaultsTest, ShortDelayIsAnAnswer) {
  station_.SetFault(Endpoint::Playlist, {Fault::Delay, 300});
  HttpRequest request;
  request.Open(PlaylistUrl());
  request.Send();
  EXPECT_EQ(request.Status(), 200);
  EXPECT_TRUE(ContainsText(request.ResponseText(), "\"song\""));
}

// Garbage arrives as a 200: a successful response. Its text is the bytes made
// valid UTF-8 (undecodable bytes become U+FFFD), never raw binary, so the
// service's markers simply are not found in it.
TEST_F(StationFaultsTest, GarbageIsASuccessfulResponseWithSanitisedText) {
  station_.SetFault(Endpoint::Playlist, {Fault::Garbage});
  auto component = std::make_shared<CurlRequestComponent>();
  HttpRequest request(component);
  request.Open(PlaylistUrl());
  request.Send();
  EXPECT_EQ(component->LastError(), FetchError::None);
  EXPECT_EQ(request.Status(), 200);
  const std::string text = request.ResponseText();
  EXPECT_FALSE(request.ResponseBody().empty());
  EXPECT_EQ(SanitizeUtf8(text), text);
  EXPECT_FALSE(ContainsText(text, "\"title\":\""));
}

TEST_F(StationFaultsTest, TheToolkitGetFailsAsBoundedly) {
  struct Case {
    const char* name;
    FaultSpec fault;
    FetchError error;
  };
  const Case cases[] = {
      {"hang", {Fault::Hang}, FetchError::Timeout},
      {"not found", {Fault::NotFound}, FetchError::HttpStatus},
      {"reset", {Fault::Reset}, FetchError::Transfer},
      {"huge", {Fault::Huge}, FetchError::TooLarge},
  };
  CurlHttpGetter getter;
  const std::string cover =
      station_.BaseUrl() + "/covers/" + station::Station::Songs()[0].coverFile;
  ASSERT_FALSE(getter.Get(cover).empty());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    station_.SetFault(Endpoint::Cover, c.fault);
    const auto start = Clock::now();
    const FetchResult result = getter.Fetch(cover);
    EXPECT_LT(Clock::now() - start, kBound);
    EXPECT_EQ(result.error, c.error);
    EXPECT_EQ(result.body, "");
  }
  station_.SetFault(Endpoint::Cover, {Fault::NotFound});
  EXPECT_EQ(getter.Get(cover), "");
}

TEST_F(StationFaultsTest, MergesTheCookiesTheStationSets) {
  HttpRequest request;
  const std::string url = station_.BaseUrl() + "/cookies";
  auto merge = [&](std::vector<std::string> lines) {
    station_.SetCookieHeaders(std::move(lines));
    request.Open(url);
    request.Send();
    return request.MergeSetCookies();
  };
  EXPECT_EQ(merge({"bid=1"}), "bid=1;");
  EXPECT_EQ(request.GetCookie("bid"), "1");
  EXPECT_EQ(merge({"bid=2; path=/"}), "bid=2;");
  EXPECT_EQ(merge({"uid=7", "ck=x; domain=127.0.0.1"}), "bid=2;uid=7;ck=x;");
  EXPECT_EQ(merge({"bid=deleted; expires=Thu, 01 Jan 1970 00:00:01 GMT"}), "uid=7;ck=x;");
  EXPECT_EQ(merge({"xuid=9"}), "uid=7;ck=x;xuid=9;");

  // The stored cookies go out with the next request.
  request.Open(url);
  request.SendStoredCookies();
  request.Send();
  const auto recorded = station_.Requests(Endpoint::Cookies);
  ASSERT_FALSE(recorded.empty());
  auto cookie = recorded.back().headers.find("Cookie");
  ASSERT_NE(cookie, recorded.back().headers.end());
  EXPECT_EQ(cookie->second, "uid=7;ck=x;xuid=9;");
}

HttpRequest* g_watched = nullptr;
std::vector<std::int32_t> g_states;
void RecordState(std::uintptr_t) {
  g_states.push_back(g_watched->ReadyState());
}

TEST_F(StationFaultsTest, ReadyStateHandlerSeesOpenSentReceivingComplete) {
  HttpRequest request;
  g_watched = &request;
  g_states.clear();
  request.SetReadyStateHandler(&RecordState);
  request.Open(PlaylistUrl());
  request.Send();
  EXPECT_EQ(g_states, (std::vector<std::int32_t>{1, 2, 3, 4}));
  SetProcessReadyStateHandler(nullptr);
  g_watched = nullptr;
}

}  // namespace
}  // namespace orvane
