#include "overlay/lyrics_window.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

TEST(LyricsWindowTest, CreateAndRenderTheWelcomeLine) {
  RegisterLyricsWindowClass();
  LyricsWindow overlay;
  ASSERT_TRUE(overlay.Create());
  overlay.SetDragMove(true);
  overlay.SetNoClose(true);
  overlay.Hide();
  overlay.SetText("欢迎进入Orvane");
  EXPECT_EQ(overlay.TextUtf8(), "欢迎进入Orvane");
  EXPECT_EQ(overlay.Picture().size(), QSize(1366, 150));
  EXPECT_GT(qAlpha(overlay.Picture().pixel(683, 75)) + qAlpha(overlay.Picture().pixel(600, 75)), 0);
  overlay.Destroy();
}

}  // namespace
}  // namespace orvane
