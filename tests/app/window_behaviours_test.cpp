#include "app/window_behaviours.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/context.h"
#include "support/fake_media_control.h"
#include "support/fake_ui.h"
#include "support/fakes.h"

namespace orvane {
namespace {

struct DockCase {
  const char* what;
  int left, top;  // the window before the tick
  int mx, my;     // the pointer
  int wantLeft, wantTop;
};

// A 432 x 240 window on a 1366 x 768 primary screen: SW - W = 934, SH - H = 528.
const DockCase kDockCases[] = {
    {"(0,0) never hides", 0, 0, 1000, 600, 0, 0},
    {"free window stays", 400, 300, 1000, 700, 400, 300},
    {"top edge, pointer below: hides", 400, 0, 500, 400, 400, -237},
    {"top edge, pointer inside: stays", 400, 0, 500, 100, 400, 0},
    {"above the top, pointer away: hides", 400, -50, 100, 600, 400, -237},
    {"hidden at top, pointer in top rows within width: shows", 400, -237, 500, 2, 400, 0},
    {"hidden at top, pointer at row 3: stays hidden", 400, -237, 500, 3, 400, -237},
    {"hidden at top, pointer above its left edge: stays hidden", 400, -237, 400, 1, 400, -237},
    {"hidden at top, pointer in top rows left of it: stays hidden", 400, -237, 300, 1, 400, -237},
    {"left edge, pointer right of W: hides", 0, 300, 800, 400, -429, 300},
    {"hidden at left, pointer in column 2: shows", -429, 300, 2, 400, 0, 300},
    {"hidden at left, pointer in column 3: stays hidden", -429, 300, 3, 400, -429, 300},
    {"hidden at left, pointer level with its top: stays hidden", -429, 300, 1, 300, -429, 300},
    {"right edge, pointer left of SW - W: hides", 934, 300, 500, 400, 1363, 300},
    {"hidden at right, pointer at SW - 3: stays hidden", 1363, 300, 1363, 400, 1363, 300},
    {"hidden at right, pointer at SW - 2: shows", 1363, 300, 1364, 400, 934, 300},
    {"hidden at right, pointer at SW - 1: shows", 1363, 300, 1365, 400, 934, 300},
    {"free window, pointer at the right columns: pulled to the edge", 400, 300, 1365, 400, 934,
     300},
    {"free window, pointer at the right columns level with its top: stays", 400, 300, 1365, 300,
     400, 300},
    {"window on a monitor to the right counts as docked", 1500, 300, 1600, 100, 1363, 300},
    {"bottom edge at the left: no hiding", 0, 528, 800, 100, 0, 528},
    {"bottom edge at the right: no hiding", 934, 528, 100, 100, 934, 528},
    {"below the bottom: no hiding", 0, 600, 800, 100, 0, 600},
    {"top-left corner, pointer away: to (0,1), then hides left", -10, -10, 800, 400, -429, 1},
    {"top-left corner, pointer over it: to (0,1)", -10, -10, 100, 100, 0, 1},
    {"top-right corner, pointer away: to (SW-W-1,0), then hides up", 1000, -5, 500, 500, 933, -237},
    {"top-right corner, pointer over it: to (SW-W-1,0)", 1000, -5, 1100, 100, 933, 0},
};

TEST(DockAtScreenEdge, Cases) {
  for (const DockCase& c : kDockCases) {
    SCOPED_TRACE(c.what);
    FakeUi ui;
    auto& window = ui.control(Ui::kWindow);
    window.left = c.left;
    window.top = c.top;
    window.width = 432;
    window.height = 240;
    FakeScreen screen;
    screen.pointer = {c.mx, c.my};
    DockAtScreenEdge(ui, screen);
    EXPECT_EQ(ui.Left(Ui::kWindow), c.wantLeft);
    EXPECT_EQ(ui.Top(Ui::kWindow), c.wantTop);
    EXPECT_EQ(ui.Width(Ui::kWindow), 432);  // the size never changes
    EXPECT_EQ(ui.Height(Ui::kWindow), 240);
  }
}

// The hide-and-reveal cycle over several ticks, with the window's real size
// (here a frame-less 426 x 212 as under a display without a window manager).
TEST(DockAtScreenEdge, UsesTheWindowsRealSize) {
  FakeUi ui;
  auto& window = ui.control(Ui::kWindow);
  window.width = 426;
  window.height = 212;
  window.left = 940;  // SW - W = 940
  window.top = 200;
  FakeScreen screen;
  screen.pointer = {100, 100};
  DockAtScreenEdge(ui, screen);
  EXPECT_EQ(ui.Left(Ui::kWindow), 1363);
  screen.pointer = {1365, 300};
  DockAtScreenEdge(ui, screen);
  EXPECT_EQ(ui.Left(Ui::kWindow), 940);
}

class RecordingPlayer : public MediaPlayer {
 public:
  RecordingPlayer() : MediaPlayer(nullptr) {}
  std::vector<std::string> volumes;
  void SetVolume(std::string_view v) override { volumes.emplace_back(v); }
};

class WindowBehavioursTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto player = std::make_unique<RecordingPlayer>();
    player_ = player.get();
    state_.player = std::move(player);
    ui_.control("外形框1").left = 430;
    ui_.control("滑块条1").visible = false;
    ui_.control("滑块条1").slider = 100;
    ui_.control("时钟1");
    BindWindowBehaviours(ctx_);
  }

