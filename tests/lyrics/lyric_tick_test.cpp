#include "lyrics/lyric_tick.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "service/song_test_rig.h"

namespace orvane {
namespace {

#define LE "\\r\\n"

const char* const kLyric = "{\"lyric\":\"[00:21.00]first line" LE "[01:05.37]second line" LE
                           "\",\"name\":\"Song\",\"sid\":\"1\"}";

struct LyricTickTest : ::testing::Test {
  SongRig rig;
  void SetUp() override {
    rig.LoadSomething();
    rig.ui.SetPeriod("times", 500);
    BindLyricTimer(rig.ctx);
    rig.state.currentSong.lyricResponse = kLyric;
    rig.state.currentSong.lyricText = "[00:21.00]first line" LE "[01:05.37]second line" LE;
    rig.ui.SetCaption("标签2", "Title - Artist");
  }
  void Playing(double position, double duration) {
    rig.media->state = kPlayStatePlaying;
    rig.media->position = position;
    rig.media->duration = duration;
  }
  void Tick() { ASSERT_TRUE(rig.ui.Fire("times", UiEvent::Tick)); }
};

TEST_F(LyricTickTest, EndedStatesStopTheTimerAndRequestTheNextSongOnce) {
  for (int state : {kPlayStateUndefined, kPlayStateStopped, kPlayStateReady}) {
    SongRig r;
    r.LoadSomething();
    r.ui.SetPeriod("times", 500);
    r.media->state = state;
    LyricTick(r.ctx);
    // One song requested (one new stream), and the timer was stopped before
    // the sequencer started it again.
    EXPECT_EQ(std::count_if(r.media->calls.begin(), r.media->calls.end(),
                            [](const std::string& s) { return s.rfind("SetUrl:", 0) == 0; }),
              1)
        << state;
    EXPECT_EQ(r.c("times").period, 500) << state;
    EXPECT_EQ(r.c("times").periodWrites, 2) << state;
    EXPECT_EQ(r.state.currentSong.status, kNowPlaying) << state;
  }
}

TEST_F(LyricTickTest, OtherStatesChangeNothing) {
  for (int state :
       {kPlayStatePaused, kPlayStateBuffering, kPlayStateTransitioning, kPlayStateMediaEnded}) {
    rig.media->state = state;
    rig.media->position = 65.9;
    rig.media->duration = 221.4;
    Tick();
    EXPECT_EQ(rig.c("标签3").caption, "00:00/00:00") << state;
    EXPECT_EQ(rig.c("进度条_绿").width, 0) << state;
    EXPECT_EQ(rig.c("标签2").caption, "Title - Artist") << state;
    EXPECT_TRUE(rig.overlay->texts.empty()) << state;
    EXPECT_EQ(rig.c("times").period, 500) << state;
    EXPECT_TRUE(rig.media->calls.empty()) << state;
  }
}

TEST_F(LyricTickTest, ReadOutBarAndLineWhilePlaying) {
  Playing(65.9, 221.4);
  Tick();
  EXPECT_EQ(rig.c("标签3").caption, "01:05 | 03:41");
  EXPECT_EQ(rig.c("进度条_绿").width, 114);  // 65 / 221 * 390 = 114.7
  EXPECT_EQ(rig.c("标签2").caption, "second line");
  ASSERT_EQ(rig.overlay->texts.size(), 1u);
  EXPECT_EQ(rig.overlay->texts.back(), rig.c("标签2").caption);

  // A second without a stamp keeps the line; the same line found again is
  // written again and the overlay repainted.
  Playing(66.2, 221.4);
  Tick();
  EXPECT_EQ(rig.c("标签2").caption, "second line");
  EXPECT_EQ(rig.overlay->texts.size(), 1u);
  Playing(65.4, 221.4);
  Tick();
  EXPECT_EQ(rig.overlay->texts.size(), 2u);
}

TEST_F(LyricTickTest, BeforeTheFirstStampKeepsTitleAndArtist) {
  Playing(5.0, 221.0);
  Tick();
  EXPECT_EQ(rig.c("标签2").caption, "Title - Artist");
  EXPECT_TRUE(rig.overlay->texts.empty());
}

TEST_F(LyricTickTest, DurationAndPositionEdges) {
  struct Case {
    const char* name;
    double position, duration;
    std::string readOut;
    int width;
  };
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"duration not known yet", 12.5, 0.0, "00:12 | 00:00", 0},
      {"duration below a second", 12.5, 0.7, "00:12 | 00:00", 0},
      {"position beyond the duration", 300.0, 200.0, "05:00 | 03:20", 585},
      {"hundred minutes", 6000.0, 6000.0, "100:00 | 100:00", 390},
      {"NaN position", nan, 200.0, "00:00 | 03:20", 0},
      {"infinite duration", 10.0, inf, "00:10 | 00:00", 0},
      {"negative position", -3.0, 200.0, "00:00 | 03:20", 0},
      {"huge position", 1e300, 1.0, MediaPlayer::SecondsToText(kMaxTickSeconds) + " | 00:01",
       kMaxTickSeconds * 390},
  };
  for (const Case& c : cases) {
    Playing(c.position, c.duration);
    Tick();
    EXPECT_EQ(rig.c("标签3").caption, c.readOut) << c.name;
    EXPECT_EQ(rig.c("进度条_绿").width, c.width) << c.name;
  }
}

TEST_F(LyricTickTest, ResponsesWithoutTimedLines) {
  struct Case {
    const char* name;
    std::string response, lyricText;
    std::string want;  // 标签2 afterwards
  };
  const Case cases[] = {
      {"no response", "", "", "Title - Artist"},
      {"no match found", "没有匹配到歌词.", "", "Title - Artist"},
      {"song without lyrics", "{\"lyric\":\"暂无歌词\",\"name\":\"x\"}", "暂无歌词", "暂无歌词"},
      {"untimed lyric", "{\"lyric\":\"la la\",\"name\":\"x\"}", "la la", "当前歌词不支持滚动"},
      {"empty lyric", "{\"name\":\"x\"}", "", "当前歌词不支持滚动"},
  };
  for (const Case& c : cases) {
    SongRig r;
    r.LoadSomething();
    r.ui.SetCaption("标签2", "Title - Artist");
    r.state.currentSong.lyricResponse = c.response;
    r.state.currentSong.lyricText = c.lyricText;
    r.media->state = kPlayStatePlaying;
    r.media->position = 30;
    r.media->duration = 200;
    for (int tick = 0; tick < 2; ++tick) LyricTick(r.ctx);
    EXPECT_EQ(r.c("标签2").caption, c.want) << c.name;
    EXPECT_EQ(r.c("标签3").caption, "00:30 | 03:20") << c.name;
    if (c.want == "Title - Artist") {
      EXPECT_TRUE(r.overlay->texts.empty()) << c.name;
    } else {
      // Every tick while the song plays, label and overlay alike.
      EXPECT_EQ(r.overlay->texts, std::vector<std::string>(2, c.want)) << c.name;
    }
  }
}

}  // namespace
}  // namespace orvane
