// The local station answers in the service's recorded shapes, misbehaves on
// request and records what it is asked. Raw sockets are used where the exact
// bytes on the wire matter (headers, truncation, resets).
#include "station/station.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <future>
#include <string>
#include <thread>
#include <vector>

namespace orvane::station {
namespace {

struct RawResponse {
  std::string head;  // status line and headers
  std::string body;
  bool reset = false;  // the connection ended with ECONNRESET
  int status() const { return head.size() > 12 ? std::stoi(head.substr(9, 3)) : 0; }
};

// One HTTP/1.1 GET over a fresh connection with "Connection: close"; reads
// until the server closes (or `maxBody` body bytes arrived).
RawResponse RawGet(int port, const std::string& target, const std::string& extraHeaders = "",
                   std::size_t maxBody = std::string::npos) {
  RawResponse out;
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<uint16_t>(port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  timeval timeout{20, 0};
  setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout);
  if (connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    close(fd);
    return out;
  }
  std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extraHeaders +
                        "Connection: close\r\n\r\n";
  send(fd, request.data(), request.size(), MSG_NOSIGNAL);
  std::string all;
  char buffer[65536];
  for (;;) {
    ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 0) {
      out.reset = errno == ECONNRESET;
      break;
    }
    if (n == 0) break;
    all.append(buffer, static_cast<std::size_t>(n));
    std::size_t headEnd = all.find("\r\n\r\n");
    if (maxBody != std::string::npos && headEnd != std::string::npos &&
        all.size() - headEnd - 4 >= maxBody) {
      break;
    }
  }
  close(fd);
  std::size_t headEnd = all.find("\r\n\r\n");
  if (headEnd == std::string::npos) {
    out.head = all;
  } else {
    out.head = all.substr(0, headEnd + 2);
    out.body = all.substr(headEnd + 4);
  }
  return out;
}

// Checks that `keys` occur in `text` in this order.
void ExpectInOrder(const std::string& text, const std::vector<std::string>& keys) {
  std::size_t at = 0;
  for (const std::string& key : keys) {
    std::size_t found = text.find(key, at);
    ASSERT_NE(found, std::string::npos) << key << " missing or out of order in " << text;
    at = found + key.size();
  }
}

class StationTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(station_.Start()); }
  RawResponse Get(const std::string& target, const std::string& headers = "") {
    return RawGet(station_.port(), target, headers);
  }
  std::string Port() const { return std::to_string(station_.port()); }
  Station station_;
};

TEST_F(StationTest, PlaylistHasTheRecordedKeyOrderAndEscapes) {
  RawResponse r = Get("/j/v2/playlist?channel=-10&kbps=128&type=n");
  ASSERT_EQ(r.status(), 200);
  EXPECT_TRUE(r.body.starts_with(
      R"({"warning":"user_is_ananymous","r":0,"version_max":100,"is_show_quick_start":0,"song":[{"albumtitle":")"))
      << r.body;
  ExpectInOrder(r.body, {R"("albumtitle":")",
                         R"(","url":")",
                         R"(","file_ext":")",
                         R"(","album":")",
                         R"(","ssid":")",
                         R"(","title":")",
                         R"(","sid":")",
                         R"(","sha256":")",
                         R"(","status":)",
                         R"(,"picture":")",
                         R"(","update_time":)",
                         R"(,"alert_msg":)",
                         R"(,"public_time":)",
                         R"(,"singers":)",
                         R"(,"like":)",
                         R"(,"artist":")",
                         R"(","is_royal":)",
                         R"(,"subtype":)",
                         R"(,"length":)",
                         R"(,"release":)",
                         R"(,"aid":)",
                         R"(,"kbps":")",
                         R"(","available_formats":)"});
  const SongFixture& first = Station::Songs().front();
  EXPECT_NE(r.body.find(R"("url":"http:\/\/127.0.0.1:)" + Port() + R"(\/audio\/)" +
                        first.audioFile + "\""),
            std::string::npos);
  EXPECT_NE(r.body.find(R"("picture":"http://127.0.0.1:)" + Port() + R"(\/covers\/)" +
                        first.coverFile + "\""),
            std::string::npos);
  EXPECT_NE(r.body.find(R"("album":"\/subject\/2170967\/","ssid")"), std::string::npos);
  EXPECT_NE(r.body.find(R"("kbps":"128","available_formats")"), std::string::npos);
  EXPECT_NE(r.head.find("Content-Type: application/json"), std::string::npos);
}