  ProgramState state_;
  FakeUi ui_;
  FakeScreen screen_;
  FakeClipboard clipboard_;
  FakeShell shell_;
  FakeHttpGetter http_;
  Context ctx_{state_, ui_, screen_, clipboard_, shell_, http_, "/nonexistent"};
  RecordingPlayer* player_ = nullptr;
};

TEST_F(WindowBehavioursTest, DockingTimerRunsAtTenPerSecond) {
  EXPECT_EQ(ui_.Period("时钟1"), 100);
  auto& window = ui_.control(Ui::kWindow);
  window.width = 432;
  window.height = 240;
  window.left = 400;
  window.top = 0;
  screen_.pointer = {500, 500};
  ASSERT_TRUE(ui_.Fire("时钟1", UiEvent::Tick));
  EXPECT_EQ(ui_.Top(Ui::kWindow), -237);
}

TEST_F(WindowBehavioursTest, SettingsButtonOpensAndClosesThePanel) {
  ui_.SetVisible("滑块条1", true);
  ui_.Fire("设置", UiEvent::Clicked);
  EXPECT_EQ(ui_.Left("外形框1"), 182);
  EXPECT_FALSE(ui_.Visible("滑块条1"));
  ui_.Fire("设置", UiEvent::Clicked);
  EXPECT_EQ(ui_.Left("外形框1"), 430);
  ui_.SetLeft("外形框1", 300);  // anywhere but closed counts as open
  ui_.Fire("设置", UiEvent::Clicked);
  EXPECT_EQ(ui_.Left("外形框1"), 430);
}

TEST_F(WindowBehavioursTest, VolumeButtonTogglesTheSlider) {
  ui_.Fire("音量", UiEvent::Clicked);
  EXPECT_TRUE(ui_.Visible("滑块条1"));
  ui_.Fire("音量", UiEvent::Clicked);
  EXPECT_FALSE(ui_.Visible("滑块条1"));
  EXPECT_EQ(ui_.Left("外形框1"), 430);
}

TEST_F(WindowBehavioursTest, EveryStepSetsTheVolumeAndTheTipAndReleaseHides) {
  ui_.SetVisible("滑块条1", true);
  for (int position : {99, 94, 60}) {
    ui_.SetSliderPosition("滑块条1", position);
    ui_.Fire("滑块条1", UiEvent::PositionChanged);
    EXPECT_EQ(ui_.Caption("提示"), "音量：" + std::to_string(position));
  }
  EXPECT_EQ(player_->volumes, (std::vector<std::string>{"99", "94", "60"}));
  ui_.Fire("滑块条1", UiEvent::LeftReleased);
  EXPECT_FALSE(ui_.Visible("滑块条1"));
  EXPECT_EQ(ui_.Caption("提示"), "音量：60");
}

TEST_F(WindowBehavioursTest, TipTimerRestoresTheVolumeOnceAndStops) {
  ui_.SetCaption("提示", "歌曲信息已复制");
  ui_.SetPeriod("时钟2", 1000);
  ui_.SetSliderPosition("滑块条1", 42);
  ui_.Fire("时钟2", UiEvent::Tick);
  EXPECT_EQ(ui_.Caption("提示"), "音量：42");
  EXPECT_EQ(ui_.Period("时钟2"), 0);
}

TEST_F(WindowBehavioursTest, SliderWithoutAPlayerStillShowsTheVolume) {
  state_.player.reset();
  ui_.SetSliderPosition("滑块条1", 7);
  ui_.Fire("滑块条1", UiEvent::PositionChanged);
  EXPECT_EQ(ui_.Caption("提示"), "音量：7");
}

}  // namespace
}  // namespace orvane
