// FindLyricLine over a whole lyric response, as the lyric timer calls it twice
// a second: a second with a stamp, a second without one, and a CJK lyric.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "lyrics/lyric_lookup.h"

namespace {

// `lines` lines stamped four seconds apart, in the service's JSON form.
std::string MakeResponse(int lines, const std::string& text) {
  std::string lyric;
  for (int i = 0; i < lines; ++i) {
    char stamp[16];
    std::snprintf(stamp, sizeof stamp, "[%02d:%02d.%02d]", (i * 4) / 60, (i * 4) % 60, i % 100);
    lyric += stamp + text + " " + std::to_string(i) + "\\r\\n";
  }
  return "{\"lyric\":\"[ti:Title]\\r\\n[ar:Artist]\\r\\n" + lyric +
         "\",\"name\":\"Title\",\"sid\":\"1234567\"}";
}

void BM_FindLyricLine(benchmark::State& state, const std::string& text, const char* time) {
  const std::string response = MakeResponse(static_cast<int>(state.range(0)), text);
  for (auto _ : state) benchmark::DoNotOptimize(orvane::FindLyricLine(response, time));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * response.size()));
  state.counters["response_bytes"] = static_cast<double>(response.size());
}

const std::string kLatin = "an ordinary line of a pop song";
const std::string kCjk = "窗外的麻雀在电线杆上多嘴";

BENCHMARK_CAPTURE(BM_FindLyricLine, stamped_second, kLatin, "02:00")->Arg(60)->Arg(200);
BENCHMARK_CAPTURE(BM_FindLyricLine, unstamped_second, kLatin, "02:01")->Arg(60)->Arg(200);
BENCHMARK_CAPTURE(BM_FindLyricLine, cjk_stamped_second, kCjk, "02:00")->Arg(60)->Arg(200);

}  // namespace

BENCHMARK_MAIN();
