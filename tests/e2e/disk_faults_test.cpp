// The settings file under faults on disk: the program starts, runs and closes
// whatever sits at its path, and a kill in the middle of saving leaves the old
// settings or the new ones, never a torn file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <thread>

#include "e2e/drive_session.h"
#include "platform/profile_file.h"
#include "platform/text.h"

namespace orvane::e2e {
namespace {

namespace fs = std::filesystem;

// Nothing listens there: the service is not what these cases are about.
constexpr char kNoService[] = "http://127.0.0.1:1";
constexpr char kRunAndClose[] =
    "click 设置\ncheck 字体倾斜 1\nclick 设置2\nclick 下一曲\nwait 300\nclose\n";

const char* kKeys[] = {"字体型号",  "字体大小",  "字体加粗",  "字体选中", "字体下划线",
                       "文字颜色1", "文字颜色2", "文字颜色3", "文字渐变"};

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Immutable(const std::string& dir, bool on) {
  const std::string cmd = std::string("chattr ") + (on ? "+i " : "-i ") + dir + " 2>/dev/null";
  return std::system(cmd.c_str()) == 0;
}

struct Case {
  const char* name;
  std::function<void(const std::string& dir)> prepare;
  std::function<void(const std::string& dir)> check;
};

TEST(DiskFaults, TheProgramStartsRunsAndClosesWhateverIsOnDisk) {
  const Case cases[] = {
      {"a directory in the file's place",
       [](const std::string& dir) { fs::create_directory(dir + "/gcsz.ini"); },
       [](const std::string& dir) { EXPECT_TRUE(fs::is_directory(dir + "/gcsz.ini")); }},
      {"a 10 MB file",
       [](const std::string& dir) { WriteBytes(dir + "/gcsz.ini", std::string(10 << 20, 'x')); },
       // Too large to be a settings file: left alone rather than cut down.
       [](const std::string& dir) { EXPECT_EQ(fs::file_size(dir + "/gcsz.ini"), 10u << 20); }},
      {"binary bytes",
       [](const std::string& dir) {
         std::string junk(4096, '\0');
         std::mt19937 rng(7);
         for (char& c : junk) c = static_cast<char>(rng());
         WriteBytes(dir + "/gcsz.ini", junk);
       },
       [](const std::string& dir) {
         EXPECT_EQ(ReadProfileString(dir + "/gcsz.ini", "GECI", "字体选中"), "真");
       }},
      {"a file that is not GBK",
       [](const std::string& dir) {
         // UTF-8 keys: to the GBK reader they are other names.
         WriteBytes(dir + "/gcsz.ini", "[GECI]\r\n字体型号=2\r\n文字颜色1=16711680\r\n");
       },
       [](const std::string& dir) {
         EXPECT_EQ(ReadProfileString(dir + "/gcsz.ini", "GECI", "字体选中"), "真");
       }},
      {"a read-only directory",
       [](const std::string& dir) {
         WriteBytes(dir + "/gcsz.ini", Utf8ToGbk("[GECI]\r\n字体选中=假\r\n"));
         if (!Immutable(dir, true)) GTEST_SKIP() << "chattr +i is not available here";
       },
       [](const std::string& dir) {
         // Nothing could be written: the old file is whole.
         EXPECT_EQ(ReadProfileString(dir + "/gcsz.ini", "GECI", "字体选中"), "假");
         Immutable(dir, false);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir run;
    const std::string dir = run.path().toStdString();
    c.prepare(dir);
    const DriveResult r = RunDrive(kNoService, dir, kRunAndClose, 60000);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0) << r.stderrText.toStdString();
    ASSERT_FALSE(r.lines.empty());
    EXPECT_EQ(r.lines.back()["exit"].toInt(-1), 0);
    c.check(dir);
    Immutable(dir, false);
  }
}

TEST(DiskFaults, KilledWhileSavingLeavesTheOldOrTheNewSettings) {
  QTemporaryDir run;
  const std::string dir = run.path().toStdString();
  const std::string path = dir + "/gcsz.ini";
  // Save n writes the nine keys with both text colours 100 + n: the file must
  // always hold all nine from one save, so the two colours always agree.
  std::string script;
  for (int n = 0; n < 400; ++n) {
    const std::string c = std::to_string(100 + n);
    script +=
        "click 设置\ncolour 颜色选择器1 " + c + "\ncolour 颜色选择器2 " + c + "\nclick 设置2\n";
  }
  std::mt19937 rng(42);
  for (int round = 0; round < 6; ++round) {
    QProcess proc;
    proc.start(QStringLiteral(ORVANE_DRIVE_PATH),
               {"--service", kNoService, "--run-dir", QString::fromStdString(dir)});
    ASSERT_TRUE(proc.waitForStarted(10000));
    proc.write(QByteArray::fromStdString(script));
    std::this_thread::sleep_for(std::chrono::milliseconds(700 + rng() % 2000));
    ::kill(static_cast<pid_t>(proc.processId()), SIGKILL);
    proc.waitForFinished(10000);

    if (!FileExists(path)) continue;  // killed before the first save
    const std::string bytes = ReadBytes(path);
    ASSERT_TRUE(bytes.size() >= 2 && bytes.compare(bytes.size() - 2, 2, "\r\n") == 0)
        << "torn file after round " << round;
    for (const char* key : kKeys)
      EXPECT_FALSE(ReadProfileString(path, "GECI", key).empty()) << key << " round " << round;
    const int colour1 = std::atoi(ReadProfileString(path, "GECI", "文字颜色1").c_str());
    const int colour2 = std::atoi(ReadProfileString(path, "GECI", "文字颜色2").c_str());
    EXPECT_TRUE(colour1 >= 100 && colour1 < 500) << colour1;
    EXPECT_EQ(colour1, colour2) << "a save torn between its keys, round " << round;
  }
  // The program still starts from what was left.
  const DriveResult r = RunDrive(kNoService, dir, "dump\nclose\n", 60000);
  EXPECT_EQ(r.exitCode, 0);
  const QJsonObject d = r.lastDump();
  EXPECT_GE(Control(d, "颜色选择器1")["colour"].toInt(), 100);
}

}  // namespace
}  // namespace orvane::e2e
