// The overlay's window: where Create puts it, its procedure (drag, close
// refusal, session end), moving, queries, copies and the input mask.
#include "overlay/lyrics_window.h"

#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMouseEvent>

#include "overlay/overlay_window_proc.h"

namespace orvane {
namespace {

class LyricsWindowTest : public ::testing::Test {
 protected:
  void SetUp() override { RegisterLyricsWindowClass(); }
  void TearDown() override {
    OverrideWorkArea(std::nullopt);
    SetSystemMoveStarter(nullptr);
    overlay.Destroy();
  }
  LyricsWindow overlay;
};

TEST_F(LyricsWindowTest, CreateFillsTheBottomOfTheWorkArea) {
  OverrideWorkArea(WorkArea{0, 0, 1366, 728});
  ASSERT_TRUE(overlay.Create());
  EXPECT_EQ(overlay.GetLeft(), 0);
  EXPECT_EQ(overlay.GetTop(), 578);
  EXPECT_EQ(overlay.GetWidth(), 1366);
  EXPECT_EQ(overlay.GetHeight(), 150);
  EXPECT_EQ(overlay.DrawingWidth(), 1366);
  QWidget* window = overlay.GetHandle();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "NimbraLyricsWindow");
  const Qt::WindowFlags flags = window->windowFlags();
  EXPECT_TRUE(flags.testFlag(Qt::Tool));
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(window->testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_EQ(window->property(kPropHitMove).toInt(), 1);
}

TEST_F(LyricsWindowTest, CreateOnTheRealScreenUsesItsAvailableGeometry) {
  ASSERT_TRUE(overlay.Create(400));
  EXPECT_EQ(overlay.GetLeft(), (1366 - 400) / 2);
  EXPECT_EQ(overlay.GetTop(), 768 - 150);
}

TEST_F(LyricsWindowTest, AWindowWiderThanTheWorkAreaTruncatesTowardZero) {
  OverrideWorkArea(WorkArea{0, 0, 1366, 728});
  struct Case {
    int width;
    int left;
  };
  for (const Case c : {Case{1367, 0}, Case{1369, -1}, Case{1368, -1}}) {
    LyricsWindow wide;
    ASSERT_TRUE(wide.Create(c.width, 100));
    EXPECT_EQ(wide.GetLeft(), c.left) << "width " << c.width;
    EXPECT_EQ(wide.GetTop(), 628);
    wide.Destroy();
  }
}

TEST_F(LyricsWindowTest, ASecondCreateAnswersFalseAndChangesNothing) {
  ASSERT_TRUE(overlay.Create(600, 120));
  overlay.MoveResize(10, 20);
  overlay.Hide();
  QWidget* window = overlay.GetHandle();
  EXPECT_FALSE(overlay.Create());
  EXPECT_EQ(overlay.GetHandle(), window);
  EXPECT_EQ(overlay.GetLeft(), 10);
  EXPECT_EQ(overlay.GetTop(), 20);
  EXPECT_EQ(overlay.GetWidth(), 600);
  EXPECT_EQ(overlay.DrawingHeight(), 120);
  EXPECT_FALSE(overlay.IsShown());
}

TEST_F(LyricsWindowTest, ShowAndHideDoNotRender) {
  ASSERT_TRUE(overlay.Create(300, 100));
  overlay.Hide();
  EXPECT_FALSE(overlay.IsShown());
  overlay.Show();
  EXPECT_TRUE(overlay.IsShown());
  EXPECT_TRUE(overlay.Picture().isNull());
}

TEST_F(LyricsWindowTest, MoveResizeKeepsWhatIsNotGiven) {
  ASSERT_TRUE(overlay.Create(500, 100));
  overlay.MoveResize(30, 40, 200, 80);
  overlay.MoveResize(70);
  EXPECT_EQ(overlay.GetLeft(), 70);
  EXPECT_EQ(overlay.GetTop(), 40);
  EXPECT_EQ(overlay.GetWidth(), 200);
  EXPECT_EQ(overlay.GetHeight(), 80);
  overlay.MoveResize();
  EXPECT_EQ(overlay.GetHandle()->geometry(), QRect(70, 40, 200, 80));
  overlay.MoveResize(std::nullopt, std::nullopt, std::nullopt, 60);
  EXPECT_EQ(overlay.GetHandle()->geometry(), QRect(70, 40, 200, 60));
  // The drawing keeps the size Create gave it.
  overlay.SetText("歌");
  EXPECT_EQ(overlay.Picture().size(), QSize(500, 100));
}

TEST_F(LyricsWindowTest, WithoutAWindowEverythingIsQuiet) {
  ASSERT_TRUE(overlay.Create(300, 100));
  overlay.Destroy();
  EXPECT_FALSE(overlay.IsCreated());
  EXPECT_EQ(overlay.GetHandle(), nullptr);
  EXPECT_EQ(overlay.GetWidth(), 0);
  EXPECT_EQ(overlay.GetHeight(), 0);
  EXPECT_EQ(overlay.GetLeft(), 0);
  EXPECT_EQ(overlay.GetTop(), 0);
  overlay.Show();
  overlay.MoveResize(1, 2, 3, 4);
  overlay.SetDragMove(false);
  overlay.SetNoClose(true);
  overlay.SetTopmost(false);
  overlay.SetText("还在");
  EXPECT_EQ(overlay.TextUtf8(), "还在");
  EXPECT_FALSE(overlay.IsShown());
  // A new window may be made; the look of the first stays.
  overlay.SetFont("DejaVu Sans", 30);
  ASSERT_TRUE(overlay.Create(300, 100));
  EXPECT_EQ(overlay.Font()->family(), "DejaVu Sans");
  EXPECT_EQ(overlay.GetHandle()->property(kPropNoClose).toInt(), 0);
}

TEST_F(LyricsWindowTest, CloseIsRefusedUntilTheSessionEnds) {
  ASSERT_TRUE(overlay.Create(300, 100));
  overlay.SetNoClose(true);
  overlay.Show();
  QWidget* window = overlay.GetHandle();
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());

