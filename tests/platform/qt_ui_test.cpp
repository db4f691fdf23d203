#include "platform/qt_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QMouseEvent>
#include <QSlider>
#include <string>
#include <vector>

#include "app/channels.h"
#include "platform/qt_label.h"
#include "platform/qt_picture_box.h"
#include "platform/qt_picture_button.h"

namespace orvane {
namespace {

struct Row {
  const char* name;
  const char* kind;
  const char* container;
  int x, y, w, h;
  bool visible;
};

// The window's layout as a user of the program must find it.
const Row kLayout[] = {
    {"外形框1", "shape box", "", 430, -3, 248, 216, true},
    {"设置", "picture button", "", 257, 118, 20, 20, true},
    {"继续播放", "picture button", "", 310, 162, 30, 30, false},
    {"音乐播放外形框", "shape box", "", -16, -1, 649, 217, true},
    {"时钟1", "timer", "", 0, 0, 0, 0, false},
    {"时钟2", "timer", "", 0, 0, 0, 0, false},
    {"times", "timer", "", 0, 0, 0, 0, false},
    {"相似歌曲", "picture button", "音乐播放外形框", 272, 163, 30, 30, false},
    {"滑块条1", "slider", "音乐播放外形框", 136, 120, 129, 19, false},
    {"图片框2", "picture box", "音乐播放外形框", 32, 17, 20, 20, true},
    {"歌词显示", "picture button", "音乐播放外形框", 245, 120, 20, 19, true},
    {"标签5", "label", "音乐播放外形框", 55, 15, 225, 24, true},
    {"音量", "picture button", "音乐播放外形框", 111, 118, 20, 20, true},
    {"标签4", "label", "音乐播放外形框", 180, 120, 56, 20, true},
    {"提示", "label", "音乐播放外形框", 36, 186, 144, 20, true},
    {"下一曲", "picture button", "音乐播放外形框", 379, 163, 30, 30, true},
    {"暂停按钮", "picture button", "音乐播放外形框", 326, 163, 30, 30, true},
    {"组合框1", "combo box", "音乐播放外形框", 56, 18, 99, 20, false},
    {"标签3", "label", "音乐播放外形框", 36, 119, 80, 20, true},
    {"进度条_绿", "shape box", "音乐播放外形框", 36, 142, 0, 3, true},
    {"进度条_灰", "shape box", "音乐播放外形框", 36, 142, 390, 3, true},
    {"标签2", "label", "音乐播放外形框", 34, 86, 263, 24, true},
    {"标签1", "label", "音乐播放外形框", 34, 41, 263, 46, true},
    {"图片框1", "picture box", "音乐播放外形框", 306, 16, 120, 120, true},
    {"设置2", "push button", "外形框1", 165, 160, 69, 35, true},
    {"设置分组框1", "group box", "外形框1", 8, 11, 234, 197, true},
    {"颜色选择器3", "colour picker", "设置分组框1", 69, 138, 50, 20, true},
    {"颜色选择器1", "colour picker", "设置分组框1", 69, 114, 50, 20, true},
    {"颜色选择器2", "colour picker", "设置分组框1", 125, 114, 50, 20, true},
    {"文字渐变", "combo box", "设置分组框1", 69, 162, 83, 20, true},
    {"设置标签2", "label", "设置分组框1", 8, 116, 64, 64, true},
    {"字体下划线", "check box", "设置分组框1", 72, 90, 85, 20, true},
    {"字体倾斜", "check box", "设置分组框1", 150, 67, 76, 20, true},
    {"字体加粗", "check box", "设置分组框1", 72, 67, 72, 20, true},
    {"字体大小", "combo box", "设置分组框1", 72, 43, 140, 20, true},
    {"字体型号", "combo box", "设置分组框1", 72, 19, 140, 20, true},
    {"设置标签", "label", "设置分组框1", 8, 20, 80, 72, true},
};

TEST(QtUiLayout, EveryControlSitsWhereTheLayoutPutsIt) {
  QtUi ui;
  std::vector<std::string> expectedNames;
  for (const Row& r : kLayout) expectedNames.emplace_back(r.name);
  EXPECT_EQ(ui.ControlNames(), expectedNames);

  for (const Row& r : kLayout) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(ui.KindOf(r.name), r.kind);
    EXPECT_EQ(ui.ContainerOf(r.name), r.container);
    if (std::string(r.kind) == "timer") {
      EXPECT_EQ(ui.widget(r.name), nullptr);
      continue;
    }
    QWidget* w = ui.widget(r.name);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->objectName().toStdString(), r.name);
    QWidget* container = *r.container ? ui.widget(r.container) : ui.window();
    EXPECT_EQ(w->parentWidget(), container);
    EXPECT_EQ(
        (std::vector<int>{ui.Left(r.name), ui.Top(r.name), ui.Width(r.name), ui.Height(r.name)}),
        (std::vector<int>{r.x, r.y, r.w, r.h}));
    EXPECT_EQ(ui.Visible(r.name), r.visible);
  }
}

