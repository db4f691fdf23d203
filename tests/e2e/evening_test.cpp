// A user's evening with the real program against the local station: songs
// start, lyrics follow the playback, songs follow one another, channels change,
// pause and continue, copy, the album page and the artist's channel.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <optional>
#include <string>

#include "e2e/drive_session.h"
#include "platform/text.h"
#include "station/station.h"

namespace orvane::e2e {
namespace {

using station::Endpoint;
using station::SongFixture;
using station::Station;

QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

// The first fixture song that satisfies `pred`.
template <typename Pred>
std::optional<SongFixture> FindSong(Pred pred) {
  for (const SongFixture& s : Station::Songs())
    if (pred(s)) return s;
  return std::nullopt;
}

bool HasSubject(const SongFixture& s) {
  return ContainsText(s.album, "subject");
}
bool HasTimedLyric(const SongFixture& s) {
  return ContainsText(s.lyricResponse, "[00:01") && ContainsText(s.lyricResponse, "[00:02");
}

class Evening : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(st.Start()); }
  DriveResult Drive(const std::string& script, int timeoutMs = 120000) {
    return RunDrive(st.BaseUrl(), run.path().toStdString(), script, timeoutMs);
  }
  Station st;
  QTemporaryDir run;
};

TEST_F(Evening, NextSongFillsTheWindowAndPlays) {
  auto song = FindSong([](const SongFixture& s) { return HasSubject(s) && HasTimedLyric(s); });
  auto plain = FindSong([](const SongFixture& s) { return !HasSubject(s); });
  ASSERT_TRUE(song && plain);
  st.QueueSongs({song->sid, plain->sid});
  auto r = Drive("click 下一曲\ndump\nwaitstate 3 5000\nclick 下一曲\ndump\nclose\n");
  ASSERT_TRUE(r.finished) << r.stderrText.toStdString();
  const auto dumps = r.dumps();
  ASSERT_EQ(dumps.size(), 2u);

  const QJsonObject& d = dumps[0];
  const QString titleArtist = Q(song->title + " - " + song->artist);
  EXPECT_EQ(Caption(d, "标签1"), Q(song->title));
  EXPECT_EQ(Caption(d, "标签2"), titleArtist);
  EXPECT_EQ(Caption(d, "标签4"), Q(song->kbps + "Kbps"));
  EXPECT_EQ(d["window"].toObject()["title"].toString(), titleArtist);
  EXPECT_EQ(d["overlay"].toObject()["text"].toString(), titleArtist);
  EXPECT_TRUE(Control(d, "图片框1")["picture"].toBool());
  EXPECT_EQ(Control(d, "图片框1")["pointer"].toString(), "hand");
  EXPECT_TRUE(Control(d, "相似歌曲")["visible"].toBool());
  EXPECT_TRUE(Control(d, "图片框2")["animation"].toBool());
  EXPECT_EQ(Control(d, "times")["period"].toInt(), 500);
  const QJsonObject s = SongOf(d);
  EXPECT_EQ(s["status"].toString(), "正在播放");
  EXPECT_EQ(s["sid"].toString(), Q(song->sid));
  EXPECT_EQ(s["album"].toString(), Q(song->album));
  EXPECT_EQ(s["info"].toArray()[5].toString(), Q(song->title));
  EXPECT_EQ(s["info"].toArray()[3].toString(), Q(song->artist));
  EXPECT_EQ(s["lyricResponse"].toString(), Q(song->lyricResponse));
  EXPECT_TRUE(d["player"].toObject()["url"].toString().contains(Q(song->audioFile)));
  EXPECT_EQ(d["player"].toObject()["volume"].toInt(), 100);

  // The player reached "playing".
  bool playing = false;
  for (const QJsonObject& line : r.lines)
    if (line.contains("waitstate")) playing = line["reached"].toBool();
  EXPECT_TRUE(playing);

  // A song whose album path has no "subject": no similar songs, default cursor.
  const QJsonObject& d2 = dumps[1];
  EXPECT_EQ(SongOf(d2)["sid"].toString(), Q(plain->sid));
  EXPECT_FALSE(Control(d2, "相似歌曲")["visible"].toBool());
  EXPECT_EQ(Control(d2, "图片框1")["pointer"].toString(), "default");

  // The lyric was asked for with the song's identifiers.
  const auto lyric = st.Requests(Endpoint::Lyric);
  ASSERT_GE(lyric.size(), 1u);
  EXPECT_EQ(lyric[0].params.at("sid"), song->sid);
  EXPECT_EQ(lyric[0].params.at("ssid"), song->ssid);
}

