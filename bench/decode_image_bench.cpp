// Cover decoding: the station's 120 x 120 covers, a 600 x 600 cover made with
// Qt, and the refusal of a header claiming 60000 x 60000.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <string>

#include "platform/decode_image.h"
#include "station/station_faults.h"
#include "station/station_fixtures.h"

namespace {

std::string Encoded(int side, const char* format) {
  QImage image(side, side, QImage::Format_RGB32);
  QPainter painter(&image);
  QLinearGradient gradient(0, 0, side, side);
  gradient.setColorAt(0, QColor(0xC0, 0x30, 0x20));
  gradient.setColorAt(1, QColor(0x20, 0x40, 0xC0));
  painter.fillRect(image.rect(), gradient);
  painter.end();
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format, 90);
  return bytes.toStdString();
}

void Decode(benchmark::State& state, const std::string& bytes) {
  for (auto _ : state) {
    orvane::DecodedImage image = orvane::DecodeImage(bytes);
    benchmark::DoNotOptimize(image.pixels.data());
    if (!image.ok() && image.error != orvane::DecodeError::TooLarge) state.SkipWithError("failed");
  }
}

void BM_DecodeCoverJpeg120(benchmark::State& state) {
  Decode(state, orvane::station::ReadFixture("covers/cover-c.jpg"));
}
void BM_DecodeCoverPng120(benchmark::State& state) {
  Decode(state, orvane::station::ReadFixture("covers/cover-b.png"));
}
void BM_DecodeJpeg600(benchmark::State& state) {
  Decode(state, Encoded(600, "JPG"));
}
void BM_DecodePng600(benchmark::State& state) {
  Decode(state, Encoded(600, "PNG"));
}
void BM_RefuseJpeg60000(benchmark::State& state) {
  Decode(state, orvane::station::JpegClaimingSize(
                    orvane::station::ReadFixture("covers/cover-a.jpg"), 60000, 60000));
}
void BM_RefusePng60000(benchmark::State& state) {
  Decode(state, orvane::station::PngClaimingSize(60000, 60000));
}

BENCHMARK(BM_DecodeCoverJpeg120);
BENCHMARK(BM_DecodeCoverPng120);
BENCHMARK(BM_DecodeJpeg600);
BENCHMARK(BM_DecodePng600);
BENCHMARK(BM_RefuseJpeg60000);
BENCHMARK(BM_RefusePng60000);

}  // namespace

BENCHMARK_MAIN();