// Within a container the control listed first is drawn over the later ones.
TEST(QtUiLayout, FirstListedIsOnTop) {
  QtUi ui;
  for (std::size_t i = 0; i + 1 < std::size(kLayout); ++i) {
    const Row& upper = kLayout[i];
    const Row& lower = kLayout[i + 1];
    if (std::string(upper.container) != lower.container || std::string(upper.kind) == "timer" ||
        std::string(lower.kind) == "timer")
      continue;
    SCOPED_TRACE(std::string(upper.name) + " over " + lower.name);
    const QObjectList& siblings = ui.widget(upper.name)->parentWidget()->children();
    EXPECT_GT(siblings.indexOf(ui.widget(upper.name)), siblings.indexOf(ui.widget(lower.name)));
  }
}

TEST(QtUiLayout, StartContent) {
  QtUi ui;
  EXPECT_EQ(ui.Caption(Ui::kWindow), "OrvaneV1.3");
  EXPECT_FALSE(ui.window()->windowIcon().isNull());
  EXPECT_EQ(ui.window()->windowIcon().pixmap(64, 64).size(), QSize(64, 64));
  const Qt::WindowFlags flags = ui.window()->windowFlags();
  EXPECT_TRUE(flags & Qt::WindowMinimizeButtonHint);
  EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(ui.window()->minimumSize(), ui.window()->maximumSize());  // not resizable

  EXPECT_EQ(ui.Caption("标签1"), "Orvane");
  EXPECT_EQ(ui.Caption("标签2"), "当前暂无歌词");
  EXPECT_EQ(ui.Caption("标签5"), "豆瓣精选 MHz");
  EXPECT_EQ(ui.Caption("标签3"), "00:00/00:00");
  EXPECT_EQ(ui.Caption("标签4"), "128kbs");
  EXPECT_EQ(ui.Caption("提示"), "OrvaneV1.3");
  EXPECT_EQ(ui.Caption("设置2"), "设置");
  EXPECT_EQ(ui.Caption("设置分组框1"), "歌词设置");
  EXPECT_EQ(ui.Caption("设置标签"), "字体名称：\r\n\r\n字体大小：\r\n\r\n字体样式：");

  ASSERT_EQ(ui.ItemCount("组合框1"), 32);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(ui.ItemText("组合框1", i), kChannelItems[i].text);
  EXPECT_EQ(ui.SelectedItem("组合框1"), 0);
  struct Combo {
    const char* name;
    std::vector<std::string> items;
    int selected;
  };
  for (const Combo& c : {Combo{"文字渐变", {"无渐变", "两色渐变", "三色渐变"}, 1},
                         Combo{"字体大小", {"30", "40", "45", "50", "55", "60"}, 1},
                         Combo{"字体型号", {"黑体", "楷体", "微软雅黑"}, 1}}) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> items;
    for (int i = 0; i < ui.ItemCount(c.name); ++i) items.push_back(ui.ItemText(c.name, i));
    EXPECT_EQ(items, c.items);
    EXPECT_EQ(ui.SelectedItem(c.name), c.selected);
  }
  EXPECT_TRUE(ui.Checked("字体加粗"));
  EXPECT_FALSE(ui.Checked("字体倾斜"));
  EXPECT_FALSE(ui.Checked("字体下划线"));
  EXPECT_EQ(ui.Caption("字体下划线"), "字体下划线");
  EXPECT_EQ(ui.Colour("颜色选择器1"), 255);
  EXPECT_EQ(ui.Colour("颜色选择器2"), 65535);
  EXPECT_EQ(ui.Colour("颜色选择器3"), 0);
  EXPECT_EQ(ui.SliderPosition("滑块条1"), 100);
  auto* slider = static_cast<QSlider*>(ui.widget("滑块条1"));
  EXPECT_EQ(slider->minimum(), 1);
  EXPECT_EQ(slider->pageStep(), 5);
  EXPECT_EQ(slider->singleStep(), 1);
  EXPECT_TRUE(ui.HasPicture("图片框1"));
  EXPECT_TRUE(ui.HasPicture("图片框2"));
  EXPECT_FALSE(ui.AnimationRunning("图片框2"));
  EXPECT_EQ(ui.Period("时钟1"), 100);
  EXPECT_EQ(ui.Period("时钟2"), 0);
  EXPECT_EQ(ui.Period("times"), 0);
}

