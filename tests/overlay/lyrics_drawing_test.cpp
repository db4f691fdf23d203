// The overlay's drawing: colours, fonts, the layers and where they land, read
// back from the rendered picture.
#include <gtest/gtest.h>

#include <QFontDatabase>

#include "overlay/lyrics_window.h"

namespace orvane {
namespace {

constexpr std::int32_t kRed = 0x0000FF;  // Windows colour values: red in the low byte
constexpr std::int32_t kGreen = 0x00FF00;
constexpr std::int32_t kBlue = 0xFF0000;
const char* const kBlocks = "████████";

TEST(ToArgbTest, ConvertsWindowsColourValues) {
  struct Case {
    std::int32_t colour, alpha;
    bool use_alpha;
    std::uint32_t argb;
  };
  const Case cases[] = {
      {255, 0, false, 0xFFFF0000u},         {0, 150, true, 0x96000000u},
      {0x123456, 300, true, 0xFF563412u},   {0x123456, -5, true, 0x00563412u},
      {0x7F123456, 10, false, 0xFF563412u},  // the fourth byte is ignored
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToArgb(c.colour, c.alpha, c.use_alpha), c.argb) << std::hex << c.colour;
  }
}

TEST(FontListTest, WindowsFamiliesMapToInstalledOnes) {
  EXPECT_EQ(MapFontFamily("微软雅黑"), "WenQuanYi Micro Hei");
  EXPECT_EQ(MapFontFamily("黑体"), "WenQuanYi Micro Hei");
  EXPECT_EQ(MapFontFamily("楷体"), "AR PL UKai CN");
  EXPECT_EQ(MapFontFamily("宋体"), "AR PL UMing CN");
  EXPECT_EQ(MapFontFamily("Tahoma"), "DejaVu Sans");
  EXPECT_EQ(MapFontFamily("DejaVu Serif"), "DejaVu Serif");
}

TEST(FontListTest, TheFirstInstalledFamilyOfTheListWins) {
  const std::optional<QFont> font = CreateFontFromList(";Nowhere Sans;;楷体;Tahoma", 40, 1 | 2);
  ASSERT_TRUE(font.has_value());
  EXPECT_EQ(font->family(), "AR PL UKai CN");
  EXPECT_EQ(font->pixelSize(), 40);
  EXPECT_TRUE(font->bold());
  EXPECT_TRUE(font->italic());
  EXPECT_FALSE(font->underline());
  EXPECT_FALSE(CreateFontFromList("Nowhere Sans;;Nor Here", 40, 0).has_value());
}

class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterLyricsWindowClass();
    ASSERT_TRUE(overlay.Create(800, 200));
  }
  void TearDown() override { overlay.Destroy(); }

  // Solid blocks without shadow or outline, so pixels show the fill colours.
  void UseSolidBlocks() {
    overlay.SetFont("DejaVu Sans Mono", 60);
    overlay.SetShadow(0, 0, 0);
    overlay.SetTextStyle(kRed, kRed, -1, kGradientSolid);
    overlay.SetHighlightStyle(kBlue, kBlue, -1, kGradientSolid);
  }
  QRgb At(double x, double y) const {
    return overlay.Picture().pixel(static_cast<int>(x), static_cast<int>(y));
  }
  // A pixel inside the blocks at a share of the text box's width.
  QRgb AtShare(double share) const {
    const QRectF box = overlay.TextBox();
    return At(box.left() + box.width() * share, box.center().y());
  }
  bool FullyTransparent() const {
    const QImage& picture = overlay.Picture();
    for (int y = 0; y < picture.height(); ++y) {
      for (int x = 0; x < picture.width(); ++x) {
        if (qAlpha(picture.pixel(x, y)) != 0) return false;
      }
    }
    return true;
  }

  LyricsWindow overlay;
};

