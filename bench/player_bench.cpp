// The player's costs as the lyric tick sees them: reading the play state,
// position and duration while a song plays, and the time from SetUrl to
// "playing" for a song served by an in-process station. Null audio output.
//
//   build/bench/player_bench
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <memory>
#include <thread>
#include <vector>

#include "platform/mpv_media_control.h"
#include "player/media_player.h"
#include "station/station.h"

namespace {

using orvane::kPlayStatePlaying;
using Clock = std::chrono::steady_clock;

orvane::station::Station* gStation = nullptr;

std::string SongUrl(std::size_t i) {
  const auto& songs = orvane::station::Station::Songs();
  return gStation->BaseUrl() + "/audio/" + songs[i % songs.size()].audioFile;
}

bool WaitUntilPlaying(const orvane::MediaPlayer& player, std::chrono::seconds timeout) {
  auto deadline = Clock::now() + timeout;
  while (player.GetPlayState() != kPlayStatePlaying) {
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return true;
}

// One playing song shared by the read benchmarks; it repeats so it is still
// playing however long they run.
struct PlayingSong {
  std::shared_ptr<orvane::MpvMediaControl> control =
      std::make_shared<orvane::MpvMediaControl>(orvane::MpvSettings{.nullAudio = true});
  orvane::MediaPlayer player{control};
  bool playing = false;

  PlayingSong() {
    player.SetUrl(SongUrl(0));
    player.SetPlayCount("1000");
    playing = WaitUntilPlaying(player, std::chrono::seconds(10));
  }
};

PlayingSong& Song() {
  static PlayingSong song;
  return song;
}

template <typename Read>
void ReadWhilePlaying(benchmark::State& state, Read read) {
  PlayingSong& song = Song();
  if (!song.playing) {
    state.SkipWithError("the song did not start");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(read(song.player));
  if (song.player.GetPlayState() != kPlayStatePlaying) state.SkipWithError("stopped playing");
}

void BM_GetPlayState(benchmark::State& state) {
  ReadWhilePlaying(state, [](const orvane::MediaPlayer& p) { return p.GetPlayState(); });
}
void BM_GetPosition(benchmark::State& state) {
  ReadWhilePlaying(state, [](const orvane::MediaPlayer& p) { return p.GetPosition(); });
}
void BM_GetDuration(benchmark::State& state) {
  ReadWhilePlaying(state, [](const orvane::MediaPlayer& p) { return p.GetDuration(); });
}
BENCHMARK(BM_GetPlayState)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GetPosition)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_GetDuration)->Repetitions(5)->ReportAggregatesOnly(true);

// SetUrl to the first read of state 3, one song after another on one player
// (each SetUrl replaces the song before, as the sequencer does).
void BM_SetUrlToPlaying(benchmark::State& state) {
  auto control = std::make_shared<orvane::MpvMediaControl>(orvane::MpvSettings{.nullAudio = true});
  orvane::MediaPlayer player(control);
  std::vector<double> millis;
  std::size_t song = 0;
  for (auto _ : state) {
    auto start = Clock::now();
    player.SetUrl(SongUrl(song++));
    if (!WaitUntilPlaying(player, std::chrono::seconds(10))) {
      state.SkipWithError("a song did not start");
      return;
    }
    std::chrono::duration<double> took = Clock::now() - start;
    state.SetIterationTime(took.count());
    millis.push_back(took.count() * 1000);
  }
  std::sort(millis.begin(), millis.end());
  state.counters["median_ms"] = millis[millis.size() / 2];
  state.counters["max_ms"] = millis.back();
}
BENCHMARK(BM_SetUrlToPlaying)->UseManualTime()->Iterations(40)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_NUMERIC, "C");
  orvane::station::Station station;
  if (!station.Start()) return 1;
  gStation = &station;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