TEST(QtUiLayout, LabelLooks) {
  struct Look {
    const char* name;
    int pixels;
    QColor colour;
  };
  QtUi ui;
  for (const Look& l :
       {Look{"标签1", 21, QColor(3, 3, 3)}, Look{"标签2", 14, QColor(128, 128, 128)},
        Look{"标签5", 14, QColor(47, 152, 66)}, Look{"标签3", 12, QColor(145, 145, 145)},
        Look{"提示", 12, QColor(145, 145, 145)}, Look{"标签4", 12, QColor(145, 145, 145)}}) {
    SCOPED_TRACE(l.name);
    QWidget* w = ui.widget(l.name);
    EXPECT_EQ(w->font().pixelSize(), l.pixels);
    EXPECT_EQ(w->font().families().value(0), "WenQuanYi Micro Hei");
    // Drawn in its colour on white.
    QImage image = w->grab().toImage();
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::white));
    bool found = false;
    for (int y = 0; y < image.height() && !found; ++y)
      for (int x = 0; x < image.width() && !found; ++x) found = image.pixelColor(x, y) == l.colour;
    EXPECT_TRUE(found);
  }
  // 标签4 is right-aligned: its ink ends near the right edge.
  QImage bitrate = ui.widget("标签4")->grab().toImage();
  int rightmostInk = -1;
  for (int y = 0; y < bitrate.height(); ++y)
    for (int x = 0; x < bitrate.width(); ++x)
      if (bitrate.pixelColor(x, y) != QColor(Qt::white)) rightmostInk = std::max(rightmostInk, x);
  EXPECT_GE(rightmostInk, bitrate.width() - 3);
}

// Every picture button has its own picture for normal, pointer-over and pressed.
TEST(QtUiLayout, PictureButtonsHaveAPicturePerState) {
  QtUi ui;
  for (const Row& r : kLayout) {
    if (std::string(r.kind) != "picture button") continue;
    SCOPED_TRACE(r.name);
    auto* button = dynamic_cast<QtPictureButton*>(ui.widget(r.name));
    ASSERT_NE(button, nullptr);
    const QImage normal = button->stateImage(QtPictureButton::kNormal);
    const QImage hover = button->stateImage(QtPictureButton::kHover);
    const QImage pressed = button->stateImage(QtPictureButton::kPressed);
    EXPECT_EQ(normal.size(), QSize(r.w, r.h));
    int inked = 0;
    for (int y = 0; y < normal.height(); ++y)
      for (int x = 0; x < normal.width(); ++x) inked += qAlpha(normal.pixel(x, y)) > 0;
    EXPECT_GT(inked, r.w * r.h / 10);  // a picture, not an empty square
    EXPECT_NE(normal, hover);
    EXPECT_NE(hover, pressed);
    EXPECT_NE(normal, pressed);
  }
}