TEST_F(StationTest, PlaylistGoesRoundRobinPerChannelAndHonoursTheQueue) {
  const auto& songs = Station::Songs();
  auto sidOf = [&](const std::string& channel) {
    std::string body = Get("/j/v2/playlist?channel=" + channel).body;
    std::size_t at = body.find(R"("sid":")");
    return at == std::string::npos ? std::string()
                                   : body.substr(at + 7, body.find('"', at + 7) - at - 7);
  };
  EXPECT_EQ(sidOf("1"), songs[0].sid);
  EXPECT_EQ(sidOf("1"), songs[1].sid);
  EXPECT_EQ(sidOf("2"), songs[0].sid);
  station_.QueueSongs({songs[5].sid, songs[3].sid});
  EXPECT_EQ(sidOf("2"), songs[5].sid);
  EXPECT_EQ(sidOf("1"), songs[3].sid);
  EXPECT_EQ(sidOf("1"), songs[2].sid);
  // Every song turns round.
  for (std::size_t i = 3; i < songs.size(); ++i) EXPECT_EQ(sidOf("1"), songs[i].sid);
  EXPECT_EQ(sidOf("1"), songs[0].sid);
}

TEST_F(StationTest, EveryChannelHasANameFollowedByCover) {
  ASSERT_EQ(Channels().size(), 29u);
  for (const ChannelFixture& channel : Channels()) {
    std::string body = Get("/j/v2/channel_info?id=" + channel.id).body;
    EXPECT_TRUE(body.starts_with(R"({"status":true,"data":{"channels":[{)")) << body;
    EXPECT_NE(body.find(R"("id":)" + channel.id + R"(,"name":")" + channel.name + R"(","cover":")"),
              std::string::npos)
        << body;
  }
  std::string unknown = Get("/j/v2/channel_info?id=424242").body;
  EXPECT_EQ(unknown.find("\"name\""), std::string::npos) << unknown;
  EXPECT_EQ(Get("/j/v2/channel_info?id=").body.find("\"name\""), std::string::npos);
}

TEST_F(StationTest, AlbumPagesLinkToAChannelThatHasAName) {
  for (const SongFixture& song : Station::Songs()) {
    std::string path = song.album;
    std::erase(path, '\\');
    RawResponse page = Get(path);
    ASSERT_EQ(page.status(), 200) << path;
    if (path.find("subject") == std::string::npos) continue;
    std::string link = "href=\"" + station_.BaseUrl() + "/?cid=";
    std::size_t at = page.body.find(link);
    ASSERT_NE(at, std::string::npos) << page.body;
    std::size_t cidStart = at + link.size();
    std::size_t cidEnd = page.body.find("&amp;from_=music_subject\"", cidStart);
    ASSERT_NE(cidEnd, std::string::npos);
    std::string cid = page.body.substr(cidStart, cidEnd - cidStart);
    EXPECT_NE(Get("/j/v2/channel_info?id=" + cid).body.find(R"(","cover":")"), std::string::npos)
        << cid;
  }
}

