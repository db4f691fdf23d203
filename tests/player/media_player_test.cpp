// MediaPlayer over a FakeMediaControl: the conversions, the text arguments,
// the defaults and what happens before the first song.
#include "player/media_player.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "support/fake_media_control.h"

namespace orvane {
namespace {

struct Fixture {
  std::shared_ptr<FakeMediaControl> fake = std::make_shared<FakeMediaControl>();
  MediaPlayer player{fake};
};

TEST(MediaPlayerTimeText, SecondsToText) {
  struct Case {
    int seconds;
    const char* text;
  };
  const Case cases[] = {
      {0, "00:00"},
      {9, "00:09"},
      {59, "00:59"},
      {60, "01:00"},
      {65, "01:05"},
      {600, "10:00"},
      {3599, "59:59"},
      {6000, "100:00"},
      {-5, "00:00"},
      {INT_MIN, "00:00"},
      {INT_MAX, "35791394:07"},
  };
  for (const Case& c : cases) EXPECT_EQ(MediaPlayer::SecondsToText(c.seconds), c.text) << c.seconds;
}

TEST(MediaPlayerTimeText, TextToSeconds) {
  struct Case {
    const char* text;
    int seconds;
  };
  const Case cases[] = {
      {"03:25", 205},   {"03:25.50", 205},  // only the first five bytes count
      {"100:00", 6000},                     // "100:0"
      {"1:2:3", 62},                        // pieces after the second are ignored
      {"12", 0},                            // no colon
      {"", 0},          {":", 0},
      {"ab:cd", 0},  // not numbers
      {"xx:30", 30},    {"2:xy", 120},
      {" 1: 5", 65},                             // blanks around a number are allowed
      {"1.9:5", 65},                             // fraction dropped
      {"-1:30", -30},   {"\xE4\xB8\xAD:12", 1},  // five bytes: a three-byte character, ":" and "1"
  };
  for (const Case& c : cases) EXPECT_EQ(MediaPlayer::TextToSeconds(c.text), c.seconds) << c.text;
}

TEST(MediaPlayer, OperationsThroughSubObjectsDoNothingBeforeTheFirstSong) {
  Fixture f;
  f.fake->state = kPlayStatePlaying;
  f.fake->status = "Playing";
  f.fake->position = 12;
  f.fake->duration = 200;
  f.fake->bufferingCount = 3;
  f.fake->itemInfo = {{"title", "T"}, {"Bitrate", "128000"}};

  f.player.SetVolume("57");
  f.player.Play();
  f.player.Pause();
  f.player.Stop();
  f.player.ToggleMute();
  f.player.SetPosition("30");
  f.player.SetPlayCount("2");
  EXPECT_TRUE(f.fake->calls.empty());
  EXPECT_EQ(f.fake->volume, 50);  // the volume set before any song is lost
  EXPECT_EQ(f.fake->playCount, 1);

  EXPECT_EQ(f.player.GetPosition(), 0);
  EXPECT_EQ(f.player.GetDuration(), 0);
  EXPECT_EQ(f.player.GetTitle(), "未知标题");
  EXPECT_EQ(f.player.GetBitrateText(), "0 kbit/sec");
  EXPECT_EQ(f.player.GetBufferingCount(), "");
  EXPECT_EQ(f.player.GetBufferingProgress(), "");
  // The control itself answers from the start.
  EXPECT_EQ(f.player.GetPlayState(), kPlayStatePlaying);
  EXPECT_EQ(f.player.GetStatus(), "Playing");

  f.player.SetUrl("http://x/a.mp3");
  f.player.SetVolume("57");
  f.player.Pause();
  EXPECT_EQ(f.fake->calls,
            (std::vector<std::string>{"SetUrl:http://x/a.mp3", "SetVolume:57", "Pause"}));
  EXPECT_EQ(f.player.GetPosition(), 12);
  EXPECT_EQ(f.player.GetDuration(), 200);
  EXPECT_EQ(f.player.GetTitle(), "T");
  EXPECT_EQ(f.player.GetBufferingCount(), "3");
}

TEST(MediaPlayer, TextArgumentsConvertLikeAutomation) {
  struct Case {
    const char* text;
    int volume;  // -1: no call
  };
  const Case cases[] = {
      {"57", 57},   {" 57 ", 57}, {"+57", 57}, {"57.4", 57}, {"57.5", 58},        {"56.5", 56},
      {"1e2", 100}, {"150", 100}, {"-3", 0},   {"", -1},     {"abc", -1},         {"57abc", -1},
      {"5 7", -1},  {".", -1},    {"inf", -1}, {"nan", -1},  {"99999999999", -1},
  };
  for (const Case& c : cases) {
    Fixture f;
    f.player.SetUrl("http://x/a.mp3");
    f.fake->calls.clear();
    f.player.SetVolume(c.text);
    if (c.volume < 0)
      EXPECT_TRUE(f.fake->calls.empty()) << c.text;
    else
      EXPECT_EQ(f.fake->calls, std::vector<std::string>{"SetVolume:" + std::to_string(c.volume)})
          << c.text;
  }

  Fixture f;
  f.player.SetUrl("http://x/a.mp3");
  f.player.SetPosition("65.5");
  f.player.SetPosition("later");
  f.player.SetPlayCount("3");
  f.player.SetPlayCount("x");
  EXPECT_DOUBLE_EQ(f.fake->position, 65.5);
  EXPECT_EQ(f.fake->playCount, 3);
}

TEST(MediaPlayer, ItemInformationDefaultsAndBitrate) {
  Fixture f;
  f.player.SetUrl("http://x/a.mp3");
  EXPECT_EQ(f.player.GetTitle(), "未知标题");
  EXPECT_EQ(f.player.GetAuthor(), "未知作者");
  EXPECT_EQ(f.player.GetCopyright(), "未知版权");
  EXPECT_EQ(f.player.GetMediaType(), "未知类型");

  f.fake->itemInfo = {
      {"title", "夜曲"}, {"Author", "歌手"}, {"Copyright", "(c)"}, {"strType", "audio"}};
  EXPECT_EQ(f.player.GetTitle(), "夜曲");
  EXPECT_EQ(f.player.GetAuthor(), "歌手");
  EXPECT_EQ(f.player.GetCopyright(), "(c)");
  EXPECT_EQ(f.player.GetMediaType(), "audio");

  struct Case {
    const char* bits;
    const char* text;
  };
  const Case cases[] = {{"128000", "128 kbit/sec"}, {"127999", "127 kbit/sec"},
                        {"999", "0 kbit/sec"},      {"320000.7", "320 kbit/sec"},
                        {"", "0 kbit/sec"},         {"fast", "0 kbit/sec"}};
  for (const Case& c : cases) {
    f.fake->itemInfo["Bitrate"] = c.bits;
    EXPECT_EQ(f.player.GetBitrateText(), c.text) << c.bits;
  }
}

TEST(MediaPlayer, ToggleMuteFlipsTheControlsFlag) {
  Fixture f;
  f.player.SetUrl("http://x/a.mp3");
  f.player.ToggleMute();
  EXPECT_TRUE(f.fake->mute);
  f.player.ToggleMute();
  EXPECT_FALSE(f.fake->mute);
}

TEST(MediaPlayer, CopySharesTheControlAndItsSubObjects) {
  Fixture f;
  f.player.SetUrl("http://x/a.mp3");
  MediaPlayer copy = f.player;
  EXPECT_EQ(copy.control(), f.player.control());
  copy.SetVolume("20");
  EXPECT_EQ(f.fake->volume, 20);

  MediaPlayer fresh(f.fake);  // a player of its own has no sub-objects yet
  fresh.SetVolume("30");
  EXPECT_EQ(f.fake->volume, 20);
  fresh = f.player;
  fresh.SetVolume("30");
  EXPECT_EQ(f.fake->volume, 30);
}

TEST(MediaPlayer, WithoutAControlEverythingIsEmpty) {
  MediaPlayer player(nullptr);
  player.InitHosting();
  player.SetUrl("http://x/a.mp3");
  player.Play();
  player.SetVolume("50");
  player.ToggleMute();
  EXPECT_EQ(player.GetPlayState(), kPlayStateUndefined);
  EXPECT_EQ(player.GetStatus(), "");
  EXPECT_EQ(player.GetPosition(), 0);
  EXPECT_EQ(player.GetDuration(), 0);
  EXPECT_EQ(player.GetAuthor(), "未知作者");
  EXPECT_EQ(player.GetBitrateText(), "0 kbit/sec");
  EXPECT_EQ(player.GetBufferingProgress(), "");
}

}  // namespace
}  // namespace orvane
