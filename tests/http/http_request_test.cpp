// HttpRequest over an injected component: the defaults of its optional
// arguments, what it forwards, and what it does without a component.

#include "http/http_request.h"

#include <gtest/gtest.h>

#include "http/fake_request_component.h"
#include "platform/curl_request_component.h"

namespace orvane {
namespace {

using testing::FakeRequestComponent;

struct Rig {
  std::shared_ptr<FakeRequestComponent> fake = std::make_shared<FakeRequestComponent>();
  HttpRequest request{fake};
};

TEST(HttpRequestTest, OpenWithoutMethodOrFlagIsSynchronousGet) {
  Rig rig;
  rig.request.Open("http://h/a");
  rig.request.Open("", "http://h/b");
  rig.request.Open("POST", "http://h/c", true);
  ASSERT_EQ(rig.fake->opens.size(), 3u);
  EXPECT_EQ(rig.fake->opens[0].method, "GET");
  EXPECT_FALSE(rig.fake->opens[0].async);
  EXPECT_EQ(rig.fake->opens[1].method, "GET");
  EXPECT_EQ(rig.fake->opens[2].method, "POST");
  EXPECT_TRUE(rig.fake->opens[2].async);
}

TEST(HttpRequestTest, SendWithoutBodyPassesNoArgumentAtAll) {
  Rig rig;
  rig.request.Send();
  rig.request.Send(ComponentValue{std::string()});
  ASSERT_EQ(rig.fake->sends.size(), 2u);
  EXPECT_FALSE(rig.fake->sends[0].has_value());
  ASSERT_TRUE(rig.fake->sends[1].has_value());
  EXPECT_EQ(std::get<std::string>(*rig.fake->sends[1]), "");
}

TEST(HttpRequestTest, OptionalArgumentsTakeTheirDefaults) {
  Rig rig;
  rig.request.WaitForResponse();
  rig.request.SetProxy(std::nullopt, "proxy:3128", "*.local");
  rig.request.SetCredentials("u", "p");
  EXPECT_EQ(rig.fake->waits, std::vector<std::int32_t>{100});
  ASSERT_EQ(rig.fake->proxies.size(), 1u);
  EXPECT_EQ(std::get<0>(rig.fake->proxies[0]), kProxyNamed);
  ASSERT_EQ(rig.fake->credentials.size(), 1u);
  EXPECT_EQ(std::get<2>(rig.fake->credentials[0]), 0);
}

TEST(HttpRequestTest, OptionWritesOnlyTheFirstGivenValueThenReadsBack) {
  Rig rig;
  const ComponentValue back = rig.request.Option(14, 3, std::string("text"));
  ASSERT_EQ(rig.fake->optionWrites.size(), 1u);
  EXPECT_EQ(std::get<std::int32_t>(rig.fake->optionWrites[0].second), 3);
  EXPECT_EQ(std::get<std::int32_t>(back), 3);

  rig.request.Option(kOptionUrl, std::nullopt, std::string("http://h/x"));
  EXPECT_EQ(rig.request.GetUrl(), "http://h/x");
  rig.request.Option(kOptionUrl);  // a read writes nothing
  EXPECT_EQ(rig.fake->optionWrites.size(), 2u);
}

TEST(HttpRequestTest, HeaderHelpersSetTheirHeadersInOrder) {
  Rig rig;
  rig.request.SetDefaultHeaders("http://h/");
  rig.request.SetRange("bytes=0-99");
  rig.request.SetCookieHeader("a=1;");
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"Accept", "*/*"},        {"Accept-Language", "zh_cn"},
      {"Referer", "http://h/"}, {"Content-Type", "application/x-www-form-urlencoded"},
      {"Range", "bytes=0-99"},  {"Cookie", "a=1;"}};
  EXPECT_EQ(rig.fake->requestHeaders, expected);
}

TEST(HttpRequestTest, CopySharesTheComponentAndTheCookies) {
  Rig rig;
  rig.fake->headers = "Set-Cookie: bid=1\r\n";
  rig.request.MergeSetCookies();
  std::unique_ptr<HttpRequest> copy = rig.request.Copy();
  EXPECT_EQ(copy->GetComponent(), rig.request.GetComponent());
  EXPECT_EQ(copy->cookies(), "bid=1;");
  copy->Open("http://h/");
  EXPECT_EQ(rig.fake->opens.size(), 1u);
}

TEST(HttpRequestTest, WithoutComponentEveryOperationYieldsEmpty) {
  Rig rig;
  rig.fake->text = "body";
  rig.fake->status = 200;
  rig.request.ReleaseComponent();
  rig.request.Open("http://h/");
  rig.request.Send();
  EXPECT_TRUE(rig.fake->opens.empty());
  EXPECT_EQ(rig.request.GetComponent(), nullptr);
  EXPECT_EQ(rig.request.ResponseText(), "");
  EXPECT_EQ(rig.request.Status(), 0);
  EXPECT_EQ(rig.request.StatusText(), "");
  EXPECT_TRUE(rig.request.ResponseBody().empty());
  EXPECT_TRUE(std::holds_alternative<std::monostate>(rig.request.ResponseStream()));
  EXPECT_EQ(rig.request.GetUrl(), "");
  EXPECT_EQ(rig.request.GetAllResponseHeaders(), "");
  EXPECT_FALSE(rig.request.WaitForResponse(1));
  EXPECT_EQ(rig.request.ReadyState(), 0);
  EXPECT_EQ(rig.request.GetCookie("sid"), "");
}

TEST(HttpRequestTest, CreateComponentKnowsOnlyTheRequestClass) {
  HttpRequest request(nullptr);
  EXPECT_FALSE(request.CreateComponent("MSXML2.XMLHTTP"));
  EXPECT_EQ(request.GetComponent(), nullptr);
  EXPECT_TRUE(request.CreateComponent("winhttp.winhttprequest.5.1"));
  EXPECT_NE(std::dynamic_pointer_cast<CurlRequestComponent>(request.GetComponent()), nullptr);
  HttpRequest byDefault;
  EXPECT_NE(std::dynamic_pointer_cast<CurlRequestComponent>(byDefault.GetComponent()), nullptr);
}

}  // namespace
}  // namespace orvane
