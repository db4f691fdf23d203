// One service request against the in-process station (the playlist, as the
// sequencer asks for it), with the connection kept between requests and with
// a fresh object each time; and how long each misbehaviour of the station
// takes to fail.
//
//   build/bench/http_bench --benchmark_filter=Playlist
//   build/bench/http_bench --benchmark_filter=Fault

#include <benchmark/benchmark.h>

#include <memory>

#include "http/http_request.h"
#include "http/raw_server.h"
#include "platform/curl_request_component.h"
#include "platform/curl_transfer.h"
#include "service/service_requests.h"
#include "station/station.h"

namespace orvane {
namespace {

using station::Endpoint;
using station::Fault;
using station::FaultSpec;

station::Station& SharedStation() {
  static station::Station* s = [] {
    auto* created = new station::Station();
    created->Start();
    return created;
  }();
  return *s;
}

std::string PlaylistUrlAt(const std::string& base) {
  ProgramState state;
  state.service.api = base;
  state.channelId = "-10";
  return PlaylistUrl(state);
}

void BM_ServiceRequestPlaylist(benchmark::State& bench) {
  station::Station& s = SharedStation();
  s.ClearFaults();
  const std::string url = PlaylistUrlAt(s.BaseUrl());
  HttpRequest request;
  std::size_t bytes = 0;
  for (auto _ : bench) bytes += ServiceRequest(&request, url).size();
  if (bytes == 0) bench.SkipWithError("empty responses");
  s.ClearRequests();
}
BENCHMARK(BM_ServiceRequestPlaylist)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ServiceRequestPlaylistFreshObject(benchmark::State& bench) {
  station::Station& s = SharedStation();
  s.ClearFaults();
  const std::string url = PlaylistUrlAt(s.BaseUrl());
  std::size_t bytes = 0;
  for (auto _ : bench) {
    HttpRequest request;
    bytes += ServiceRequest(&request, url).size();
  }
  if (bytes == 0) bench.SkipWithError("empty responses");
  s.ClearRequests();
}
BENCHMARK(BM_ServiceRequestPlaylistFreshObject)->Repetitions(5)->ReportAggregatesOnly(true);

struct FaultCase {
  const char* name;
  FaultSpec fault;
};
const FaultCase kFaults[] = {
    {"hang", {Fault::Hang}},
    {"drip", {Fault::Drip}},
    {"delay_20s", {Fault::Delay, 20000}},
    {"reset", {Fault::Reset}},
    {"not_found", {Fault::NotFound}},
    {"server_error", {Fault::ServerError}},
    {"truncated", {Fault::Truncated}},
    {"garbage", {Fault::Garbage}},
    {"huge", {Fault::Huge}},
    {"closed_port", {Fault::None}},
};

void BM_FaultFails(benchmark::State& bench, FaultCase c) {
  station::Station& s = SharedStation();
  const bool closedPort = std::string_view(c.name) == "closed_port";
  std::string url = PlaylistUrlAt(s.BaseUrl());
  std::unique_ptr<station::Station> gone;
  if (closedPort) {
    gone = std::make_unique<station::Station>();
    gone->Start();
    url = PlaylistUrlAt(gone->BaseUrl());
    gone->Stop();
  }
  auto component = std::make_shared<CurlRequestComponent>();
  HttpRequest request(component);
  for (auto _ : bench) {
    bench.PauseTiming();
    s.SetFault(Endpoint::Playlist, c.fault);
    bench.ResumeTiming();
    benchmark::DoNotOptimize(ServiceRequest(&request, url));
  }
  s.ClearFaults();
  bench.SetLabel(ToString(component->LastError()));
}

// A listener that never reads: the TLS handshake never gets an answer.
void BM_FaultFailsTlsHandshakeNeverEnds(benchmark::State& bench) {
  testing::RawServer silent(false);
  const std::string url = "https://127.0.0.1:" + std::to_string(silent.port()) + "/";
  auto component = std::make_shared<CurlRequestComponent>();
  HttpRequest request(component);
  for (auto _ : bench) benchmark::DoNotOptimize(ServiceRequest(&request, url));
  bench.SetLabel(ToString(component->LastError()));
}
BENCHMARK(BM_FaultFailsTlsHandshakeNeverEnds)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

const bool kFaultBenchmarks = [] {
  for (const FaultCase& c : kFaults) {
    benchmark::RegisterBenchmark((std::string("BM_FaultFails/") + c.name).c_str(), BM_FaultFails, c)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(3)
        ->ReportAggregatesOnly(true)
        ->UseRealTime();
  }
  return true;
}();

}  // namespace
}  // namespace orvane

BENCHMARK_MAIN();
