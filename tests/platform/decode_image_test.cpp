// Cover decoding: real JPEG and PNG files through libjpeg and libpng, other
// formats through Qt, and damaged or oversized data refused without a crash.
#include "platform/decode_image.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <cstdlib>
#include <random>
#include <string>

#include "station/station_faults.h"
#include "station/station_fixtures.h"

namespace orvane {
namespace {

using station::ReadFixture;

struct Sample {
  int x, y;
  std::uint32_t argb;
};

struct Case {
  const char* name;
  std::string bytes;
  DecodeError error;
  int width = 0, height = 0;
  std::vector<Sample> samples = {};
  int tolerance = 0;  // per channel; JPEG is lossy
};

int Channel(std::uint32_t argb, int shift) {
  return static_cast<int>((argb >> shift) & 0xFF);
}

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

std::string Half(const std::string& bytes) {
  return bytes.substr(0, bytes.size() / 2);
}

TEST(DecodeImage, Cases) {
  const std::string jpeg = ReadFixture("covers/cover-a.jpg");
  const std::string png = ReadFixture("covers/cover-b.png");
  ASSERT_FALSE(jpeg.empty());
  ASSERT_FALSE(png.empty());
  const std::string jpegSignature = "\xFF\xD8\xFF";
  const std::string pngSignature("\x89PNG\r\n\x1a\n", 8);

  const Case cases[] = {
      // Red over blue halves.
      {"jpeg", jpeg, DecodeError::None, 120, 120, {{1, 1, 0xFFC03020}, {100, 110, 0xFF2040C0}}, 3},
      // Yellow top-left square on green.
      {"png", png, DecodeError::None, 120, 120, {{1, 1, 0xFFFFD000}, {100, 100, 0xFF20A040}}},
      {"png with alpha, not premultiplied",
       ReadFixture("images/alpha.png"),
       DecodeError::None,
       10,
       10,
       {{5, 5, 0x80FF0000}},
       1},
      {"16-bit grey png",
       ReadFixture("images/gray16.png"),
       DecodeError::None,
       10,
       10,
       {{0, 9, 0xFF404040}},
       1},
      {"palette png",
       ReadFixture("images/palette.png"),
       DecodeError::None,
       10,
       10,
       {{3, 3, 0xFFFF00FF}}},
      {"interlaced png",
       ReadFixture("images/interlaced.png"),
       DecodeError::None,
       12,
       12,
       {{0, 0, 0xFF3366CC}, {11, 11, 0xFF3366CC}}},
      {"grey jpeg",
       ReadFixture("images/gray.jpg"),
       DecodeError::None,
       16,
       16,
       {{8, 8, 0xFF808080}},
       2},
      {"gif through Qt",
       ReadFixture("images/cover.gif"),
       DecodeError::None,
       16,
       8,
       {{15, 7, 0xFFFF0000}}},
      {"bmp through Qt",
       ReadFixture("images/cover.bmp"),
       DecodeError::None,
       16,
       8,
       {{0, 0, 0xFF00FF00}}},
      {"empty", "", DecodeError::Empty},
      {"random bytes", RandomBytes(4096, 7), DecodeError::UnknownType},
      {"jpeg signature then random bytes", jpegSignature + RandomBytes(4096, 8),
       DecodeError::Corrupt},
      {"png signature then random bytes", pngSignature + RandomBytes(4096, 9),
       DecodeError::Corrupt},
      {"jpeg signature alone", jpegSignature, DecodeError::Corrupt},
      {"jpeg cut in its header", jpeg.substr(0, 40), DecodeError::Corrupt},
      {"jpeg cut in its scan", station::CutJpegMidScan(jpeg), DecodeError::Corrupt},
      {"png cut in half", Half(png), DecodeError::Corrupt},
      {"png cut after IHDR", png.substr(0, 33), DecodeError::Corrupt},
      {"jpeg claiming 60000 x 60000", station::JpegClaimingSize(jpeg, 60000, 60000),
       DecodeError::TooLarge},
      {"jpeg claiming 8193 x 1", station::JpegClaimingSize(jpeg, 8193, 1), DecodeError::TooLarge},
      {"png claiming 60000 x 60000", station::PngClaimingSize(60000, 60000), DecodeError::TooLarge},
      {"png claiming 1 x 8193", station::PngClaimingSize(1, 8193), DecodeError::TooLarge},
      {"gif cut in half", Half(ReadFixture("images/cover.gif")), DecodeError::Corrupt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DecodedImage image = DecodeImage(c.bytes);
    EXPECT_EQ(image.error, c.error);
    EXPECT_EQ(image.width, c.width);
    EXPECT_EQ(image.height, c.height);
    EXPECT_EQ(image.pixels.size(), static_cast<std::size_t>(c.width) * c.height);
    if (image.pixels.size() != static_cast<std::size_t>(c.width) * c.height) continue;
    for (const Sample& s : c.samples) {
      std::uint32_t got = image.pixels[static_cast<std::size_t>(s.y) * c.width + s.x];
      for (int shift : {24, 16, 8, 0}) {
        EXPECT_NEAR(Channel(got, shift), Channel(s.argb, shift), c.tolerance)
            << std::hex << "pixel " << std::dec << s.x << "," << s.y << " got " << std::hex << got
            << " want " << s.argb;
      }
    }
  }
}

// The largest allowed side decodes; a size within the limit that the data
// does not fill is damage, not a grey picture.
TEST(DecodeImage, LargestAllowedSideDecodesAndAnUnfilledClaimIsCorrupt) {
  QImage wide(kMaxImageSide, 2, QImage::Format_RGB32);
  wide.fill(QColor(0x10, 0x80, 0xF0));
  for (const char* format : {"JPG", "PNG"}) {
    SCOPED_TRACE(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ASSERT_TRUE(wide.save(&buffer, format, 95));
    DecodedImage image = DecodeImage(std::string_view(bytes.constData(), bytes.size()));
    ASSERT_EQ(image.error, DecodeError::None);
    EXPECT_EQ(image.width, kMaxImageSide);
    EXPECT_EQ(image.height, 2);
    EXPECT_NEAR(Channel(image.pixels.back(), 0), 0xF0, 3);
  }
  std::string jpeg = ReadFixture("covers/cover-a.jpg");
  DecodedImage fake = DecodeImage(station::JpegClaimingSize(jpeg, kMaxImageSide, 8));
  EXPECT_EQ(fake.error, DecodeError::Corrupt);
  EXPECT_TRUE(fake.pixels.empty());
}

}  // namespace
}  // namespace orvane