TEST(QtUiWindow, OuterFrameAndTheCreationHeight) {
  QtUi ui;
  EXPECT_EQ(ui.window()->size(), QSize(426, 212));
  // No frame is drawn here (offscreen): the layout's frame stands in, so the
  // 240 outer height is the 212 client height and reads back as 240.
  ui.SetHeight(Ui::kWindow, 240);
  EXPECT_EQ(ui.window()->size(), QSize(426, 212));
  EXPECT_EQ(ui.Width(Ui::kWindow), 432);
  EXPECT_EQ(ui.Height(Ui::kWindow), 240);
  ui.SetWidth(Ui::kWindow, 432);
  EXPECT_EQ(ui.window()->size(), QSize(426, 212));
  // Centred by the 432 x 240 outer size on the 1366 x 768 screen.
  EXPECT_EQ(ui.Left(Ui::kWindow), (1366 - 432) / 2);
  EXPECT_EQ(ui.Top(Ui::kWindow), (768 - 240) / 2);
  ui.Show();
  ui.Move(Ui::kWindow, -10, 5);
  EXPECT_EQ(ui.Left(Ui::kWindow), -10);
  EXPECT_EQ(ui.Top(Ui::kWindow), 5);
  EXPECT_EQ(ui.window()->frameGeometry().topLeft(), QPoint(-10, 5));
  ui.SetTop(Ui::kWindow, -237);
  EXPECT_EQ(ui.Left(Ui::kWindow), -10);
  EXPECT_EQ(ui.Top(Ui::kWindow), -237);
  ui.SetLeft(Ui::kWindow, 934);
  EXPECT_EQ(ui.Left(Ui::kWindow), 934);
  EXPECT_EQ(ui.Top(Ui::kWindow), -237);
  EXPECT_EQ(ui.Width(Ui::kWindow), 432);
}

TEST(QtUiTimers, PeriodRules) {
  QtUi ui;
  int ticks = 0;
  ui.Bind("时钟2", UiEvent::Tick, [&] { ++ticks; });
  ui.SetPeriod("时钟2", 80);
  EXPECT_EQ(ui.Period("时钟2"), 80);
  ui.WaitDispatching(50);
  ui.SetPeriod("时钟2", 80);  // same period: the first deadline stands
  ui.WaitDispatching(45);
  EXPECT_EQ(ticks, 1);
  ui.SetPeriod("时钟2", 0);
  EXPECT_EQ(ui.Period("时钟2"), 0);
  ui.WaitDispatching(120);
  EXPECT_EQ(ticks, 1);

  // A new period starts the timer anew.
  ui.SetPeriod("时钟2", 200);
  ui.WaitDispatching(100);
  ui.SetPeriod("时钟2", 150);
  ui.WaitDispatching(110);
  EXPECT_EQ(ticks, 1);  // 210 ms after the first start, but only 110 into the new period
  ui.WaitDispatching(60);
  EXPECT_EQ(ticks, 2);
  ui.SetPeriod("时钟2", -5);
  EXPECT_EQ(ui.Period("时钟2"), 0);
  EXPECT_EQ(ui.Period("标签1"), 0);  // not a timer
}

TEST(QtUiTimers, WaitDispatchingRunsOtherHandlersAndTakesItsTime) {
  QtUi ui;
  int ticks = 0;
  int ticksInNestedWait = -1;
  ui.Bind("times", UiEvent::Tick, [&] { ++ticks; });
  ui.Bind("时钟2", UiEvent::Tick, [&] {
    ui.SetPeriod("时钟2", 0);
    const int before = ticks;
    ui.WaitDispatching(40);  // a handler that waits inside a wait
    ticksInNestedWait = ticks - before;
  });
  ui.SetPeriod("times", 10);
  ui.SetPeriod("时钟2", 15);
  QElapsedTimer clock;
  clock.start();
  ui.WaitDispatching(60);
  EXPECT_GT(clock.elapsed(), 60);
  EXPECT_GE(ticks, 3);
  EXPECT_GE(ticksInNestedWait, 2);
}