TEST_F(DrawingTest, TheDefaultLookDrawsTheWelcomeLine) {
  ASSERT_TRUE(overlay.Font().has_value());
  EXPECT_EQ(overlay.Font()->family(), "WenQuanYi Micro Hei");
  EXPECT_EQ(overlay.Font()->pixelSize(), 50);
  EXPECT_TRUE(overlay.Font()->bold());
  EXPECT_EQ(overlay.ShadowOffset(), 2);
  overlay.SetText("欢迎进入Orvane");
  const QImage& picture = overlay.Picture();
  ASSERT_EQ(picture.size(), QSize(800, 200));
  ASSERT_EQ(picture.format(), QImage::Format_ARGB32_Premultiplied);
  // Centred both ways, in the two greens of the default look.
  const QRectF box = overlay.TextBox();
  EXPECT_NEAR(box.center().x(), 400, 1);
  EXPECT_NEAR(box.center().y(), 100, 1);
  int greenish = 0;
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 800; ++x) {
      const QRgb p = picture.pixel(x, y);
      if (qAlpha(p) == 255 && qGreen(p) > 150 && qBlue(p) < 30) ++greenish;
      if (qAlpha(p) != 0) {
        EXPECT_TRUE(box.adjusted(-4, -4, 6, 6).contains(x, y)) << x << "," << y;
      }
    }
  }
  EXPECT_GT(greenish, 1000);
}

TEST_F(DrawingTest, PercentIsClampedAndClipsTheHighlight) {
  UseSolidBlocks();
  struct Case {
    std::optional<int> percent;
    int stored;
    QRgb left, right;
  };
  const QRgb red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255);
  const Case cases[] = {
      {150, 100, blue, blue}, {100, 100, blue, blue},      {50, 50, blue, red},
      {-5, 0, red, red},      {std::nullopt, 0, red, red},
  };
  for (const Case& c : cases) {
    overlay.SetText(kBlocks, c.percent);
    EXPECT_EQ(overlay.HighlightPercent(), c.stored);
    EXPECT_EQ(AtShare(0.1), c.left) << c.stored;
    EXPECT_EQ(AtShare(0.45), c.left) << c.stored;
    EXPECT_EQ(AtShare(0.55), c.right) << c.stored;
    EXPECT_EQ(AtShare(0.95), c.right) << c.stored;
  }
}

TEST_F(DrawingTest, MirroredGradientIsFirstColourAtTopAndBottomSecondInTheMiddle) {
  UseSolidBlocks();
  overlay.SetTextStyle(kRed, kBlue, -1, kGradientMirrored);
  overlay.SetText(kBlocks);
  const QRectF box = overlay.TextBox();
  // The blocks fill the box from ascent to descent; sample just inside.
  const QRgb top = At(box.center().x(), box.top() + 3);
  const QRgb middle = At(box.center().x(), box.center().y());
  const QRgb bottom = At(box.center().x(), box.bottom() - 3);
  EXPECT_GT(qRed(top), 200);
  EXPECT_LT(qBlue(top), 55);
  EXPECT_GT(qBlue(middle), 245);
  EXPECT_LT(qRed(middle), 10);
  EXPECT_GT(qRed(bottom), 200);
  EXPECT_LT(qBlue(bottom), 55);

  overlay.SetTextStyle(kRed, kBlue, -1, kGradientTwoColour);
  overlay.SetText(kBlocks);
  EXPECT_GT(qRed(At(box.center().x(), box.top() + 3)), 200);
  EXPECT_GT(qBlue(At(box.center().x(), box.bottom() - 3)), 200);

  overlay.SetTextStyle(kRed, kBlue, -1, 7);  // unknown modes paint solid
  overlay.SetText(kBlocks);
  EXPECT_EQ(At(box.center().x(), box.bottom() - 3), qRgb(255, 0, 0));
}

// Whether black shows anywhere on the blocks' middle row: with a red fill
// only, every pixel there is pure red (premultiplied: red equals alpha).
bool BlackOnMiddleRow(const LyricsWindow& overlay) {
  const int row = static_cast<int>(overlay.TextBox().center().y());
  for (int x = 0; x < overlay.Picture().width(); ++x) {
    const QRgb p = overlay.Picture().pixel(x, row);
    if (qAlpha(p) > 0 && qRed(p) + 8 < qAlpha(p)) return true;
  }
  return false;
}

TEST_F(DrawingTest, OutlineMinusOneRemovesItAndZeroIsBlack) {
  UseSolidBlocks();
  overlay.SetTextStyle(kRed, kRed, 0, kGradientSolid);
  overlay.SetText(kBlocks);
  EXPECT_TRUE(BlackOnMiddleRow(overlay));
  EXPECT_EQ(AtShare(0.5), qRgb(255, 0, 0));  // the fill covers the stroke's inner half

  overlay.SetTextStyle(kRed, kRed, -1, kGradientSolid);
  overlay.SetText(kBlocks);
  EXPECT_FALSE(BlackOnMiddleRow(overlay));
}

