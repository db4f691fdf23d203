#include "lyrics/lyric_settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/text.h"
#include "support/fake_ui.h"
#include "support/fakes.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

// Records the overlay calls, in one log with the waits of the window.
class FakeLyricsWindow : public LyricsWindow {
 public:
  explicit FakeLyricsWindow(std::vector<std::string>& log) : log_(log) {}
  bool Create(std::optional<int>, std::optional<int>) override { return Log("Create"); }
  void SetFont(std::string_view family, int size, bool bold, bool italic, bool underline) override {
    Log("SetFont(" + std::string(family) + "," + std::to_string(size) + "," + B(bold) + B(italic) +
        B(underline) + ")");
  }
  void SetTextStyle(std::int32_t c1, std::int32_t c2, std::int32_t outline,
                    std::int32_t mode) override {
    Log("SetTextStyle(" + std::to_string(c1) + "," + std::to_string(c2) + "," +
        std::to_string(outline) + "," + std::to_string(mode) + ")");
  }
  void Show() override { Log("Show"); }
  void Hide() override { Log("Hide"); }
  void SetDragMove(bool) override { Log("SetDragMove"); }
  void SetNoClose(bool) override { Log("SetNoClose"); }
  void SetText(std::string_view line, std::optional<int>) override {
    Log("SetText(" + std::string(line) + ")");
  }
  void Render() override { Log("Render"); }

 private:
  static std::string B(bool b) { return b ? "1" : "0"; }
  bool Log(std::string s) {
    log_.push_back(std::move(s));
    return true;
  }
  std::vector<std::string>& log_;
};

// The settings panel as the window starts with it.
void AddPanel(FakeUi& ui) {
  auto combo = [&](const char* name, std::vector<std::string> items, int selected) {
    auto& c = ui.AddControl(name);
    c.items = std::move(items);
    c.selected = selected;
  };
  combo("字体型号", {"黑体", "楷体", "微软雅黑"}, 1);
  combo("字体大小", {"30", "40", "45", "50", "55", "60"}, 1);
  combo("文字渐变", {"无渐变", "两色渐变", "三色渐变"}, 1);
  ui.AddControl("字体加粗").checked = true;
  ui.AddControl("字体倾斜").checked = false;
  ui.AddControl("字体下划线").checked = false;
  ui.AddControl("颜色选择器1").colour = 255;
  ui.AddControl("颜色选择器2").colour = 65535;
  ui.AddControl("颜色选择器3").colour = 0;
  ui.AddControl("外形框1").left = 430;
  ui.AddControl("滑块条1").visible = false;
}

class LyricSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "orvane-lyrics-XXXXXX").string();
    ASSERT_NE(::mkdtemp(tmpl.data()), nullptr);
    ctx_.runDirectory = tmpl;
    state_.lyricsWindow = std::make_unique<FakeLyricsWindow>(log_);
    AddPanel(ui_);
    ui_.onWait = [this](int ms) { log_.push_back("wait " + std::to_string(ms)); };
  }
  void TearDown() override { fs::remove_all(ctx_.runDirectory); }

  std::string Path() const { return ctx_.runDirectory + "/gcsz.ini"; }
  void WriteSettings(const std::string& utf8) const {
    std::ofstream(Path(), std::ios::binary) << Utf8ToGbk(utf8);
  }
  std::string ReadSettingsBytes() const {
    std::ifstream in(Path(), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

  std::vector<std::string> log_;
  ProgramState state_;
  FakeUi ui_;
  FakeScreen screen_;
  FakeClipboard clipboard_;
  FakeShell shell_;
  FakeHttpGetter http_;
  Context ctx_{state_, ui_, screen_, clipboard_, shell_, http_, ""};
};

TEST_F(LyricSettingsTest, NoFileLeavesThePanelAndTheOverlayAlone) {
  LoadLyricSettings(ctx_);
  EXPECT_TRUE(log_.empty());
  EXPECT_EQ(ui_.SelectedItem("字体型号"), 1);
  EXPECT_TRUE(ui_.Checked("字体加粗"));
  EXPECT_EQ(ui_.Colour("颜色选择器2"), 65535);
  EXPECT_FALSE(fs::exists(Path()));
}

struct LoadCase {
  const char* what;
  const char* file;  // the GECI section's lines
  int font, size, gradient;
  bool bold, italic, underline;
  std::int32_t c1, c2, c3;
  std::vector<std::string> calls;
};

const LoadCase kLoadCases[] = {
    {"the values a first close writes",
     "字体型号=1\n字体大小=1\n字体加粗=真\n字体选中=假\n字体下划线=假\n文字颜色1=255\n文字颜色2="
     "65535\n文字颜色3=0\n文字渐变=1\n",
     1,
     1,
     1,
     true,
     false,
     false,
     255,
     65535,
     0,
     {"SetFont(楷体,40,100)", "SetTextStyle(255,65535,0,1)", "Render"}},
    {"italic is kept under 字体选中",
     "字体选中=真\n",
     0,
     0,
     0,
     false,
     true,
     false,
     0,
     0,
     0,
     {"SetFont(黑体,30,010)", "SetTextStyle(0,0,0,0)", "Render"}},
    {"a key named 字体倾斜 is not read",
     "字体倾斜=真\n",
     0,
     0,
     0,
     false,
     false,
     false,
     0,
     0,
     0,
     {"SetFont(黑体,30,000)", "SetTextStyle(0,0,0,0)", "Render"}},
    {"only 真 checks a box",
     "字体加粗=1\n字体选中=true\n字体下划线=TRUE\n",
     0,
     0,
     0,
     false,
     false,
     false,
     0,
     0,
     0,
     {"SetFont(黑体,30,000)", "SetTextStyle(0,0,0,0)", "Render"}},
    {"missing keys: 黑体, 30, 无渐变, black",
     "",
     0,
     0,
     0,
     false,
     false,
     false,
     0,
     0,
     0,
     {"SetFont(黑体,30,000)", "SetTextStyle(0,0,0,0)", "Render"}},
    {"solid blue",
     "文字颜色1=16711680\n文字渐变=0\n",
     0,
     0,
     0,
     false,
     false,
     false,
     16711680,
     0,
     0,
     {"SetFont(黑体,30,000)", "SetTextStyle(16711680,0,0,0)", "Render"}},
    {"numbers read as atof reads them, truncated",
     "字体型号=  "
     "2.9kg\n字体大小=5\n文字颜色1=1.6711680e7\n文字颜色2=-0.5\n文字颜色3=abc\n文字渐变=+1\n",
     2,
     5,
     1,
     false,
     false,
     false,
     16711680,
     0,
     0,
     {"SetFont(微软雅黑,60,000)", "SetTextStyle(16711680,0,0,1)", "Render"}},
    {"item numbers outside a list select its nearest end",
     "字体型号=-5\n字体大小=99\n文字渐变=3\n",
     0,
     5,
     2,
     false,
     false,
     false,
     0,
     0,
     0,
     {"SetFont(黑体,60,000)", "SetTextStyle(0,0,0,2)", "Render"}},
    {"huge numbers stay within int32",
     "文字颜色1=1e300\n文字颜色2=-1e300\n文字颜色3=nan\n字体型号=1e300\n",
     2,
     0,
     0,
     false,
     false,
     false,
     INT32_MAX,
     INT32_MIN,
     0,
     {"SetFont(微软雅黑,30,000)", "SetTextStyle(2147483647,-2147483648,0,0)", "Render"}},
};

TEST_F(LyricSettingsTest, LoadPutsTheFileIntoThePanelAndAppliesIt) {
  for (const LoadCase& c : kLoadCases) {
    SCOPED_TRACE(c.what);
    ui_ = FakeUi();
    AddPanel(ui_);
    log_.clear();
    WriteSettings(std::string("[GECI]\r\n") + c.file);
    LoadLyricSettings(ctx_);
    EXPECT_EQ(ui_.SelectedItem("字体型号"), c.font);
    EXPECT_EQ(ui_.SelectedItem("字体大小"), c.size);
    EXPECT_EQ(ui_.SelectedItem("文字渐变"), c.gradient);
    EXPECT_EQ(ui_.Checked("字体加粗"), c.bold);
    EXPECT_EQ(ui_.Checked("字体倾斜"), c.italic);
    EXPECT_EQ(ui_.Checked("字体下划线"), c.underline);
    EXPECT_EQ(ui_.Colour("颜色选择器1"), c.c1);
    EXPECT_EQ(ui_.Colour("颜色选择器2"), c.c2);
    EXPECT_EQ(ui_.Colour("颜色选择器3"), c.c3);
    EXPECT_EQ(log_, c.calls);
  }
}

TEST_F(LyricSettingsTest, SaveWritesTheNineKeysInOrderInGbk) {
  ui_.SetSelectedItem("字体大小", 5);  // "60": the file keeps the item number
  ui_.SetChecked("字体倾斜", true);
  SaveLyricSettings(ctx_);
  EXPECT_EQ(
      ReadSettingsBytes(),
      Utf8ToGbk(
          "[GECI]\r\n字体型号=1\r\n字体大小=5\r\n字体加粗=真\r\n字体选中=真\r\n"
          "字体下划线=假\r\n文字颜色1=255\r\n文字颜色2=65535\r\n文字颜色3=0\r\n文字渐变=1\r\n"));
  EXPECT_TRUE(log_.empty());  // saving applies nothing
}

TEST_F(LyricSettingsTest, SaveIntoAnUnwritablePlaceIsSilent) {
  ctx_.runDirectory += "/missing/dir";
  SaveLyricSettings(ctx_);
  EXPECT_FALSE(fs::exists(Path()));
}

TEST_F(LyricSettingsTest, ApplyRendersEachStepWaitsSavesAndClosesThePanel) {
  ui_.SetLeft("外形框1", 182);
  ui_.SetSelectedItem("字体大小", 5);
  ui_.SetColour("颜色选择器1", 16711680);
  ui_.onWait = [this](int ms) {
    log_.push_back("wait " + std::to_string(ms));
    // Nothing is saved and the panel stays open until both steps are done.
    EXPECT_FALSE(fs::exists(Path()));
    EXPECT_EQ(ui_.Left("外形框1"), 182);
  };
  ASSERT_NO_FATAL_FAILURE(BindLyricSettings(ctx_));
  ASSERT_TRUE(ui_.Fire("设置2", UiEvent::Clicked));
  EXPECT_EQ(log_,
            (std::vector<std::string>{"SetFont(楷体,60,100)", "Render", "wait 60",
                                      "SetTextStyle(16711680,65535,0,1)", "Render", "wait 60"}));
  EXPECT_EQ(ui_.waits, (std::vector<int>{60, 60}));
  EXPECT_NE(ReadSettingsBytes().find(Utf8ToGbk("文字颜色1=16711680\r\n")), std::string::npos);
  EXPECT_EQ(ui_.Left("外形框1"), 430);
}

TEST_F(LyricSettingsTest, LyricsButtonAlternatesAndHidesTheSlider) {
  BindLyricSettings(ctx_);
  for (int press = 0; press < 4; ++press) {
    ui_.SetVisible("滑块条1", true);
    ui_.Fire("歌词显示", UiEvent::Clicked);
    EXPECT_FALSE(ui_.Visible("滑块条1"));
    EXPECT_EQ(state_.overlayShown, press % 2 == 0 ? "123" : "");
  }
  EXPECT_EQ(log_, (std::vector<std::string>{"Show", "Hide", "Show", "Hide"}));
}

TEST(SettingNumber, ReadsLikeAtofAndStaysInRange) {
  struct Case {
    const char* text;
    std::int32_t want;
  };
  for (const Case& c :
       {Case{"", 0}, Case{"abc", 0}, Case{"  42", 42}, Case{"-3.9", -3}, Case{"7e2", 700},
        Case{"2147483648", INT32_MAX}, Case{"4294967295", INT32_MAX}, Case{"-1e300", INT32_MIN},
        Case{"inf", INT32_MAX}, Case{"nan", 0}, Case{"1,5", 1}}) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SettingNumber(c.text), c.want);
  }
}

}  // namespace
}  // namespace orvane
