// The service slice over a real HttpRequest and the station: each value of
// the three responses lands where it belongs, and with the network down every
// destination is emptied.

#include <gtest/gtest.h>

#include "platform/curl_http_getter.h"
#include "platform/text.h"
#include "service/service_requests.h"
#include "station/station.h"

namespace orvane {
namespace {

using station::Station;

bool EndsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

class ServiceFetchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(station_.Start());
    state_.service.api = station_.BaseUrl();
    state_.service.music = station_.BaseUrl();
    state_.httpRequest = std::make_unique<HttpRequest>();
    state_.channelId = "-10";
  }
  Station station_;
  ProgramState state_;
};

TEST_F(ServiceFetchTest, ChannelInfoSetsTheChannelName) {
  for (const char* id : {"-10", "1"}) {
    SCOPED_TRACE(id);
    state_.channelId = id;
    FetchChannelInfo(state_);
    std::string expected;
    for (const auto& channel : station::Channels())
      if (channel.id == id) expected = channel.name;
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(state_.channelName, expected);
  }
  const auto requests = station_.Requests(station::Endpoint::ChannelInfo);
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].params.at("id"), "-10");
}

TEST_F(ServiceFetchTest, PlaylistAndLyricLandInTheirDestinations) {
  const station::SongFixture& song = Station::Songs().front();
  station_.QueueSongs({song.sid});

  const PlaylistSong fetched = FetchPlaylist(state_);
  EXPECT_EQ(fetched.albumtitle, song.albumtitle);
  EXPECT_EQ(fetched.title, song.title);
  EXPECT_EQ(fetched.artist, song.artist);
  EXPECT_EQ(state_.currentSong.sid, song.sid);
  EXPECT_EQ(state_.currentSong.ssid, song.ssid);
  EXPECT_EQ(state_.currentSong.kbps, song.kbps);
  EXPECT_EQ(state_.currentSong.album, song.album);
  // The two URLs come with their JSON escapes and lead, once undone, to the
  // station's own files.
  EXPECT_TRUE(EndsWith(UndoJsonSlashes(fetched.url), "/audio/" + song.audioFile)) << fetched.url;
  EXPECT_TRUE(EndsWith(UndoJsonSlashes(fetched.picture), "/covers/" + song.coverFile))
      << fetched.picture;
  EXPECT_TRUE(ContainsText(fetched.url, "\\/"));
  CurlHttpGetter getter;
  EXPECT_FALSE(getter.Get(fetched.url).empty());
  EXPECT_FALSE(getter.Get(fetched.picture).empty());

  FetchLyric(state_);
  EXPECT_EQ(state_.currentSong.lyricResponse, song.lyricResponse);
  const auto lyric = station_.Requests(station::Endpoint::Lyric);
  ASSERT_EQ(lyric.size(), 1u);
  EXPECT_EQ(lyric[0].params.at("sid"), song.sid);
  EXPECT_EQ(lyric[0].params.at("ssid"), song.ssid);
  // The lyric field: the raw text between its key and "name", escapes kept.
  const std::string& text = state_.currentSong.lyricText;
  EXPECT_FALSE(text.empty());
  EXPECT_TRUE(ContainsText(song.lyricResponse, "\"lyric\":\"" + text + "\",\"name\""));
}

TEST_F(ServiceFetchTest, NetworkDownEmptiesEveryDestination) {
  state_.channelName = "old";
  CurrentSong& current = state_.currentSong;
  current.sid = current.ssid = current.kbps = current.album = "old";
  current.lyricResponse = current.lyricText = "old";
  station_.Stop();

  FetchChannelInfo(state_);
  const PlaylistSong fetched = FetchPlaylist(state_);
  FetchLyric(state_);

  EXPECT_EQ(state_.channelName, "");
  EXPECT_EQ(fetched.albumtitle, "");
  EXPECT_EQ(fetched.title, "");
  EXPECT_EQ(fetched.artist, "");
  EXPECT_EQ(fetched.url, "");
  EXPECT_EQ(fetched.picture, "");
  EXPECT_EQ(current.sid, "");
  EXPECT_EQ(current.ssid, "");
  EXPECT_EQ(current.kbps, "");
  EXPECT_EQ(current.album, "");
  EXPECT_EQ(current.lyricResponse, "");
  EXPECT_EQ(current.lyricText, "");
}

}  // namespace
}  // namespace orvane
