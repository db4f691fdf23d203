#include "lyrics/lyric_lookup.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

// Line ends below are the four characters the JSON string holds, as in the
// stored response: "\\r\\n" in C++ source.
#define LE "\\r\\n"

struct Case {
  const char* name;
  std::string response;
  std::string time;
  std::string want;
};

TEST(FindLyricLine, Cases) {
  const std::string typical =
      "{\"lyric\":\"[ti:Song]" LE "[00:12.00]first" LE "[01:05.37]second line" LE
      "[01:10.00]third" LE "\",\"name\":\"Song\",\"sid\":\"1\"}";
  const Case cases[] = {
      {.name = "typical line", .response = typical, .time = "01:05", .want = "second line"},
      {.name = "before the first stamp", .response = typical, .time = "00:05", .want = ""},
      {.name = "tag line is not a time", .response = typical, .time = "ti:So", .want = ""},
      {.name = "two lines in one second: the later wins",
       .response = "[00:10.20]early" LE "[00:10.80]late" LE,
       .time = "00:10",
       .want = "late"},
      {.name = "two stamps on one line: the first shows nothing",
       .response = "[00:10.00][01:20.00]chorus" LE,
       .time = "00:10",
       .want = ""},
      {.name = "two stamps on one line: the last shows it",
       .response = "[00:10.00][01:20.00]chorus" LE,
       .time = "01:20",
       .want = "chorus"},
      {.name = "last line without a line end",
       .response = "[00:01.00]a" LE "[00:02.00]last\",\"name\":\"x\"",
       .time = "00:02",
       .want = ""},
      {.name = "line containing its own time",
       .response = "[00:10.00]see you at 00:10" LE,
       .time = "00:10",
       .want = ""},
      {.name = "a later chance match replaces the right line",
       .response = "[00:10.00]right" LE "[00:11.00]wrong 00:10]x" LE,
       .time = "00:10",
       .want = "x"},
      {.name = "a later chance match with no line empties it",
       .response = "[00:10.00]right" LE "\",\"name\":\"00:10\"",
       .time = "00:10",
       .want = ""},
      {.name = "no bracket at all",
       .response = "{\"lyric\":\"暂无歌词\",\"name\":\"x\"}",
       .time = "00:00",
       .want = ""},
      {.name = "no bracket, chance match in one piece",
       .response = "00:07]odd" LE "tail",
       .time = "00:07",
       .want = "odd"},
      {.name = "CJK line",
       .response = "[00:21.00]你好，世界" LE "[00:26.00]再见" LE,
       .time = "00:21",
       .want = "你好，世界"},
      {.name = "empty response", .response = "", .time = "00:00", .want = ""},
      {.name = "empty time text never matches",
       .response = "[00:01.00]a" LE,
       .time = "",
       .want = ""},
      {.name = "real CR LF is not a line end",
       .response = "[00:03.00]a\r\n[00:04.00]b" LE,
       .time = "00:03",
       .want = ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindLyricLine(c.response, c.time), c.want) << c.name;
  }
}

// UTF-8 has no "[" or "]" continuation bytes, so the boundary rule shows with
// markers that are the tail of a character: "中" is E4 B8 AD.
TEST(FindLyricLine, NeverMatchesInsideACharacter) {
  const std::string zhong = "\xE4\xB8\xAD";
  const std::string tail = "\xB8\xAD";
  // The time text as the tail bytes of a character: no piece holds it.
  EXPECT_EQ(FindLyricLine("[00:01.00]" + zhong + LE, tail), "");
  // The cuts keep the character whole.
  EXPECT_EQ(TextAfterLast("a" + zhong + "b", tail), "");
  EXPECT_EQ(TextBefore("a" + zhong + "b", tail), "");
  EXPECT_EQ(TextAfterLast("a" + zhong + "b" + zhong + "c", zhong), "c");
  EXPECT_EQ(TextBefore("a" + zhong + "b" + zhong + "c", zhong), "a");
}

TEST(TextHelpers, MissingMarkerAndEdges) {
  EXPECT_EQ(TextAfterLast("abc", "x"), "");
  EXPECT_EQ(TextBefore("abc", "x"), "");
  EXPECT_EQ(TextAfterLast("a]b]c", "]"), "c");
  EXPECT_EQ(TextBefore("a]b]c", "]"), "a");
  EXPECT_EQ(TextAfterLast("abc]", "]"), "");
  EXPECT_EQ(TextBefore("]abc", "]"), "");
  EXPECT_EQ(TextAfterLast("abc", ""), "");
}

}  // namespace
}  // namespace orvane
