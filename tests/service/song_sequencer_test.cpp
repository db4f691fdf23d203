#include "service/song_sequencer.h"

#include <gtest/gtest.h>

#include "platform/curl_http_getter.h"
#include "platform/text.h"
#include "service/song_test_rig.h"
#include "station/station.h"
#include "station/station_fixtures.h"

namespace orvane {
namespace {

using station::Endpoint;
using station::SongFixture;
using station::Station;

const SongFixture& SongWhere(bool albumHasSubject) {
  for (const SongFixture& s : Station::Songs())
    if (ContainsText(s.album, "subject") == albumHasSubject && !s.title.empty()) return s;
  ADD_FAILURE() << "no fixture song with subject=" << albumHasSubject;
  return Station::Songs().front();
}

std::vector<std::string> CallsStartingWith(const FakeMediaControl& m, std::string_view prefix) {
  std::vector<std::string> out;
  for (const std::string& c : m.calls)
    if (c.rfind(prefix, 0) == 0) out.push_back(c.substr(prefix.size()));
  return out;
}

// The sequencer against the local station, with the real request object and
// the real GET for covers.
struct SequencerStationTest : ::testing::Test {
  Station station;
  CurlHttpGetter getter;
  SongRig rig;
  Context ctx{rig.state, rig.ui, rig.screen, rig.clipboard, rig.shell, getter, "."};