TEST(QtUiEvents, SliderStepsAndRelease) {
  QtUi ui;
  std::vector<int> positions;
  int releases = 0;
  ui.Bind("滑块条1", UiEvent::PositionChanged,
          [&] { positions.push_back(ui.SliderPosition("滑块条1")); });
  ui.Bind("滑块条1", UiEvent::LeftReleased, [&] { ++releases; });
  ui.SetSliderPosition("滑块条1", 40);  // the program's own write is no notification
  ui.SetSliderPosition("滑块条1", 500);
  EXPECT_EQ(ui.SliderPosition("滑块条1"), 100);
  EXPECT_TRUE(positions.empty());

  EXPECT_FALSE(ui.Slide("滑块条1", 50));  // hidden: out of the user's reach
  ui.SetVisible("滑块条1", true);
  auto* slider = static_cast<QSlider*>(ui.widget("滑块条1"));
  slider->triggerAction(QAbstractSlider::SliderSingleStepSub);  // an arrow key
  slider->triggerAction(QAbstractSlider::SliderPageStepSub);    // a page step
  EXPECT_TRUE(ui.Slide("滑块条1", 60));
  EXPECT_TRUE(ui.Slide("滑块条1", 60));  // a step that stays put still notifies
  EXPECT_EQ(positions, (std::vector<int>{99, 94, 60, 60}));
  EXPECT_EQ(releases, 0);
  EXPECT_TRUE(ui.Release("滑块条1"));
  EXPECT_EQ(releases, 1);
}

TEST(QtUiEvents, ClicksPressesAndChoicesReachTheirHandlers) {
  QtUi ui;
  std::vector<std::string> fired;
  for (const char* name : {"标签1", "标签2", "标签5", "图片框1", "音乐播放外形框"})
    ui.Bind(name, UiEvent::LeftPressed,
            [&fired, name] { fired.push_back(std::string("press ") + name); });
  for (const char* name : {"下一曲", "暂停按钮", "设置", "设置2"})
    ui.Bind(name, UiEvent::Clicked,
            [&fired, name] { fired.push_back(std::string("click ") + name); });
  ui.Bind("组合框1", UiEvent::ItemSelected,
          [&] { fired.push_back("select " + std::to_string(ui.SelectedItem("组合框1"))); });

  EXPECT_TRUE(ui.Press("标签1"));
  EXPECT_TRUE(ui.Press("图片框1"));
  EXPECT_TRUE(ui.Press("音乐播放外形框"));  // its own background, not a control on it
  EXPECT_TRUE(ui.Press("标签4"));  // no handler of its own, and the player area does not hear it
  EXPECT_TRUE(ui.Click("下一曲"));
  EXPECT_TRUE(ui.Click("暂停按钮"));
  EXPECT_FALSE(ui.Click("继续播放"));     // hidden
  EXPECT_FALSE(ui.Click("设置2"));        // the panel is outside the client area
  EXPECT_FALSE(ui.Select("组合框1", 3));  // hidden until the label opens it
  ui.SetVisible("组合框1", true);
  ui.SetVisible("标签5", false);
  EXPECT_TRUE(ui.Select("组合框1", 3));
  ui.SetSelectedItem("组合框1", 5);  // the program's own selection is no user choice
  EXPECT_EQ(fired, (std::vector<std::string>{"press 标签1", "press 图片框1", "press 音乐播放外形框",
                                             "click 下一曲", "click 暂停按钮", "select 3"}));

  // The open panel covers the settings button and the cover.
  fired.clear();
  ui.SetLeft("外形框1", 182);
  EXPECT_FALSE(ui.Click("设置"));
  EXPECT_FALSE(ui.Press("图片框1"));
  EXPECT_TRUE(ui.Click("设置2"));
  EXPECT_EQ(fired, (std::vector<std::string>{"click 设置2"}));
}

TEST(QtUiEvents, DestroyingFiresOnceOnClose) {
  QtUi ui;
  int destroying = 0;
  ui.Bind(Ui::kWindow, UiEvent::Destroying, [&] { ++destroying; });
  int created = 0;
  ui.Bind(Ui::kWindow, UiEvent::Created, [&] { ++created; });
  ui.FireCreated();
  EXPECT_EQ(created, 1);
  ui.Show();
  EXPECT_TRUE(ui.Close());
  ui.window()->close();
  EXPECT_EQ(destroying, 1);
  EXPECT_EQ(ui.Period("时钟1"), 0);  // the window's timers end with it
}

