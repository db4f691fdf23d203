#include "platform/qt_desktop.h"

#include <gtest/gtest.h>

#include <QCursor>

namespace orvane {
namespace {

TEST(QtDesktop, ScreenPointerClipboardAndRecordingShell) {
  QtDesktop desktop(/*recordOnlyShell=*/true);
  const ScreenSize size = desktop.PrimarySize();
  EXPECT_EQ(size.width, 1366);
  EXPECT_EQ(size.height, 768);

  desktop.SetPointerOverride(1364, 2);
  EXPECT_EQ(desktop.Pointer().x, 1364);
  EXPECT_EQ(desktop.Pointer().y, 2);
  desktop.ClearPointerOverride();
  const QPoint real = QCursor::pos();
  EXPECT_EQ(desktop.Pointer().x, real.x());

  desktop.SetText("歌名 歌手");
  EXPECT_EQ(desktop.Text(), "歌名 歌手");

  desktop.OpenUrl("https://music.example\\/subject\\/2170967\\/");
  ASSERT_EQ(desktop.OpenedUrls().size(), 1u);
  EXPECT_EQ(desktop.OpenedUrls()[0], "https://music.example/subject/2170967/");
}

}  // namespace
}  // namespace orvane