TEST_F(Evening, LyricFollowsPlaybackAndTheNextSongFollowsByItself) {
  auto song = FindSong(HasTimedLyric);
  ASSERT_TRUE(song);
  st.QueueSongs({song->sid});
  // Long enough for the song (a few seconds) to end and the next to start.
  auto r = Drive("click 下一曲\nwaitstate 3 5000\nwait 2600\ndump\nwait 9000\ndump\nclose\n");
  ASSERT_TRUE(r.finished) << r.stderrText.toStdString();
  const auto dumps = r.dumps();
  ASSERT_EQ(dumps.size(), 2u);

  const QJsonObject& d = dumps[0];
  const QString line = Caption(d, "标签2");
  EXPECT_NE(line, Q(song->title + " - " + song->artist)) << "no lyric line shown";
  EXPECT_FALSE(line.isEmpty());
  EXPECT_TRUE(Q(song->lyricResponse).contains(line)) << line.toStdString();
  EXPECT_EQ(d["overlay"].toObject()["text"].toString(), line);
  EXPECT_TRUE(
      QRegularExpression("^\\d\\d:\\d\\d \\| \\d\\d:\\d\\d$").match(Caption(d, "标签3")).hasMatch())
      << Caption(d, "标签3").toStdString();
  EXPECT_GT(Control(d, "进度条_绿")["width"].toInt(), 0);

  // The song ended; the sequencer fetched another by itself.
  EXPECT_GE(st.Requests(Endpoint::Playlist).size(), 2u);
  EXPECT_EQ(Control(dumps[1], "times")["period"].toInt(), 500);
}