  void SetUp() override {
    ASSERT_TRUE(station.Start());
    rig.state.httpRequest = std::make_unique<HttpRequest>();
    rig.state.service.api = station.BaseUrl();
    rig.state.service.music = station.BaseUrl();
    rig.c("滑块条1").slider = 37;
  }
};

TEST_F(SequencerStationTest, PutsTheSongOn) {
  const SongFixture& song = SongWhere(true);
  station.QueueSongs({song.sid});
  PlayNextSong(ctx);

  const std::string titleAndArtist = song.title + " - " + song.artist;
  EXPECT_EQ(rig.c("标签1").caption, song.title);
  EXPECT_EQ(rig.c("标签2").caption, titleAndArtist);
  EXPECT_EQ(rig.c("标签4").caption, song.kbps + "Kbps");
  EXPECT_EQ(rig.c(Ui::kWindow).caption, titleAndArtist);
  EXPECT_EQ(rig.overlay->texts, std::vector<std::string>{titleAndArtist});

  const CurrentSong& cur = rig.state.currentSong;
  EXPECT_EQ(cur.status, kNowPlaying);
  EXPECT_EQ(cur.sid, song.sid);
  EXPECT_EQ(cur.ssid, song.ssid);
  EXPECT_EQ(cur.album, song.album);
  EXPECT_EQ(cur.info(2), song.albumtitle);
  EXPECT_EQ(cur.info(4), song.artist);
  EXPECT_EQ(cur.info(6), song.title);
  EXPECT_EQ(cur.info(1), cur.info(3));
  EXPECT_NE(UndoJsonSlashes(cur.info(1)).find("/covers/" + song.coverFile), std::string::npos);
  EXPECT_NE(UndoJsonSlashes(cur.info(5)).find("/audio/" + song.audioFile), std::string::npos);

  // The cover's bytes went into the picture box.
  ASSERT_EQ(station.Requests(Endpoint::Cover).size(), 1u);
  EXPECT_TRUE(rig.ui.HasPicture("图片框1"));
  EXPECT_NE(rig.c("图片框1").picture, "placeholder");

  // The stream, then the slider's volume; no separate Play.
  const std::vector<std::string> urls = CallsStartingWith(*rig.media, "SetUrl:");
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_EQ(UndoJsonSlashes(urls[0]), UndoJsonSlashes(cur.info(5)));
  EXPECT_EQ(CallsStartingWith(*rig.media, "SetVolume:"), std::vector<std::string>{"37"});
  EXPECT_TRUE(CallsStartingWith(*rig.media, "Play").empty());

  // The lyric of this song, asked for with its identifiers.
  EXPECT_EQ(cur.lyricResponse, song.lyricResponse);
  const auto lyricRequests = station.Requests(Endpoint::Lyric);
  ASSERT_EQ(lyricRequests.size(), 1u);
  EXPECT_EQ(lyricRequests[0].params.at("sid"), song.sid);
  EXPECT_EQ(lyricRequests[0].params.at("ssid"), song.ssid);

  EXPECT_TRUE(rig.c("图片框2").animation);
  EXPECT_EQ(rig.c("times").period, 500);
  EXPECT_TRUE(rig.c("相似歌曲").visible);
  EXPECT_EQ(rig.c("图片框1").pointer, MousePointer::Hand);
}

TEST_F(SequencerStationTest, SimilarButtonAndHandCursorFollowTheAlbumPath) {
  station.QueueSongs({SongWhere(true).sid, SongWhere(false).sid, SongWhere(true).sid});
  const bool wantSimilar[] = {true, false, true};
  for (bool want : wantSimilar) {
    PlayNextSong(ctx);
    EXPECT_EQ(rig.c("相似歌曲").visible, want);
    EXPECT_EQ(rig.c("图片框1").pointer, want ? MousePointer::Hand : MousePointer::Default);
  }
  // Writing 500 to a running timer leaves it running: started once.
  EXPECT_EQ(rig.c("times").periodWrites, 1);
}

TEST_F(SequencerStationTest, UnreachableServiceShowsOnlyTheFixedParts) {
  rig.state.currentSong.album = "\\/subject\\/1\\/";
  rig.ui.SetVisible("相似歌曲", true);
  station.Stop();
  PlayNextSong(ctx);

  EXPECT_EQ(rig.c("标签1").caption, "");
  EXPECT_EQ(rig.c("标签2").caption, " - ");
  EXPECT_EQ(rig.c("标签4").caption, "Kbps");
  EXPECT_EQ(rig.c(Ui::kWindow).caption, " - ");
  EXPECT_EQ(rig.overlay->texts, std::vector<std::string>{" - "});
  EXPECT_FALSE(rig.ui.HasPicture("图片框1"));
  EXPECT_EQ(CallsStartingWith(*rig.media, "SetUrl:"), std::vector<std::string>{""});
  EXPECT_EQ(rig.state.currentSong.status, kNowPlaying);
  EXPECT_EQ(rig.state.currentSong.album, "");
  EXPECT_FALSE(rig.c("相似歌曲").visible);
  EXPECT_EQ(rig.c("图片框1").pointer, MousePointer::Default);
  EXPECT_EQ(rig.c("times").period, 500);
}

TEST_F(SequencerStationTest, PlaySimilarFollowsTheAlbumPageToItsChannel) {
  const SongFixture& song = SongWhere(true);
  station.QueueSongs({song.sid});
  PlayNextSong(ctx);
  const std::string albumPath = UndoJsonSlashes(song.album);
  const station::AlbumFixture* album = nullptr;
  for (const auto& a : station::Albums())
    if (albumPath == "/subject/" + a.albumId + "/") album = &a;
  ASSERT_NE(album, nullptr);
  ASSERT_NE(album->channelName, song.artist);

  PlaySimilar(ctx);
  ASSERT_EQ(station.Requests(Endpoint::AlbumPage).size(), 1u);
  EXPECT_EQ(rig.state.channelId, album->cid);
  EXPECT_EQ(rig.state.channelName, album->channelName);
  // Labelled with the artist, not with the name the service gave the channel.
  EXPECT_EQ(rig.c("标签5").caption, song.artist + " MHz");
  EXPECT_EQ(rig.ui.waits, (std::vector<int>{100, 100}));
  EXPECT_EQ(station.Requests(Endpoint::Playlist).back().params.at("channel"), album->cid);
}

// PlaySimilar with the album page served by a fake GET: the page decides the
// channel, the label names the artist.
struct PlaySimilarTest : ::testing::Test {
  SongRig rig;
  void SetUp() override {
    rig.state.currentSong.album = "\\/subject\\/2170967\\/";
    rig.state.currentSong.info(4) = "Some Artist";
    rig.state.channelId = "5";
    rig.http.bodies["https://music.example/subject/2170967/"] =
        "<a href=\"https://douban.fm/?cid=22009&amp;from_=music_subject\">similar</a>";
    BindSequencer(rig.ctx);
  }
};

TEST_F(PlaySimilarTest, SwitchesToThePagesChannel) {
  std::vector<std::string> channelDuringWaits;
  rig.ui.onWait = [&](int) { channelDuringWaits.push_back(rig.state.channelId); };
  ASSERT_TRUE(rig.ui.Fire("相似歌曲", UiEvent::Clicked));

  EXPECT_EQ(rig.http.requested.front(), "https://music.example/subject/2170967/");
  EXPECT_EQ(rig.state.channelId, "22009");
  EXPECT_EQ(rig.ui.waits, (std::vector<int>{100, 100}));
  // Other handlers running in the waits see the old channel, then the new one.
  EXPECT_EQ(channelDuringWaits, (std::vector<std::string>{"5", "22009"}));
  EXPECT_EQ(rig.c("标签5").caption, "Some Artist MHz");
  // Then the next song: the stream was handed over and the timer runs.
  EXPECT_EQ(CallsStartingWith(*rig.media, "SetUrl:").size(), 1u);
  EXPECT_EQ(rig.c("times").period, 500);
}

TEST_F(PlaySimilarTest, LabelNamesTheArtistWhoseAlbumChoseTheChannel) {
  // A song change inside a wait replaces the artist slot.
  rig.ui.onWait = [&](int) { rig.state.currentSong.info(4) = "Someone Else"; };
  PlaySimilar(rig.ctx);
  EXPECT_EQ(rig.c("标签5").caption, "Some Artist MHz");
}

TEST_F(PlaySimilarTest, PageWithoutLinkOrOffSiteAlbumGivesTheEmptyChannel) {
  struct Case {
    const char* name;
    std::string album;
    bool fetched;
  };
  const Case cases[] = {
      {"page without cid", "\\/subject\\/404\\/", true},
      {"user-info host", "@elsewhere.example\\/subject\\/1\\/", false},
      {"scheme-relative path", "\\/\\/evil.example\\/subject", false},
      {"backslash", "\\\\evil.example\\subject", false},
  };
  for (const Case& c : cases) {
    SongRig r;
    r.state.channelId = "5";
    r.state.currentSong.album = c.album;
    PlaySimilar(r.ctx);
    EXPECT_EQ(r.state.channelId, "") << c.name;
    EXPECT_EQ(r.ui.waits, (std::vector<int>{100, 100})) << c.name;
    // No service here: the only GET is the album page, when it stays on the site.
    EXPECT_EQ(r.http.requested.size(), c.fetched ? 1u : 0u) << c.name;
    EXPECT_EQ(r.c("标签5").caption, " MHz") << c.name;
  }
}

}  // namespace
}  // namespace orvane
