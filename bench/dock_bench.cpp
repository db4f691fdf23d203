// One docking tick with the real window (QtUi) and the real screen and
// pointer (QtDesktop), offscreen. Counts the heap allocations of each tick
// with a replaced global operator new: the tick runs ten times a second for
// the whole run and must allocate nothing.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <atomic>
#include <cstdlib>
#include <new>

#include "app/window_behaviours.h"
#include "platform/qt_desktop.h"
#include "platform/qt_ui.h"

namespace {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace orvane {
namespace {

void RunTicks(benchmark::State& state, int left, int top) {
  QtUi ui;
  QtDesktop desktop;
  ui.Show();
  ui.Move(Ui::kWindow, left, top);
  QCoreApplication::processEvents();
  DockAtScreenEdge(ui, desktop);  // settle into the state the ticks then keep
  const long before = g_allocations.load();
  for (auto _ : state) DockAtScreenEdge(ui, desktop);
  const long allocations = g_allocations.load() - before;
  state.counters["allocs_per_tick"] =
      benchmark::Counter(static_cast<double>(allocations) / static_cast<double>(state.iterations()));
  state.counters["left"] = ui.Left(Ui::kWindow);
  state.counters["top"] = ui.Top(Ui::kWindow);
}

// A free window: every rule reads, none moves.
void BM_DockTickFreeWindow(benchmark::State& state) { RunTicks(state, 400, 300); }
// A window hidden at the top edge with the pointer away: the hiding rule
// writes the same top edge on every tick.
void BM_DockTickHiddenAtTop(benchmark::State& state) { RunTicks(state, 400, -237); }

BENCHMARK(BM_DockTickFreeWindow);
BENCHMARK(BM_DockTickHiddenAtTop);

}  // namespace
}  // namespace orvane

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