  QEvent query_end_session(QueryEndSessionEventType());
  QCoreApplication::sendEvent(window, &query_end_session);
  EXPECT_EQ(window->property(kPropNoClose).toInt(), 0);
  EXPECT_TRUE(window->close());
  EXPECT_FALSE(window->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_FALSE(overlay.IsCreated());
  EXPECT_EQ(overlay.GetHandle(), nullptr);
}

TEST_F(LyricsWindowTest, EndDesktopSessionReachesEveryOverlay) {
  LyricsWindow other;
  ASSERT_TRUE(overlay.Create(300, 100));
  ASSERT_TRUE(other.Create(300, 100));
  overlay.SetNoClose(true);
  other.SetNoClose(true);
  EndDesktopSession();
  EXPECT_TRUE(overlay.GetHandle()->close());
  EXPECT_TRUE(other.GetHandle()->close());
  other.Destroy();
}

TEST_F(LyricsWindowTest, CloseWithoutRefusalIsHonoured) {
  ASSERT_TRUE(overlay.Create(300, 100));
  overlay.SetNoClose(true);
  overlay.SetNoClose(false);
  EXPECT_TRUE(overlay.GetHandle()->close());
}

QWidget* g_moved = nullptr;
int g_moves = 0;
bool RecordMove(QWidget* window) {
  g_moved = window;
  ++g_moves;
  return true;
}

// Sees the presses that reach the window itself.
class PressCounter : public QWidget {
 public:
  int presses = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
};

TEST_F(LyricsWindowTest, ALeftPressHandsTheMoveToTheWindowSystem) {
  SetSystemMoveStarter(&RecordMove);
  g_moves = 0;
  auto* window = new PressCounter;
  ASSERT_TRUE(overlay.Attach(window));
  overlay.SetDragMove(true);
  auto press = [&](Qt::MouseButton button) {
    QMouseEvent event(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), button, button,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(window, &event);
  };
  press(Qt::LeftButton);
  EXPECT_EQ(g_moves, 1);
  EXPECT_EQ(g_moved, window);
  EXPECT_EQ(window->presses, 1);  // passed on as well
  press(Qt::RightButton);
  EXPECT_EQ(g_moves, 1);
  overlay.SetDragMove(false);
  press(Qt::LeftButton);
  EXPECT_EQ(g_moves, 1);
  EXPECT_EQ(window->presses, 3);
}

TEST_F(LyricsWindowTest, DestroyPutsThePreviousProcedureBack) {
  auto* window = new QWidget;
  QPointer<QWidget> alive(window);
  ASSERT_TRUE(overlay.Attach(window));
  const QObject* previous = ProcFromProperty(window->property(kPropPrevWndProc));
  EXPECT_EQ(previous, DefaultWindowProc::Instance());
  EXPECT_EQ(window->findChildren<OverlayWindowProc*>().size(), 1);
  OverlayWindowProc::Unsubclass(window);
  EXPECT_EQ(window->property(kPropPrevWndProc).toULongLong(), 0u);
  EXPECT_TRUE(window->findChildren<OverlayWindowProc*>().isEmpty());
  // Without the overlay's procedure a close goes through whatever the property says.
  window->setProperty(kPropNoClose, 1);
  window->show();
  EXPECT_TRUE(window->close());
  overlay.Destroy();
  EXPECT_TRUE(alive.isNull());
}

TEST_F(LyricsWindowTest, AttachOnATakenWindowDoesNotSubclassAgain) {
  LyricsWindow first;
  ASSERT_TRUE(first.Create(300, 100));
  QWidget* window = first.GetHandle();
  const QVariant procedure = window->property(kPropPrevWndProc);

  ASSERT_TRUE(overlay.Attach(window));
  EXPECT_EQ(overlay.GetHandle(), window);
  EXPECT_EQ(window->property(kPropPrevWndProc), procedure);
  EXPECT_EQ(window->findChildren<OverlayWindowProc*>().size(), 1);
  ASSERT_TRUE(overlay.Font().has_value());  // graphics initialised
  EXPECT_EQ(overlay.Font()->pixelSize(), 50);
  EXPECT_FALSE(overlay.Attach(window));
  EXPECT_FALSE(LyricsWindow().Attach(nullptr));
  first.Destroy();
  EXPECT_FALSE(overlay.IsCreated());
}

TEST_F(LyricsWindowTest, ACopySharesTheWindowAndOwnsItsText) {
  ASSERT_TRUE(overlay.Create(400, 100));
  overlay.SetText("原来的");
  {
    std::unique_ptr<LyricsWindow> copy = overlay.Copy();
    EXPECT_EQ(copy->GetHandle(), overlay.GetHandle());
    EXPECT_EQ(copy->TextUtf8(), "原来的");
    copy->SetText("副本的");
    copy->SetTextStyle(255, 255, -1, 0);
  }
  EXPECT_TRUE(overlay.IsCreated());
  EXPECT_EQ(overlay.TextUtf8(), "原来的");
  // The source's look is its own: its next render is unchanged by the copy's.
  const QImage before = overlay.Picture().copy();
  overlay.Render();
  EXPECT_EQ(overlay.Picture(), before);
}

TEST_F(LyricsWindowTest, SetTopmostKeepsTheOtherFlags) {
  ASSERT_TRUE(overlay.Create(300, 100));
  overlay.Show();
  overlay.SetTopmost(false);
  Qt::WindowFlags flags = overlay.GetHandle()->windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(flags.testFlag(Qt::Tool));
  EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
  EXPECT_TRUE(overlay.IsShown());
  overlay.SetTopmost(true);
  EXPECT_TRUE(overlay.GetHandle()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(LyricsWindowTest, TheInputMaskFollowsThePicture) {
  ASSERT_TRUE(overlay.Create(600, 150));
  QWidget* window = overlay.GetHandle();
  EXPECT_FALSE(window->mask().contains(QPoint(300, 75)));  // nothing pushed yet

  overlay.SetFont("DejaVu Sans Mono", 60);
  overlay.SetText("██");
  const QPoint painted(300, 75);
  const QPoint corner(2, 2);
  ASSERT_GT(qAlpha(overlay.Picture().pixel(painted)), 0);
  ASSERT_EQ(qAlpha(overlay.Picture().pixel(corner)), 0);
  EXPECT_TRUE(window->mask().contains(painted));
  EXPECT_FALSE(window->mask().contains(corner));

  overlay.SetBackground(0, 1, true);
  EXPECT_TRUE(window->mask().contains(QRect(0, 0, 600, 150)));

  overlay.SetBackground(0, 0);
  overlay.SetText("");
  EXPECT_FALSE(window->mask().contains(painted));
  EXPECT_FALSE(window->mask().contains(corner));
}

}  // namespace
}  // namespace orvane
