#include "app/playback_controls.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/channels.h"
#include "service/song_test_rig.h"
#include "station/station.h"

namespace orvane {
namespace {

struct ControlsTest : ::testing::Test {
  SongRig rig;
  void SetUp() override {
    auto& chooser = rig.c("组合框1");
    for (const ChannelItem& item : kChannelItems) chooser.items.emplace_back(item.text);
    chooser.selected = 0;
    BindPlaybackControls(rig.ctx);
  }
  void Fire(std::string_view name, UiEvent event) { ASSERT_TRUE(rig.ui.Fire(name, event)); }
  void Choose(int index) {
    rig.ui.SetSelectedItem("组合框1", index);
    Fire("组合框1", UiEvent::ItemSelected);
  }
  bool PausedLook() { return rig.c("继续播放").visible && !rig.c("暂停按钮").visible; }
  bool PlayingLook() { return rig.c("暂停按钮").visible && !rig.c("继续播放").visible; }
  int Streams() {
    return static_cast<int>(
        std::count_if(rig.media->calls.begin(), rig.media->calls.end(),
                      [](const std::string& s) { return s.rfind("SetUrl:", 0) == 0; }));
  }
  void OpenPopups() {
    rig.ui.SetVisible("滑块条1", true);
    rig.ui.SetVisible("组合框1", true);
    rig.ui.SetVisible("标签5", false);
    rig.ui.SetLeft("外形框1", 182);
  }
};

TEST_F(ControlsTest, PauseAndContinueSwapTheLook) {
  rig.LoadSomething();
  rig.ui.SetAnimationRunning("图片框2", true);
  OpenPopups();
  Fire("暂停按钮", UiEvent::Clicked);
  EXPECT_TRUE(PausedLook());
  EXPECT_FALSE(rig.c("图片框2").animation);
  EXPECT_FALSE(rig.c("滑块条1").visible);
  EXPECT_EQ(rig.c("外形框1").left, 430);
  EXPECT_TRUE(rig.c("组合框1").visible);  // the chooser is not theirs to close

  Fire("继续播放", UiEvent::Clicked);
  EXPECT_TRUE(PlayingLook());
  EXPECT_TRUE(rig.c("图片框2").animation);
  EXPECT_EQ(rig.media->calls, (std::vector<std::string>{"Pause", "Play"}));
}

TEST_F(ControlsTest, PauseBeforeAnySongStillSwaps) {
  Fire("暂停按钮", UiEvent::Clicked);
  EXPECT_TRUE(PausedLook());
  Fire("继续播放", UiEvent::Clicked);
  EXPECT_TRUE(PlayingLook());
  EXPECT_TRUE(rig.c("图片框2").animation);  // although nothing plays
  EXPECT_TRUE(rig.media->calls.empty());    // a player without media ignores both
}

TEST_F(ControlsTest, SeparatorWhilePausedShowsThePauseButtonOnly) {
  rig.LoadSomething();
  Fire("暂停按钮", UiEvent::Clicked);
  rig.state.channelId = "7";
  OpenPopups();
  rig.ui.SetLeft("外形框1", 430);
  Choose(11);
  EXPECT_TRUE(PlayingLook());
  EXPECT_FALSE(rig.c("图片框2").animation);  // the indicator stays still
  EXPECT_EQ(rig.state.channelId, "7");
  EXPECT_EQ(rig.c("标签5").caption, "豆瓣精选 MHz");
  EXPECT_FALSE(rig.c("组合框1").visible);
  EXPECT_TRUE(rig.c("标签5").visible);
  EXPECT_FALSE(rig.c("滑块条1").visible);
  EXPECT_EQ(Streams(), 0);
  // Pressing pause now pauses again (no change) and shows continue.
  Fire("暂停按钮", UiEvent::Clicked);
  EXPECT_TRUE(PausedLook());
  EXPECT_EQ(rig.media->calls, (std::vector<std::string>{"Pause", "Pause"}));
}

TEST_F(ControlsTest, ChoosingAChannelLabelsItAndPlaysFromIt) {
  station::Station station;
  ASSERT_TRUE(station.Start());
  rig.state.httpRequest = std::make_unique<HttpRequest>();
  rig.state.service.api = station.BaseUrl();
  std::string rockName;
  for (const auto& ch : station::Channels())
    if (ch.id == "7") rockName = ch.name;
  ASSERT_FALSE(rockName.empty());

  Fire("暂停按钮", UiEvent::Clicked);
  Choose(13);  // 摇滚
  EXPECT_EQ(rig.state.channelId, "7");
  EXPECT_EQ(rig.state.channelName, rockName);
  EXPECT_EQ(rig.c("标签5").caption, rockName + " MHz");
  EXPECT_TRUE(PlayingLook());
  EXPECT_EQ(Streams(), 1);
  EXPECT_EQ(station.Requests(station::Endpoint::Playlist).back().params.at("channel"), "7");

  // The same channel again starts another song; index 0 has its fixed label.
  Choose(13);
  EXPECT_EQ(Streams(), 2);
  Choose(0);
  EXPECT_EQ(rig.state.channelId, "-10");
  EXPECT_EQ(rig.c("标签5").caption, "豆瓣精选 MHz");
  EXPECT_EQ(Streams(), 3);

  // The service gone: the name is empty and the song is still asked for.
  station.Stop();
  Choose(2);
  EXPECT_EQ(rig.state.channelId, "1");
  EXPECT_EQ(rig.c("标签5").caption, " MHz");
  EXPECT_EQ(Streams(), 4);
}

TEST_F(ControlsTest, NextSongWhilePausedPlaysAndTidies) {
  Fire("暂停按钮", UiEvent::Clicked);
  OpenPopups();
  Fire("下一曲", UiEvent::Clicked);
  EXPECT_EQ(Streams(), 1);
  EXPECT_TRUE(PlayingLook());
  EXPECT_TRUE(rig.c("图片框2").animation);
  EXPECT_FALSE(rig.c("滑块条1").visible);
  EXPECT_EQ(rig.c("外形框1").left, 430);
}

TEST_F(ControlsTest, ChannelLabelTogglesTheChooser) {
  OpenPopups();
  rig.ui.SetVisible("组合框1", false);
  rig.ui.SetVisible("标签5", true);
  Fire("标签5", UiEvent::LeftPressed);
  EXPECT_TRUE(rig.c("组合框1").visible);
  EXPECT_FALSE(rig.c("标签5").visible);
  Fire("标签5", UiEvent::LeftPressed);
  EXPECT_FALSE(rig.c("组合框1").visible);
  EXPECT_TRUE(rig.c("标签5").visible);
  // Slider and panel are left alone.
  EXPECT_TRUE(rig.c("滑块条1").visible);
  EXPECT_EQ(rig.c("外形框1").left, 182);
}

TEST_F(ControlsTest, TidyPressesCloseEveryPopup) {
  for (std::string_view name : {"标签2", "音乐播放外形框"}) {
    OpenPopups();
    Fire(name, UiEvent::LeftPressed);
    EXPECT_FALSE(rig.c("滑块条1").visible) << name;
    EXPECT_FALSE(rig.c("组合框1").visible) << name;
    EXPECT_TRUE(rig.c("标签5").visible) << name;
    EXPECT_EQ(rig.c("外形框1").left, 430) << name;
  }
}

TEST_F(ControlsTest, TitlePressCopiesOnlyWithThePanelClosed) {
  rig.state.currentSong.info(6) = "晴天";
  rig.state.currentSong.info(4) = "周杰伦";
  OpenPopups();
  Fire("标签1", UiEvent::LeftPressed);
  // First press with the panel open: only closes it.
  EXPECT_EQ(rig.c("外形框1").left, 430);
  EXPECT_EQ(rig.clipboard.writes, 0);
  EXPECT_EQ(rig.c("提示").caption, "音量：100");
  EXPECT_EQ(rig.c("时钟2").period, 0);
  EXPECT_FALSE(rig.c("滑块条1").visible);
  EXPECT_FALSE(rig.c("组合框1").visible);

  Fire("标签1", UiEvent::LeftPressed);
  EXPECT_EQ(rig.clipboard.text, "晴天 周杰伦");
  EXPECT_EQ(rig.c("提示").caption, "歌曲信息已复制");
  EXPECT_EQ(rig.c("时钟2").period, 1000);
  EXPECT_EQ(rig.c("时钟2").periodWrites, 1);

  // A second press within the second copies again but keeps the deadline.
  Fire("标签1", UiEvent::LeftPressed);
  EXPECT_EQ(rig.clipboard.writes, 2);
  EXPECT_EQ(rig.c("时钟2").periodWrites, 1);
}

TEST_F(ControlsTest, TitlePressBeforeAnySongCopiesASpace) {
  Fire("标签1", UiEvent::LeftPressed);
  EXPECT_EQ(rig.clipboard.text, " ");
  EXPECT_EQ(rig.c("提示").caption, "歌曲信息已复制");
}

TEST_F(ControlsTest, CoverOpensTheAlbumPageOnlyAfterTheFirstSongAndOnSite) {
  struct Case {
    const char* name;
    std::string status, album;
    std::vector<std::string> opened;
  };
  const Case cases[] = {
      {"before the first song", "", "\\/subject\\/2170967\\/", {}},
      {"album page",
       kNowPlaying,
       "\\/subject\\/2170967\\/",
       {"https://music.example/subject/2170967/"}},
      {"album path without subject", kNowPlaying, "\\/musician\\/1\\/", {}},
      {"empty album", kNowPlaying, "", {}},
      {"Subject is case-sensitive", kNowPlaying, "\\/Subject\\/1\\/", {}},
      {"user-info host", kNowPlaying, "@elsewhere.example\\/subject\\/1\\/", {}},
      {"scheme-relative path", kNowPlaying, "\\/\\/evil.example\\/subject", {}},
      {"other port", kNowPlaying, ":8080\\/subject\\/1\\/", {}},
  };
  for (const Case& c : cases) {
    rig.shell.opened.clear();
    rig.state.currentSong.status = c.status;
    rig.state.currentSong.album = c.album;
    OpenPopups();
    Fire("图片框1", UiEvent::LeftPressed);
    EXPECT_EQ(rig.shell.opened, c.opened) << c.name;
    EXPECT_FALSE(rig.c("滑块条1").visible) << c.name;
    EXPECT_FALSE(rig.c("组合框1").visible) << c.name;
    EXPECT_EQ(rig.c("外形框1").left, 182) << c.name;  // the panel is not the cover's
  }
}

}  // namespace
}  // namespace orvane
