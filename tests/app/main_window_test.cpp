#include "app/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "app/window_behaviours.h"
#include "lyrics/lyric_settings.h"
#include "platform/qt_desktop.h"
#include "platform/qt_ui.h"
#include "platform/text.h"
#include "station/station.h"
#include "support/fake_ui.h"
#include "support/fakes.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// The real window and overlay, the real HTTP request against the local
// station (or against nothing at all).
class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "orvane-window-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    runDirectory_ = tmpl;
  }
  void TearDown() override { fs::remove_all(runDirectory_); }

  // Builds the program state and the window as start-up does, against `api`.
  void Start(const std::string& api) {
    state_.lyricsWindow = std::make_unique<LyricsWindow>();
    state_.httpRequest = std::make_unique<HttpRequest>();
    state_.service.api = api;
    state_.service.music = api;
    ui_ = std::make_unique<QtUi>();
    ctx_ = std::make_unique<Context>(
        Context{state_, *ui_, desktop_, desktop_, desktop_, http_, runDirectory_});
    ui_->Bind(Ui::kWindow, UiEvent::Destroying, [this] { OnMainWindowClosing(*ctx_); });
    BindWindowBehaviours(*ctx_);
    OnMainWindowCreated(*ctx_);
  }

  std::string SettingsPath() const { return runDirectory_ + "/gcsz.ini"; }
  std::string SettingsBytes() const {
    std::ifstream in(SettingsPath(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  void ExpectIdleStartState() {
    QtUi& ui = *ui_;
    EXPECT_EQ(ui.Caption("提示"), "音量：100");
    EXPECT_EQ(ui.Caption("标签5"), "豆瓣精选 MHz");
    EXPECT_EQ(ui.Caption("标签1"), "Orvane");
    EXPECT_EQ(ui.Caption("标签2"), "当前暂无歌词");
    EXPECT_EQ(ui.Caption("标签3"), "00:00/00:00");
    EXPECT_EQ(ui.Caption(Ui::kWindow), "OrvaneV1.3");
    EXPECT_EQ(state_.channelId, "-10");
    EXPECT_EQ(state_.overlayShown, "");
    ASSERT_TRUE(state_.lyricsWindow->IsCreated());
    EXPECT_FALSE(state_.lyricsWindow->IsShown());
    EXPECT_EQ(state_.lyricsWindow->TextUtf8(), "欢迎进入Orvane");
    // The outer height of 240 keeps the client area whole.
    EXPECT_EQ(ui.window()->size(), QSize(426, 212));
    EXPECT_TRUE(ui.Visible("暂停按钮"));
    EXPECT_FALSE(ui.Visible("继续播放"));
    EXPECT_FALSE(ui.Visible("滑块条1"));
    EXPECT_FALSE(ui.Visible("组合框1"));
    EXPECT_FALSE(ui.Visible("相似歌曲"));
    EXPECT_EQ(ui.Left("外形框1"), 430);
    EXPECT_EQ(ui.Width("进度条_绿"), 0);
    EXPECT_FALSE(ui.AnimationRunning("图片框2"));
    EXPECT_EQ(ui.Period("时钟1"), 100);
    EXPECT_EQ(ui.Period("时钟2"), 0);
    EXPECT_EQ(ui.Period("times"), 0);
    // The panel as a first start shows it.
    EXPECT_EQ(ui.ItemText("字体型号", ui.SelectedItem("字体型号")), "楷体");
    EXPECT_EQ(ui.ItemText("字体大小", ui.SelectedItem("字体大小")), "40");
    EXPECT_EQ(ui.ItemText("文字渐变", ui.SelectedItem("文字渐变")), "两色渐变");
    EXPECT_TRUE(ui.Checked("字体加粗"));
    EXPECT_EQ(ui.Colour("颜色选择器1"), 255);
    EXPECT_EQ(ui.Colour("颜色选择器2"), 65535);
    EXPECT_EQ(ui.Colour("颜色选择器3"), 0);
    EXPECT_FALSE(fs::exists(SettingsPath()));  // nothing written at start
  }

  std::string runDirectory_;
  ProgramState state_;
  QtDesktop desktop_{true};
  FakeHttpGetter http_;
  std::unique_ptr<QtUi> ui_;
  std::unique_ptr<Context> ctx_;
};

TEST_F(MainWindowTest, OpensIdleWithTheStationUp) {
  station::Station station;
  ASSERT_TRUE(station.Start());
  Start(station.BaseUrl());
  ExpectIdleStartState();
  EXPECT_EQ(station.Requests(station::Endpoint::ChannelInfo).size(), 1u);
  EXPECT_TRUE(station.Requests(station::Endpoint::Playlist).empty());
  EXPECT_TRUE(station.Requests(station::Endpoint::Lyric).empty());
  EXPECT_FALSE(state_.channelName.empty());
  EXPECT_TRUE(http_.requested.empty());  // no cover, no album page
}

TEST_F(MainWindowTest, OpensIdleWithTheServiceUnreachable) {
  Start("http://127.0.0.1:1");
  ExpectIdleStartState();
  EXPECT_EQ(state_.channelName, "");
}

TEST_F(MainWindowTest, FirstCloseWritesTheInitialPanelInGbk) {
  Start("http://127.0.0.1:1");
  ui_->Show();
  ASSERT_TRUE(ui_->Close());
  EXPECT_EQ(SettingsBytes(),
            Utf8ToGbk("[GECI]\r\n字体型号=1\r\n字体大小=1\r\n字体加粗=真\r\n字体选中=假\r\n"
                      "字体下划线=假\r\n文字颜色1=255\r\n文字颜色2=65535\r\n文字颜色3=0\r\n"
                      "文字渐变=1\r\n"));
  // The closing handler saves and does nothing else.
  EXPECT_EQ(state_.channelId, "-10");
  EXPECT_FALSE(state_.lyricsWindow->IsShown());
}

TEST_F(MainWindowTest, SavedSettingsAreLoadedAtCreation) {
  std::ofstream(SettingsPath(), std::ios::binary) << Utf8ToGbk(
      "[GECI]\r\n字体型号=2\r\n字体大小=5\r\n字体加粗=假\r\n字体选中=真\r\n文字渐变=0\r\n");
  Start("http://127.0.0.1:1");
  EXPECT_EQ(ui_->ItemText("字体型号", ui_->SelectedItem("字体型号")), "微软雅黑");
  EXPECT_EQ(ui_->ItemText("字体大小", ui_->SelectedItem("字体大小")), "60");
  EXPECT_FALSE(ui_->Checked("字体加粗"));
  EXPECT_TRUE(ui_->Checked("字体倾斜"));
  EXPECT_EQ(ui_->SelectedItem("文字渐变"), 0);
  EXPECT_EQ(ui_->Colour("颜色选择器1"), 0);  // a missing key reads as 0
}

// The order of the creation handler's steps, with the window and the overlay
// as fakes: another handler running in the 60 ms wait finds the start values
// and the overlay already set up, and the channel label not yet written.
class RecordingOverlay : public LyricsWindow {
 public:
  std::vector<std::string> calls;
  bool Create(std::optional<int> w, std::optional<int> h) override {
    calls.push_back(w || h ? "Create(sizes)" : "Create()");
    return true;
  }
  void SetDragMove(bool on) override { calls.push_back(on ? "SetDragMove(1)" : "SetDragMove(0)"); }
  void SetNoClose(bool on) override { calls.push_back(on ? "SetNoClose(1)" : "SetNoClose(0)"); }
  void Hide() override { calls.push_back("Hide"); }
  void Show() override { calls.push_back("Show"); }
  void SetText(std::string_view line, std::optional<int> percent) override {
    calls.push_back("SetText(" + std::string(line) + (percent ? ",%" : "") + ")");
  }
  void SetFont(std::string_view, int, bool, bool, bool) override { calls.push_back("SetFont"); }
  void SetTextStyle(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
    calls.push_back("SetTextStyle");
  }
  void Render() override { calls.push_back("Render"); }
};

TEST(MainWindowCreation, StepsInOrder) {
  ProgramState state;
  auto overlay = std::make_unique<RecordingOverlay>();
  RecordingOverlay* rec = overlay.get();
  state.lyricsWindow = std::move(overlay);
  FakeUi ui;
  ui.control("滑块条1").slider = 100;
  FakeScreen screen;
  FakeClipboard clipboard;
  FakeShell shell;
  FakeHttpGetter http;
  Context ctx{state, ui, screen, clipboard, shell, http, "/nonexistent-orvane-dir"};
  bool checkedInWait = false;
  ui.onWait = [&](int) {
    EXPECT_EQ(state.channelId, "-10");
    EXPECT_EQ(ui.Caption("提示"), "音量：100");
    EXPECT_EQ(rec->calls.size(), 5u);
    EXPECT_EQ(ui.Caption("标签5"), "");
    checkedInWait = true;
  };
  state.overlayShown = "123";
  OnMainWindowCreated(ctx);
  EXPECT_TRUE(checkedInWait);
  EXPECT_EQ(ui.Height(Ui::kWindow), 240);
  EXPECT_EQ(state.overlayShown, "");
  EXPECT_EQ(ui.waits, std::vector<int>{60});
  EXPECT_EQ(rec->calls, (std::vector<std::string>{"Create()", "SetDragMove(1)", "SetNoClose(1)",
                                                  "Hide", "SetText(欢迎进入Orvane)"}));
  EXPECT_EQ(ui.Caption("标签5"), "豆瓣精选 MHz");
}

}  // namespace
}  // namespace orvane
