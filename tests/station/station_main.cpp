// orvane-station --port N [--fault ENDPOINT:FAULT[:ms[:times]]]...
// Serves the local station on 127.0.0.1 until interrupted; prints its base URL.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "station/station.h"
#include "station/station_names.h"

using orvane::station::Endpoint;
using orvane::station::Fault;
using orvane::station::FaultSpec;

namespace {

bool ParseFault(const std::string& text, Endpoint& endpoint, FaultSpec& rule) {
  std::size_t a = text.find(':');
  if (a == std::string::npos) return false;
  std::size_t b = text.find(':', a + 1);
  if (!orvane::station::ParseEndpoint(text.substr(0, a), endpoint) ||
      !orvane::station::ParseFaultName(text.substr(a + 1, b == std::string::npos ? b : b - a - 1),
                                       rule.fault))
    return false;
  if (b != std::string::npos) {
    std::size_t c = text.find(':', b + 1);
    rule.delayMs = std::stoi(text.substr(b + 1, c == std::string::npos ? c : c - b - 1));
    if (c != std::string::npos) rule.times = std::stoi(text.substr(c + 1));
  }
  return true;
}

int Usage() {
  std::fprintf(stderr,
               "usage: orvane-station [--port N] [--fault ENDPOINT:FAULT[:ms[:times]]]...\n"
               "  ENDPOINT: channel_info playlist lyric album cover audio cookies\n"
               "  FAULT: delay hang drip reset notfound servererror truncated garbage huge\n"
               "         corruptcover hugecover streamhalf\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int port = 0;
  orvane::station::Station station;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
      port = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--fault") == 0 && i + 1 < argc) {
      Endpoint endpoint{};
      FaultSpec rule;
      if (!ParseFault(argv[++i], endpoint, rule)) return Usage();
      station.SetFault(endpoint, rule);
    } else {
      return Usage();
    }
  }
  // Block the signals before any server thread exists, so only sigwait sees them.
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  if (!station.Start(port)) {
    std::fprintf(stderr, "orvane-station: cannot listen on 127.0.0.1:%d\n", port);
    return 1;
  }
  std::printf("%s\n", station.BaseUrl().c_str());
  std::fflush(stdout);
  int received = 0;
  sigwait(&signals, &received);
  station.Stop();
  return 0;
}