TEST(QtUiProperties, PicturesPointersAnimationAndCaptions) {
  QtUi ui;
  QImage red(4, 2, QImage::Format_RGB32);
  red.fill(Qt::red);
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  red.save(&buffer, "PNG");
  ui.SetPicture("图片框1", std::string_view(png.constData(), static_cast<std::size_t>(png.size())));
  ASSERT_TRUE(ui.HasPicture("图片框1"));
  QImage shown = ui.widget("图片框1")->grab().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(Qt::red));  // stretched over the whole box
  EXPECT_EQ(shown.pixelColor(119, 119), QColor(Qt::red));
  // A JPEG cover, as the service sends most of them; half of one is refused.
  QByteArray jpeg;
  QBuffer jpegBuffer(&jpeg);
  jpegBuffer.open(QIODevice::WriteOnly);
  QImage blue(64, 64, QImage::Format_RGB32);
  blue.fill(QColor(20, 40, 220));
  blue.save(&jpegBuffer, "JPG", 95);
  ui.SetPicture("图片框1",
                std::string_view(jpeg.constData(), static_cast<std::size_t>(jpeg.size())));
  ASSERT_TRUE(ui.HasPicture("图片框1"));
  const QColor centre = ui.widget("图片框1")->grab().toImage().pixelColor(60, 60);
  EXPECT_NEAR(centre.blue(), 220, 8);
  EXPECT_NEAR(centre.red(), 20, 8);
  ui.SetPicture("图片框1",
                std::string_view(jpeg.constData(), static_cast<std::size_t>(jpeg.size() / 2)));
  EXPECT_FALSE(ui.HasPicture("图片框1"));
  ui.SetPicture("图片框1", "not an image");
  EXPECT_FALSE(ui.HasPicture("图片框1"));
  ui.SetPicture("图片框1", "");
  EXPECT_FALSE(ui.HasPicture("图片框1"));

  ui.SetPointer("图片框1", MousePointer::Hand);
  EXPECT_EQ(ui.Pointer("图片框1"), MousePointer::Hand);
  ui.SetPointer("图片框1", MousePointer::Default);
  EXPECT_EQ(ui.Pointer("图片框1"), MousePointer::Default);

  auto* indicator = static_cast<QtPictureBox*>(ui.widget("图片框2"));
  ui.SetAnimationRunning("图片框2", true);
  EXPECT_TRUE(ui.AnimationRunning("图片框2"));
  ui.WaitDispatching(120);
  EXPECT_GT(indicator->frame(), 0);
  ui.SetAnimationRunning("图片框2", false);
  EXPECT_FALSE(ui.AnimationRunning("图片框2"));

  ui.SetCaption("标签1", "<b>Not rich</b> & plain");
  EXPECT_EQ(ui.Caption("标签1"), "<b>Not rich</b> & plain");
  ui.SetCaption(Ui::kWindow, "歌名 歌手");
  EXPECT_EQ(ui.Caption(Ui::kWindow), "歌名 歌手");
  ui.SetWidth("进度条_绿", 195);
  EXPECT_EQ(ui.Width("进度条_绿"), 195);

  // Unknown names and properties that do not apply read as empty.
  EXPECT_EQ(ui.Caption("nothing"), "");
  EXPECT_EQ(ui.Left("nothing"), 0);
  EXPECT_EQ(ui.SelectedItem("标签1"), -1);
  EXPECT_EQ(ui.KindOf("nothing"), "");
  ui.SetSelectedItem("文字渐变", 7);
  EXPECT_EQ(ui.SelectedItem("文字渐变"), -1);
}

TEST(QtUiProperties, UserChangesOfThePanel) {
  QtUi ui;
  ui.SetLeft("外形框1", 182);
  EXPECT_TRUE(ui.CheckBox("字体倾斜", true));
  EXPECT_TRUE(ui.Checked("字体倾斜"));
  EXPECT_TRUE(ui.PickColour("颜色选择器3", 0x00FF0000));
  EXPECT_EQ(ui.Colour("颜色选择器3"), 0x00FF0000);
  EXPECT_TRUE(ui.Select("字体大小", 5));
  EXPECT_EQ(ui.ItemText("字体大小", ui.SelectedItem("字体大小")), "60");
}

}  // namespace
}  // namespace orvane
