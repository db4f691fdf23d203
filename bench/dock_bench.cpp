// One docking tick with the real window (QtUi) and the real screen and
// pointer (QtDesktop). Counts the heap allocations of each tick, C++ ones
// (a replaced global operator new) and C ones of every library (malloc,
// calloc and realloc interposed): the tick runs ten times a second for the
// whole run and must allocate nothing.
//
//   QT_QPA_PLATFORM=offscreen build/bench/dock_bench
//   xvfb-run -a env QT_QPA_PLATFORM=xcb build/bench/dock_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <thread>

#include "app/window_behaviours.h"
#include "platform/qt_desktop.h"
#include "platform/qt_ui.h"

namespace {
std::atomic<long> g_allocations{0};
std::atomic<long> g_mallocs{0};
}  // namespace

extern "C" {
void* __libc_malloc(std::size_t);
void* __libc_calloc(std::size_t, std::size_t);
void* __libc_realloc(void*, std::size_t);
void* malloc(std::size_t size) {
  g_mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_malloc(size);
}
void* calloc(std::size_t n, std::size_t size) {
  g_mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) {
  g_mallocs.fetch_add(1, std::memory_order_relaxed);
  return __libc_realloc(p, size);
}
}

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = __libc_malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace orvane {
namespace {

void RunTicks(benchmark::State& state, int left, int top, bool freshPointer = false) {
  QtUi ui;
  QtDesktop desktop;
  ui.Show();
  ui.Move(Ui::kWindow, left, top);
  QCoreApplication::processEvents();
  DockAtScreenEdge(ui, desktop);  // settle into the state the ticks then keep
  const long before = g_allocations.load();
  const long mallocsBefore = g_mallocs.load();
  for (auto _ : state) {
    if (freshPointer) {
      // Ticks 100 ms apart never share a pointer query: wait out its reuse.
      state.PauseTiming();
      std::this_thread::sleep_for(std::chrono::microseconds(1100));
      state.ResumeTiming();
    }
    DockAtScreenEdge(ui, desktop);
  }
  const long allocations = g_allocations.load() - before;
  const long mallocs = g_mallocs.load() - mallocsBefore;
  state.counters["allocs_per_tick"] = benchmark::Counter(static_cast<double>(allocations) /
                                                         static_cast<double>(state.iterations()));
  state.counters["mallocs_per_tick"] =
      benchmark::Counter(static_cast<double>(mallocs) / static_cast<double>(state.iterations()));
  state.counters["left"] = ui.Left(Ui::kWindow);
  state.counters["top"] = ui.Top(Ui::kWindow);
}

// A free window: every rule reads, none moves.
void BM_DockTickFreeWindow(benchmark::State& state) {
  RunTicks(state, 400, 300);
}
// A window hidden at the top edge with the pointer away: the hiding rule
// writes the same top edge on every tick.
void BM_DockTickHiddenAtTop(benchmark::State& state) {
  RunTicks(state, 400, -237);
}

// As the timer sees it: each tick makes its own pointer query (on X11 a round
// trip to the display server).
void BM_DockTickFreshPointer(benchmark::State& state) {
  RunTicks(state, 400, 300, true);
}

BENCHMARK(BM_DockTickFreeWindow);
BENCHMARK(BM_DockTickHiddenAtTop);
BENCHMARK(BM_DockTickFreshPointer)->Iterations(2000);

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
