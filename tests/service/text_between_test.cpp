#include <gtest/gtest.h>

#include "service/service_requests.h"

namespace orvane {
namespace {

struct Case {
  const char* name;
  std::string source, start, end;
  int from = 0;
  bool ignoreCase = false;
  std::string want;
};

TEST(TextBetween, Cases) {
  const Case cases[] = {
      {.name = "empty source", .source = "", .start = "a", .end = "b", .want = ""},
      {.name = "start missing", .source = "x=1;", .start = "y=", .end = ";", .want = ""},
      {.name = "end missing", .source = "x=1", .start = "x=", .end = ";", .want = ""},
      {.name = "plain", .source = "x=1;y=2;", .start = "y=", .end = ";", .want = "2"},
      {.name = "first occurrence only", .source = "\"t\":\"A\",\"n\" \"t\":\"B\",\"n\"",
       .start = "\"t\":\"", .end = "\",\"n", .want = "A"},
      {.name = "value cut at end marker", .source = "\"title\":\"a\",\"sid b\",\"sid\"",
       .start = "\"title\":\"", .end = "\",\"sid", .want = "a"},
      {.name = "escapes kept", .source = "\"url\":\"https:\\/\\/h\\/a\",\"file_ext\"",
       .start = "\"url\":\"", .end = "\",\"file_ext", .want = "https:\\/\\/h\\/a"},
      {.name = "adjacent markers", .source = "ab", .start = "a", .end = "b", .want = ""},
      {.name = "end searched after value start", .source = "a;b=1;", .start = "b=", .end = ";",
       .want = "1"},
      {.name = "quote placeholder", .source = "k=\"v\"", .start = "k=#引号", .end = "#引号",
       .want = "v"},
      {.name = "from position", .source = "a=1;a=2;", .start = "a=", .end = ";", .from = 3,
       .want = "2"},
      {.name = "ignore case", .source = "NAME=x;", .start = "name=", .end = ";",
       .ignoreCase = true, .want = "x"},
      {.name = "case-sensitive by default", .source = "NAME=x;", .start = "name=", .end = ";",
       .want = ""},
      // "中" is E4 B8 AD; a marker made of its last two bytes must not match inside it.
      {.name = "no match inside a character", .source = "\xE4\xB8\xAD=1;",
       .start = "\xB8\xAD=", .end = ";", .want = ""},
      {.name = "CJK value", .source = "\"name\":\"豆瓣精选\",\"cover\"", .start = "\"name\":\"",
       .end = "\",\"cover", .want = "豆瓣精选"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TextBetween(c.source, c.start, c.end, c.from, c.ignoreCase), c.want) << c.name;
  }
}

}  // namespace
}  // namespace orvane