TEST_F(StationTest, LyricsKeepTheirJsonLineEndsAndTheNoMatchBody) {
  for (const SongFixture& song : Station::Songs()) {
    RawResponse r = Get("/j/v2/lyric?sid=" + song.sid + "&ssid=" + song.ssid);
    EXPECT_EQ(r.body, song.lyricResponse) << song.sid;
    EXPECT_EQ(r.body.find('\r'), std::string::npos) << "real line break in " << song.sid;
  }
  EXPECT_TRUE(Get("/j/v2/lyric?sid=1001&ssid=a1f0")
                  .body.starts_with(R"({"lyric":"[00:00.00]晴空之下\r\n[00:01.00])"));
  EXPECT_EQ(Get("/j/v2/lyric?sid=1008&ssid=b8e7").body, "没有匹配到歌词.");
}

TEST_F(StationTest, CoversAndAudioHaveTheirTypesAndAudioAnswersRanges) {
  const SongFixture& song = Station::Songs().front();
  RawResponse cover = Get("/covers/" + song.coverFile);
  EXPECT_NE(cover.head.find("Content-Type: image/jpeg"), std::string::npos);
  EXPECT_TRUE(cover.body.starts_with("\xFF\xD8\xFF"));
  RawResponse png = Get("/covers/cover-b.png");
  EXPECT_NE(png.head.find("Content-Type: image/png"), std::string::npos);
  EXPECT_TRUE(png.body.starts_with("\x89PNG"));

  RawResponse mp3 = Get("/audio/tone-a.mp3");
  EXPECT_NE(mp3.head.find("Content-Type: audio/mpeg"), std::string::npos);
  EXPECT_GT(mp3.body.size(), 10000u);
  RawResponse part = Get("/audio/tone-a.mp3", "Range: bytes=100-199\r\n");
  EXPECT_EQ(part.status(), 206);
  EXPECT_EQ(part.body, mp3.body.substr(100, 100));
  EXPECT_NE(Get("/audio/tone-b.m4a").head.find("Content-Type: audio/mp4"), std::string::npos);
  EXPECT_EQ(Get("/audio/missing.mp3").status(), 404);
}

TEST_F(StationTest, FaultsApplyAsManyTimesAsAskedThenTheAnswerIsNormal) {
  const std::string target = "/j/v2/channel_info?id=1";
  const std::string normal = Get(target).body;
  struct Case {
    Fault fault;
    std::function<void(const RawResponse&)> check;
  };
  const Case cases[] = {
      {Fault::NotFound, [](const RawResponse& r) { EXPECT_EQ(r.status(), 404); }},
      {Fault::ServerError, [](const RawResponse& r) { EXPECT_EQ(r.status(), 500); }},
      {Fault::Delay, [&](const RawResponse& r) { EXPECT_EQ(r.body, normal); }},
      {Fault::Garbage,
       [&](const RawResponse& r) {
         EXPECT_EQ(r.status(), 200);
         EXPECT_EQ(r.body.size(), 4096u);
         EXPECT_EQ(r.body.find(R"("name")"), std::string::npos);
       }},
      {Fault::Truncated,
       [&](const RawResponse& r) {
         EXPECT_NE(r.head.find("Content-Length: " + std::to_string(normal.size())),
                   std::string::npos);
         EXPECT_EQ(r.body, normal.substr(0, normal.size() / 2));
         EXPECT_FALSE(r.reset);
       }},
      {Fault::Reset,
       [&](const RawResponse& r) {
         EXPECT_TRUE(r.reset);
         EXPECT_LT(r.body.size(), normal.size());
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    station_.SetFault(Endpoint::ChannelInfo, {.fault = c.fault, .delayMs = 200, .times = 2});
    c.check(Get(target));
    c.check(Get(target));
    // Other endpoints are not touched.
    EXPECT_EQ(Get("/j/v2/lyric?sid=1008").body, "没有匹配到歌词.");
    EXPECT_EQ(Get(target).body, normal);
  }
  station_.SetFault(Endpoint::ChannelInfo, {.fault = Fault::NotFound});
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get(target).status(), 404);
  station_.ClearFaults();
  EXPECT_EQ(Get(target).body, normal);
}

TEST_F(StationTest, HugeBodyIsStreamedWithItsFullLength) {
  station_.SetFault(Endpoint::Playlist, {.fault = Fault::Huge, .times = 1});
  RawResponse r = RawGet(station_.port(), "/j/v2/playlist?channel=1", "", 1 << 20);
  EXPECT_NE(r.head.find("Content-Length: 104857600"), std::string::npos) << r.head;
  EXPECT_GE(r.body.size(), 1u << 20);
}

TEST_F(StationTest, CoverFaultsGiveACutScanAndAHugeHeader) {
  const std::string jpeg = Get("/covers/cover-a.jpg").body;
  station_.SetFault(Endpoint::Cover, {.fault = Fault::CorruptCover, .times = 1});
  RawResponse cut = Get("/covers/cover-a.jpg");
  EXPECT_EQ(cut.status(), 200);
  EXPECT_LT(cut.body.size(), jpeg.size());
  EXPECT_GT(cut.body.size(), jpeg.find("\xFF\xDA") + 2);
  EXPECT_EQ(jpeg.substr(0, cut.body.size()), cut.body);

  station_.SetFault(Endpoint::Cover, {.fault = Fault::HugeCover, .times = 2});
  std::string png = Get("/covers/cover-b.png").body;
  EXPECT_EQ(png.substr(12, 12), std::string("IHDR\0\0\xEA\x60\0\0\xEA\x60", 12));
  std::string big = Get("/covers/cover-a.jpg").body;
  EXPECT_NE(big.find(std::string("\xEA\x60\xEA\x60", 4)), std::string::npos);
  EXPECT_EQ(Get("/covers/cover-a.jpg").body, jpeg);
}

TEST_F(StationTest, StreamHalfStopsTheAudioHalfWay) {
  const std::string whole = Get("/audio/tone-c.mp3").body;
  station_.SetFault(Endpoint::Audio, {.fault = Fault::StreamHalf, .times = 1});
  EXPECT_EQ(Get("/audio/tone-c.mp3").body, whole.substr(0, whole.size() / 2));
  EXPECT_EQ(Get("/audio/tone-c.mp3").body, whole);
}

TEST_F(StationTest, StopReleasesHangingRequestsWhileOthersAreStillAnswered) {
  station_.SetFault(Endpoint::Playlist, {.fault = Fault::Hang});
  station_.SetFault(Endpoint::Lyric, {.fault = Fault::Drip});
  std::vector<std::future<RawResponse>> hanging;
  for (int i = 0; i < 4; ++i) {
    hanging.push_back(std::async(std::launch::async, [port = station_.port()] {
      return RawGet(port, "/j/v2/playlist?channel=1");
    }));
  }
  hanging.push_back(std::async(std::launch::async, [port = station_.port()] {
    return RawGet(port, "/j/v2/lyric?sid=1001");
  }));
  // Wait until all five are inside the station.
  while (station_.Requests().size() < 5) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_EQ(Get("/j/v2/channel_info?id=1").status(), 200);
  for (auto& h : hanging) {
    EXPECT_EQ(h.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout);
  }
  station_.Stop();
  for (int i = 0; i < 4; ++i) EXPECT_EQ(hanging[i].get().body, "");
  RawResponse dripped = hanging[4].get();
  EXPECT_GE(dripped.body.size(), 1u);
  EXPECT_LT(dripped.body.size(), 10u);
}

TEST_F(StationTest, RequestsAreRecordedWithParamsAndHeaders) {
  Get("/j/v2/lyric?sid=1001&ssid=a1f0", "X-Probe: yes\r\n");
  Get("/covers/cover-a.jpg");
  std::vector<RecordedRequest> all = station_.Requests();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0].method, "GET");
  EXPECT_EQ(all[0].path, "/j/v2/lyric");
  EXPECT_EQ(all[0].target, "/j/v2/lyric?sid=1001&ssid=a1f0");
  EXPECT_EQ(all[0].params.at("sid"), "1001");
  EXPECT_EQ(all[0].params.at("ssid"), "a1f0");
  ASSERT_EQ(all[0].headers.count("X-Probe"), 1u);
  EXPECT_EQ(all[0].headers.find("X-Probe")->second, "yes");
  ASSERT_EQ(station_.Requests(Endpoint::Cover).size(), 1u);
  EXPECT_EQ(station_.Requests(Endpoint::Cover)[0].path, "/covers/cover-a.jpg");
  EXPECT_TRUE(station_.Requests(Endpoint::Playlist).empty());
  station_.ClearRequests();
  EXPECT_TRUE(station_.Requests().empty());
}

TEST_F(StationTest, CookiesPageSendsEachLineAsItsOwnSetCookieHeader) {
  station_.SetCookieHeaders({"bid=abc123; Path=/; Domain=127.0.0.1", "flag=\"ok\"; HttpOnly"});
  RawResponse r = Get("/cookies");
  EXPECT_NE(r.head.find("\r\nSet-Cookie: bid=abc123; Path=/; Domain=127.0.0.1\r\n"),
            std::string::npos)
      << r.head;
  EXPECT_NE(r.head.find("\r\nSet-Cookie: flag=\"ok\"; HttpOnly\r\n"), std::string::npos);
}

TEST(Station, RestartsAfterStopAndRefusesATakenPort) {
  Station a;
  ASSERT_TRUE(a.Start());
  Station b;
  EXPECT_FALSE(b.Start(a.port()));
  a.Stop();
  ASSERT_TRUE(a.Start());
  EXPECT_EQ(RawGet(a.port(), "/j/v2/lyric?sid=1008").body, "没有匹配到歌词.");
}

}  // namespace
}  // namespace orvane::station
