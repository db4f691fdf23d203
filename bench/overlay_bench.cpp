// Rendering one lyric line in the overlay's default look, beside the
// straightforward way: a fresh window-sized image and the text path
// rasterised separately for the shadow, the outline and the fill.
//
//   build/bench/overlay_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <memory>

#include "overlay/layered_surface.h"
#include "overlay/lyrics_window.h"

namespace {

const char* const kLine = "我在窗前静静地听着雨声想起你温柔的模样啊";      // 20 characters
const char* const kNextLine = "风吹过山岗带走了我们年少时所有的梦想吧呀";  // 20 characters

// The default look drawn the plain way, as the overlay first did it.
void BM_Baseline(benchmark::State& state) {
  const int width = static_cast<int>(state.range(0));
  const int height = 150;
  orvane::LyricsWindow look;  // only for its default font
  look.Create(width, height);
  const QFont font = *look.Font();
  look.Destroy();
  const QString text = QString::fromUtf8(kLine);
  for (auto _ : state) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(font);
    const QRectF box((width - metrics.horizontalAdvance(text)) / 2, (height - metrics.height()) / 2,
                     metrics.horizontalAdvance(text), metrics.height());
    QPainterPath shadow;
    shadow.addText(box.left() + 2, box.top() + 2 + metrics.ascent(), font, text);
    painter.fillPath(shadow, QColor(0, 0, 0, 150));
    QPainterPath path;
    path.addText(box.left(), box.top() + metrics.ascent(), font, text);
    painter.strokePath(path, QPen(Qt::black, 1));
    QLinearGradient gradient(box.topLeft(), box.bottomLeft());
    gradient.setColorAt(0, QColor(227, 254, 0));
    gradient.setColorAt(1, QColor(51, 177, 0));
    gradient.setSpread(QGradient::ReflectSpread);
    painter.fillPath(path, gradient);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_Baseline)->Arg(1366)->Arg(1920)->Unit(benchmark::kMillisecond);

// The lyric tick: the same line set again and again.
void BM_SetTextSameLine(benchmark::State& state) {
  orvane::LyricsWindow overlay;
  overlay.Create(static_cast<int>(state.range(0)), 150);
  for (auto _ : state) overlay.SetText(kLine);
  overlay.Destroy();
}
BENCHMARK(BM_SetTextSameLine)->Arg(1366)->Arg(1920)->Unit(benchmark::kMillisecond);

// A new line on every render: nothing of the previous line can be reused.
void BM_SetTextNewLine(benchmark::State& state) {
  orvane::LyricsWindow overlay;
  overlay.Create(static_cast<int>(state.range(0)), 150);
  bool next = false;
  for (auto _ : state) {
    overlay.SetText(next ? kNextLine : kLine);
    next = !next;
  }
  overlay.Destroy();
}
BENCHMARK(BM_SetTextNewLine)->Arg(1366)->Arg(1920)->Unit(benchmark::kMillisecond);

// A new line and the window's repaint that follows it, as the lyric tick
// costs the UI thread as a whole.
void BM_SetTextAndRepaint(benchmark::State& state) {
  orvane::LyricsWindow overlay;
  overlay.Create(static_cast<int>(state.range(0)), 150);
  overlay.Show();
  bool next = false;
  for (auto _ : state) {
    overlay.SetText(next ? kNextLine : kLine);
    next = !next;
    QCoreApplication::processEvents();
  }
  overlay.Destroy();
}
BENCHMARK(BM_SetTextAndRepaint)->Arg(1366)->Arg(1920)->Unit(benchmark::kMillisecond);

// The input mask of a rendered line, built from its alpha.
void BM_InputMask(benchmark::State& state) {
  orvane::LyricsWindow overlay;
  overlay.Create(static_cast<int>(state.range(0)), 150);
  overlay.SetText(kLine);
  const QImage picture = overlay.Picture();
  for (auto _ : state) {
    benchmark::DoNotOptimize(orvane::OpaqueRegion(picture, picture.rect()).rectCount());
  }
  overlay.Destroy();
}
BENCHMARK(BM_InputMask)->Arg(1366)->Arg(1920)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  orvane::RegisterLyricsWindowClass();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
