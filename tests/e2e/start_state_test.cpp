// The program as a user first meets it: idle window, hidden overlay with its
// welcome line, nothing played, and the settings file written on closing.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include "e2e/drive_session.h"
#include "platform/profile_file.h"
#include "platform/text.h"
#include "station/station.h"

namespace orvane::e2e {
namespace {

using station::Endpoint;
using station::Station;

void ExpectIdleWindow(const QJsonObject& d) {
  EXPECT_EQ(d["window"].toObject()["title"].toString(), "OrvaneV1.3");
  EXPECT_EQ(d["window"].toObject()["width"].toInt(), 432);
  EXPECT_EQ(d["window"].toObject()["height"].toInt(), 240);
  EXPECT_EQ(Caption(d, "提示"), "音量：100");
  EXPECT_EQ(Caption(d, "标签5"), "豆瓣精选 MHz");
  EXPECT_EQ(Caption(d, "标签1"), "Orvane");
  EXPECT_EQ(Caption(d, "标签2"), "当前暂无歌词");
  EXPECT_EQ(Caption(d, "标签3"), "00:00/00:00");
  EXPECT_TRUE(Control(d, "暂停按钮")["visible"].toBool());
  EXPECT_FALSE(Control(d, "继续播放")["visible"].toBool());
  EXPECT_FALSE(Control(d, "组合框1")["visible"].toBool());
  EXPECT_FALSE(Control(d, "滑块条1")["visible"].toBool());
  EXPECT_FALSE(Control(d, "相似歌曲")["visible"].toBool());
  EXPECT_EQ(Control(d, "外形框1")["left"].toInt(), 430);
  EXPECT_EQ(Control(d, "进度条_绿")["width"].toInt(), 0);
  EXPECT_FALSE(Control(d, "图片框2")["animation"].toBool());
  EXPECT_EQ(Control(d, "时钟1")["period"].toInt(), 100);
  EXPECT_EQ(Control(d, "时钟2")["period"].toInt(), 0);
  EXPECT_EQ(Control(d, "times")["period"].toInt(), 0);

  const QJsonObject overlay = d["overlay"].toObject();
  EXPECT_TRUE(overlay["created"].toBool());
  EXPECT_FALSE(overlay["visible"].toBool());
  EXPECT_EQ(overlay["text"].toString(), "欢迎进入Orvane");

  const QJsonObject state = d["state"].toObject();
  EXPECT_EQ(state["channelId"].toString(), "-10");
  EXPECT_EQ(state["overlayShown"].toString(), "");
  EXPECT_EQ(SongOf(d)["status"].toString(), "");
  EXPECT_EQ(d["player"].toObject()["url"].toString(), "");
}

TEST(StartState, IdleWindowAgainstTheStation) {
  Station st;
  ASSERT_TRUE(st.Start());
  QTemporaryDir run;
  auto r = RunDrive(st.BaseUrl(), run.path().toStdString(), "wait 300\ndump\nclose\n");
  ASSERT_TRUE(r.finished) << r.stderrText.toStdString();
  ASSERT_EQ(r.dumps().size(), 1u) << r.stderrText.toStdString();
  const QJsonObject d = r.lastDump();
  ExpectIdleWindow(d);
  EXPECT_EQ(d["state"].toObject()["channelName"].toString(), "豆瓣精选");

  // The start channel's information was asked for; no song was.
  const auto info = st.Requests(Endpoint::ChannelInfo);
  ASSERT_EQ(info.size(), 1u);
  EXPECT_EQ(info[0].params.at("id"), "-10");
  EXPECT_TRUE(st.Requests(Endpoint::Playlist).empty());
  EXPECT_EQ(r.lines.back()["exit"].toInt(-1), 0);
  EXPECT_EQ(r.exitCode, 0);
}

TEST(StartState, StationDownStillShowsTheFixedChannelLabel) {
  QTemporaryDir run;
  // Nothing listens on port 1.
  auto r = RunDrive("http://127.0.0.1:1", run.path().toStdString(), "dump\nclose\n");
  ASSERT_TRUE(r.finished);
  const QJsonObject d = r.lastDump();
  ExpectIdleWindow(d);
  EXPECT_EQ(d["state"].toObject()["channelName"].toString(), "");
  EXPECT_EQ(r.exitCode, 0);
}

TEST(StartState, FirstCloseWritesTheInitialSettingsInGbk) {
  QTemporaryDir run;
  const std::string dir = run.path().toStdString();
  const std::string path = dir + "/gcsz.ini";
  ASSERT_FALSE(FileExists(path));
  auto r = RunDrive("http://127.0.0.1:1", dir, "close\n");
  ASSERT_TRUE(r.finished);
  ASSERT_TRUE(FileExists(path));

  QFile f(QString::fromStdString(path));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const std::string raw = f.readAll().toStdString();
  // On disk the keys are GBK, not UTF-8.
  EXPECT_EQ(raw.find("字体型号"), std::string::npos);
  const std::string text = GbkToUtf8(raw);
  const char* keys[] = {"字体型号",  "字体大小",  "字体加粗",  "字体选中", "字体下划线",
                        "文字颜色1", "文字颜色2", "文字颜色3", "文字渐变"};
  const char* values[] = {"1", "1", "真", "假", "假", "255", "65535", "0", "1"};
  std::size_t last = text.find("[GECI]");
  ASSERT_NE(last, std::string::npos);
  for (int i = 0; i < 9; ++i) {
    const std::size_t at = text.find(std::string(keys[i]) + "=" + values[i], last);
    EXPECT_NE(at, std::string::npos) << keys[i];
    if (at != std::string::npos) last = at;  // keys in their order
    EXPECT_EQ(ReadProfileString(path, "GECI", keys[i]), values[i]) << keys[i];
  }
}

}  // namespace
}  // namespace orvane::e2e
