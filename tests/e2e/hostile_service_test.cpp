// The real program against a station that misbehaves in every way it knows,
// one endpoint at a time: nothing crashes, no user action keeps the window
// busy for more than 15 seconds, memory stays bounded, and once the station
// behaves again the next song plays.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <QTemporaryDir>
#include <ostream>
#include <string>
#include <vector>

#include "e2e/drive_session.h"
#include "platform/text.h"
#include "station/station.h"

namespace orvane::e2e {
namespace {

struct Case {
  const char* endpoint;
  std::vector<const char*> faults;
  const char* action;  // the user's action that meets the fault
};

void PrintTo(const Case& c, std::ostream* os) {
  *os << c.endpoint;
}

// The program and the in-process station together; AddressSanitizer's shadow
// memory and quarantine roughly double what a process holds.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kPeakBoundMb = 1000;
#else
constexpr double kPeakBoundMb = 400;
#endif

const std::vector<const char*> kCommon = {"hang",        "drip",      "reset",   "notfound",
                                          "servererror", "truncated", "garbage", "huge"};

std::vector<const char*> With(std::vector<const char*> more) {
  std::vector<const char*> all = kCommon;
  all.insert(all.end(), more.begin(), more.end());
  return all;
}

std::string SubjectSid() {
  for (const auto& s : station::Station::Songs())
    if (ContainsText(s.album, "subject")) return s.sid;
  return {};
}

class HostileService : public ::testing::TestWithParam<Case> {};

TEST_P(HostileService, NothingBreaksAndPlaybackComesBack) {
  const Case& c = GetParam();
  const std::string sid = SubjectSid();
  ASSERT_FALSE(sid.empty());
  std::string script;
  for (const char* fault : c.faults) {
    // A healthy song first, whose album page leads to similar songs.
    script += "fault clear\nqueue " + sid + "\nclick 下一曲\nwaitstate 3 8000\n";
    script += std::string("fault ") + c.endpoint + " " + fault + "\n";
    script += std::string(c.action) + "\nwait 1500\n";
  }
  script += "fault clear\nclick 下一曲\nwaitstate 3 8000\nstats\ndump\nclose\n";

  QTemporaryDir run;
  const DriveResult r =
      RunDrive("", run.path().toStdString(), script, 600000, {"--station", "--timing"});
  ASSERT_TRUE(r.finished) << "the program hung: " << r.stderrText.toStdString();
  ASSERT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
  ASSERT_FALSE(r.lines.empty());
  EXPECT_EQ(r.lines.back()["exit"].toInt(-1), 0) << "no orderly close";

  int longest = 0;
  std::string longestCommand;
  for (const QJsonObject& line : r.lines) {
    if (!line.contains("command") || line["command"].toString().startsWith("wait")) continue;
    const int ms = line["ms"].toInt();
    if (ms > longest) {
      longest = ms;
      longestCommand = line["command"].toString().toStdString();
    }
  }
  EXPECT_LT(longest, 15000) << longestCommand;

  // The last healthy song plays.
  QJsonObject lastWait, stats;
  for (const QJsonObject& line : r.lines) {
    if (line.contains("waitstate")) lastWait = line;
    if (line.contains("peakRssKb")) stats = line;
  }
  EXPECT_TRUE(lastWait["reached"].toBool()) << "playback did not come back";
  const double peakMb = stats["peakRssKb"].toDouble() / 1024;
  EXPECT_LT(peakMb, kPeakBoundMb) << "peak resident memory";
  std::printf("[ hostile ] %s: longest action %d ms (%s), peak RSS %.1f MB\n", c.endpoint, longest,
              longestCommand.c_str(), peakMb);
}

INSTANTIATE_TEST_SUITE_P(
    EveryEndpoint, HostileService,
    ::testing::Values(Case{"playlist", With({"delay"}), "click 下一曲"},
                      Case{"lyric", With({"delay"}), "click 下一曲"},
                      Case{"cover", With({"corruptcover", "hugecover"}), "click 下一曲"},
                      Case{"audio", With({"streamhalf"}), "click 下一曲"},
                      Case{"channel_info", With({}), "press 标签5\nselect 组合框1 2"},
                      Case{"album", With({}), "click 相似歌曲"}),
    [](const ::testing::TestParamInfo<Case>& row) {
      std::string name = row.param.endpoint;
      for (char& ch : name)
        if (ch == '_') ch = 'X';
      return name;
    });

}  // namespace
}  // namespace orvane::e2e