TEST_F(DrawingTest, ShadowOffsetZeroOrNegativeRemovesTheShadow) {
  UseSolidBlocks();
  overlay.SetShadow(kGreen, 255, 8);
  overlay.SetText(kBlocks);
  const QRectF box = overlay.TextBox();
  // Below the blocks (which reach a little beyond the box) only the shadow shows.
  EXPECT_EQ(At(box.right() - 10, box.bottom() + 5), qRgb(0, 255, 0));

  for (int offset : {0, -3}) {
    overlay.SetShadow(kGreen, 150, offset);
    EXPECT_EQ(overlay.ShadowOffset(), 0);
    overlay.SetText(kBlocks);
    EXPECT_EQ(qAlpha(At(box.right() - 10, box.bottom() + 5)), 0) << offset;
  }
}

TEST_F(DrawingTest, AnEmptyLineLeavesNothingOfThePreviousOne) {
  overlay.SetText("上一行歌词写在这里");
  ASSERT_FALSE(FullyTransparent());
  overlay.SetText("");
  EXPECT_TRUE(FullyTransparent());

  // A shorter line after a long one: the ends of the long one are gone.
  overlay.SetText("这是一行很长很长的歌词啊");
  overlay.SetText("短");
  const QRectF box = overlay.TextBox();
  const QImage& picture = overlay.Picture();
  for (int y = 0; y < 200; ++y) {
    for (int x = 0; x < 800; ++x) {
      if (!box.adjusted(-4, -4, 6, 6).contains(x, y)) {
        ASSERT_EQ(qAlpha(picture.pixel(x, y)), 0) << x << "," << y;
      }
    }
  }
}

TEST_F(DrawingTest, BackgroundFillsTheWholeWindow) {
  overlay.SetBackground(kBlue, 128, true);
  EXPECT_EQ(overlay.Picture().pixel(1, 1), qRgba(0, 0, 128, 128));  // premultiplied
  EXPECT_EQ(overlay.Picture().pixel(799, 199), qRgba(0, 0, 128, 128));
  overlay.SetBackground(kBlue, 0, true);
  EXPECT_TRUE(FullyTransparent());
}

TEST_F(DrawingTest, SettersWithoutRedrawLeaveThePictureAlone) {
  overlay.SetText("不变");
  const QImage before = overlay.Picture().copy();
  overlay.SetFont("宋体", 30, false, true, true);
  overlay.SetTextStyle(kRed, kBlue, -1, 0);
  overlay.SetHighlightStyle(kRed, kBlue, -1, 0);
  overlay.SetBackground(kRed, 200);
  overlay.SetShadow(kRed, 200, 5);
  EXPECT_EQ(overlay.Picture(), before);
  overlay.Render();
  EXPECT_NE(overlay.Picture(), before);
  EXPECT_EQ(overlay.Font()->family(), "AR PL UMing CN");
}

TEST_F(DrawingTest, ALineWiderThanTheWindowStaysCentredAndUnwrapped) {
  overlay.SetText("这一行歌词非常非常非常长长到窗口根本放不下它");
  const QRectF box = overlay.TextBox();
  EXPECT_LT(box.left(), 0);
  EXPECT_GT(box.right(), 800);
  EXPECT_NEAR(box.left() + box.right(), 800, 1);
  EXPECT_LT(box.height(), 100);  // one line
  EXPECT_GT(qAlpha(overlay.Picture().pixel(1, static_cast<int>(box.center().y()))) +
                qAlpha(overlay.Picture().pixel(798, static_cast<int>(box.center().y()))),
            0);
}

TEST_F(DrawingTest, AFamilyNotInstalledFallsBackAlongTheList) {
  overlay.SetFont("Nowhere Sans", 40);
  EXPECT_EQ(overlay.Font()->family(), "WenQuanYi Micro Hei");
  overlay.SetFont("楷体", 40, true);
  EXPECT_EQ(overlay.Font()->family(), "AR PL UKai CN");
  overlay.SetText("楷体字");
  EXPECT_FALSE(FullyTransparent());
}

}  // namespace
}  // namespace orvane
