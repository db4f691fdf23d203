// An overlay that refuses to close must not keep the program from quitting.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "overlay/lyrics_window.h"

namespace orvane {
namespace {

TEST(OverlayQuitTest, QuittingLiftsTheCloseRefusal) {
  LyricsWindow overlay;
  ASSERT_TRUE(overlay.Create(300, 100));
  overlay.SetNoClose(true);
  overlay.Show();
  overlay.SetText("再见");

  // quit() only acts on the application's own loop.
  QTimer::singleShot(0, [] { QCoreApplication::quit(); });
  QTimer::singleShot(3000, [] { QCoreApplication::exit(1); });  // the quit was refused
  EXPECT_EQ(QCoreApplication::exec(), 0);
  EXPECT_FALSE(overlay.IsShown());
}

}  // namespace
}  // namespace orvane