TEST_F(Evening, ChannelsPauseAndCopy) {
  auto r = Drive(
      "press 标签5\ndump\n"                      // 0: the chooser opens
      "select 组合框1 2\ndump\n"                 // 1: 华语
      "press 标签5\nselect 组合框1 0\ndump\n"    // 2: 豆瓣精选
      "click 暂停按钮\ndump\n"                   // 3: paused look
      "press 标签5\nselect 组合框1 1\ndump\n"    // 4: a separator while paused
      "click 暂停按钮\nclick 继续播放\ndump\n"   // 5: playing look again
      "click 设置\npress 标签1\ndump\n"          // 6: panel open: closes, no copy
      "press 标签1\ndump\n"                      // 7: copies
      "wait 600\npress 标签1\nwait 850\ndump\n"  // 8: back at 1 s, not at 1.6 s
      "close\n");
  ASSERT_TRUE(r.finished) << r.stderrText.toStdString();
  const auto d = r.dumps();
  ASSERT_EQ(d.size(), 9u);

  EXPECT_TRUE(Control(d[0], "组合框1")["visible"].toBool());
  EXPECT_FALSE(Control(d[0], "标签5")["visible"].toBool());

  const auto channels = station::Channels();
  std::string huayu;
  for (const auto& c : channels)
    if (c.id == "1") huayu = c.name;
  EXPECT_EQ(d[1]["state"].toObject()["channelId"].toString(), "1");
  EXPECT_EQ(Caption(d[1], "标签5"), Q(huayu + " MHz"));
  EXPECT_FALSE(Control(d[1], "组合框1")["visible"].toBool());
  EXPECT_EQ(SongOf(d[1])["status"].toString(), "正在播放");

  EXPECT_EQ(d[2]["state"].toObject()["channelId"].toString(), "-10");
  EXPECT_EQ(Caption(d[2], "标签5"), "豆瓣精选 MHz");

  EXPECT_TRUE(Control(d[3], "继续播放")["visible"].toBool());
  EXPECT_FALSE(Control(d[3], "暂停按钮")["visible"].toBool());
  EXPECT_FALSE(Control(d[3], "图片框2")["animation"].toBool());

  // A separator changes nothing but the chooser and the look.
  EXPECT_EQ(d[4]["state"].toObject()["channelId"].toString(), "-10");
  EXPECT_EQ(Caption(d[4], "标签5"), "豆瓣精选 MHz");
  EXPECT_TRUE(Control(d[4], "暂停按钮")["visible"].toBool());
  EXPECT_FALSE(Control(d[4], "继续播放")["visible"].toBool());
  EXPECT_FALSE(Control(d[4], "图片框2")["animation"].toBool());

  EXPECT_TRUE(Control(d[5], "暂停按钮")["visible"].toBool());
  EXPECT_TRUE(Control(d[5], "图片框2")["animation"].toBool());

  EXPECT_EQ(Control(d[6], "外形框1")["left"].toInt(), 430);
  EXPECT_EQ(d[6]["clipboard"].toString(), "");

  const QJsonObject song = SongOf(d[7]);
  const QString copied =
      song["info"].toArray()[5].toString() + " " + song["info"].toArray()[3].toString();
  EXPECT_EQ(d[7]["clipboard"].toString(), copied);
  EXPECT_EQ(Caption(d[7], "提示"), "歌曲信息已复制");
  // The second press within the second did not prolong the message.
  EXPECT_EQ(Caption(d[8], "提示"), "音量：100");
}

TEST_F(Evening, AlbumPageAndSimilarSongs) {
  auto song = FindSong(HasSubject);
  ASSERT_TRUE(song);
  st.QueueSongs({song->sid});
  auto r = Drive(
      "press 图片框1\ndump\nclick 下一曲\npress 图片框1\ndump\nclick 相似歌曲\ndump\nclose\n");
  ASSERT_TRUE(r.finished) << r.stderrText.toStdString();
  const auto d = r.dumps();
  ASSERT_EQ(d.size(), 3u);
  EXPECT_TRUE(d[0]["opened"].toArray().isEmpty()) << "opened before the first song";
  const QJsonArray opened = d[1]["opened"].toArray();
  ASSERT_EQ(opened.size(), 1);
  EXPECT_EQ(opened[0].toString(), Q(st.BaseUrl() + UndoJsonSlashes(song->album)));

  // The album page's similar-songs link names the new channel.
  const QString cid = d[2]["state"].toObject()["channelId"].toString();
  EXPECT_FALSE(cid.isEmpty());
  EXPECT_NE(cid, "-10");
  EXPECT_EQ(Caption(d[2], "标签5"), Q(song->artist + " MHz"));
  bool askedForCid = false;
  for (const auto& req : st.Requests(Endpoint::Playlist))
    if (req.params.count("channel") && Q(req.params.at("channel")) == cid) askedForCid = true;
  EXPECT_TRUE(askedForCid);
}

TEST_F(Evening, StationDownNothingBreaks) {
  st.Stop();
  auto r = Drive("click 下一曲\nwait 1200\ndump\nclose\n");
  ASSERT_TRUE(r.finished) << r.stderrText.toStdString();
  const QJsonObject d = r.lastDump();
  EXPECT_EQ(Caption(d, "标签1"), "");
  EXPECT_EQ(Caption(d, "标签2"), " - ");
  EXPECT_EQ(Caption(d, "标签4"), "Kbps");
  EXPECT_FALSE(Control(d, "图片框1")["picture"].toBool());
  EXPECT_EQ(r.exitCode, 0);
}

}  // namespace
}  // namespace orvane::e2e
