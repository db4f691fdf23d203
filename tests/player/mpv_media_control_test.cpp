// MpvMediaControl playing the station's short audio files through libmpv with
// the null audio output: the play states a lyric tick relies on, and the URLs
// that must never reach libmpv.
#include "platform/mpv_media_control.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>
#include <thread>
#include <vector>

#include "station/station.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using station::Endpoint;
using station::Fault;
using station::Station;

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds timeout = 5s) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(5ms);
  }
  return true;
}

bool MovesOn(int state) {
  return state == kPlayStateUndefined || state == kPlayStateStopped || state == kPlayStateReady;
}

class MpvMediaControlTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(station.Start()); }

  std::string AudioUrl(std::size_t song = 0) const {
    return station.BaseUrl() + "/audio/" + Station::Songs().at(song).audioFile;
  }

  // Polls until the control plays; the codes seen on the way are kept.
  bool WaitUntilPlaying(std::vector<int>* seen = nullptr) {
    return WaitFor([&] {
      int state = control.PlayState();
      if (seen && (seen->empty() || seen->back() != state)) seen->push_back(state);
      return state == kPlayStatePlaying;
    });
  }

  Station station;
  MpvMediaControl control{MpvSettings{.nullAudio = true}};
};

TEST_F(MpvMediaControlTest, NothingLoadedIsUndefined) {
  ASSERT_TRUE(control.Started());
  EXPECT_EQ(control.PlayState(), kPlayStateUndefined);
  EXPECT_EQ(control.StatusText(), "");
  EXPECT_EQ(control.Position(), 0);
  EXPECT_EQ(control.Duration(), 0);
  EXPECT_EQ(control.ItemInfo("strType"), "");
}

TEST_F(MpvMediaControlTest, PlaysPausesResumesAndReportsTheEndOnce) {
  control.SetUrl(AudioUrl());
  EXPECT_EQ(control.PlayState(), kPlayStateTransitioning);  // at once, never a stale state
  std::vector<int> seen;
  ASSERT_TRUE(WaitUntilPlaying(&seen));
  for (int state : seen) EXPECT_FALSE(MovesOn(state)) << state;
  EXPECT_EQ(control.StatusText(), "Playing");
  EXPECT_EQ(control.ItemInfo("strType"), "audio");
  ASSERT_TRUE(WaitFor([&] { return control.Duration() > 1; }));
  ASSERT_TRUE(WaitFor([&] { return control.Position() > 0.3; }));
  ASSERT_TRUE(WaitFor([&] { return !control.ItemInfo("Bitrate").empty(); }));
  EXPECT_GT(std::stoi(control.ItemInfo("bitrate")), 8000);

  control.Pause();
  EXPECT_EQ(control.PlayState(), kPlayStatePaused);
  // The last position of the running song may still be on its way.
  double held = -1;
  ASSERT_TRUE(WaitFor([&] {
    double before = control.Position();
    std::this_thread::sleep_for(100ms);
    return (held = control.Position()) == before;
  }));
  std::this_thread::sleep_for(300ms);
  EXPECT_EQ(control.PlayState(), kPlayStatePaused);
  EXPECT_EQ(control.StatusText(), "Paused");
  EXPECT_NEAR(control.Position(), held, 0.05);

  control.Play();
  ASSERT_TRUE(WaitUntilPlaying());
  ASSERT_TRUE(WaitFor([&] { return control.Position() > held + 0.1; }));

  // Near the end, so the test does not sit through the whole song.
  control.SetPosition(control.Duration() - 1);
  seen.clear();
  ASSERT_TRUE(WaitFor([&] {
    int state = control.PlayState();
    seen.push_back(state);
    return state != kPlayStatePlaying && state != kPlayStateBuffering;
  }));
  EXPECT_EQ(seen.back(), kPlayStateMediaEnded);
  EXPECT_EQ(control.PlayState(), kPlayStateStopped);  // reported once, then stopped
  EXPECT_EQ(control.PlayState(), kPlayStateStopped);
  EXPECT_EQ(control.StatusText(), "Stopped");
}

TEST_F(MpvMediaControlTest, VolumeAndMuteReadBack) {
  control.SetUrl(AudioUrl());
  control.SetVolume(37);
  EXPECT_EQ(control.Volume(), 37);
  control.SetMute(true);
  EXPECT_TRUE(control.Mute());
  ASSERT_TRUE(WaitUntilPlaying());
  // libmpv's own notifications have come back by now and agree.
  EXPECT_EQ(control.Volume(), 37);
  EXPECT_TRUE(control.Mute());
  control.SetVolume(250);
  EXPECT_EQ(control.Volume(), 100);
  control.SetVolume(-4);
  ASSERT_TRUE(WaitFor([&] { return control.Volume() == 0; }));
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(control.Volume(), 0);
}

TEST_F(MpvMediaControlTest, FailedStreamsEndInAStateTheTickMovesOn) {
  Station closed;
  ASSERT_TRUE(closed.Start());
  const std::string refusedUrl = closed.BaseUrl() + "/audio/" + Station::Songs()[0].audioFile;
  closed.Stop();

  struct Case {
    const char* name;
    Fault fault;
    bool refused;
  };
  const Case cases[] = {
      {"404", Fault::NotFound, false},
      {"garbage body", Fault::Garbage, false},
      {"closed port", Fault::None, true},
  };
  for (const Case& c : cases) {
    station.SetFault(Endpoint::Audio, {.fault = c.fault});
    control.SetUrl(c.refused ? refusedUrl : AudioUrl());
    int state = -1;
    EXPECT_TRUE(WaitFor([&] { return MovesOn(state = control.PlayState()); }, 15s)) << c.name;
    EXPECT_EQ(state, kPlayStateReady) << c.name;
    EXPECT_EQ(control.StatusText().rfind("Cannot play", 0), 0u) << c.name;
  }
}

TEST_F(MpvMediaControlTest, AStreamCutShortStillEndsInAStateTheTickMovesOn) {
  // libmpv tries to reconnect for the rest of a cut stream (some nine seconds)
  // and then ends the song; the stall limit may end it first.
  MpvMediaControl impatient(MpvSettings{.nullAudio = true, .stallSeconds = 2});
  const Fault faults[] = {Fault::StreamHalf, Fault::Truncated, Fault::Reset};
  for (Fault fault : faults) {
    station.SetFault(Endpoint::Audio, {.fault = fault});
    impatient.SetUrl(AudioUrl());
    std::vector<int> seen;
    EXPECT_TRUE(WaitFor(
        [&] {
          int state = impatient.PlayState();
          if (seen.empty() || seen.back() != state) seen.push_back(state);
          return MovesOn(state);
        },
        20s))
        << static_cast<int>(fault);
    // Either the part that came is played to its end, or the song fails.
    EXPECT_TRUE(seen.back() == kPlayStateReady ||
                (seen.back() == kPlayStateStopped && seen.size() >= 2 &&
                 seen[seen.size() - 2] == kPlayStateMediaEnded))
        << static_cast<int>(fault);
  }
}

TEST_F(MpvMediaControlTest, OnlyHttpAndHttpsReachLibmpv) {
  const std::string path = Station::Songs()[0].audioFile;
  const std::string hostPort = station.BaseUrl().substr(std::string("http://").size());
  const std::string cases[] = {
      "file:///etc/hostname",
      "FILE:///etc/hostname",
      "ftp://" + hostPort + "/audio/" + path,
      "av://lavfi:sine",
      "/etc/hostname",
      "tone-a.mp3",
      "httpx://" + hostPort + "/audio/" + path,
      "ytdl://" + hostPort,
  };
  for (const std::string& url : cases) {
    control.SetUrl(url);
    EXPECT_EQ(control.PlayState(), kPlayStateReady) << url;
    EXPECT_EQ(control.Url(), url);
  }
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(control.LoadRequests(), 0);
  EXPECT_TRUE(station.Requests().empty());
  EXPECT_EQ(control.PlayState(), kPlayStateReady);

  // A bad address after a good one silences the good one too.
  control.SetUrl(AudioUrl());
  ASSERT_TRUE(WaitUntilPlaying());
  control.SetUrl("file:///etc/hostname");
  EXPECT_EQ(control.PlayState(), kPlayStateReady);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(control.PlayState(), kPlayStateReady);
  EXPECT_EQ(control.LoadRequests(), 1);
}

TEST_F(MpvMediaControlTest, JsonSlashesAreUndoneBeforeLoading) {
  std::string escaped = station.BaseUrl() + "/audio/" + Station::Songs()[0].audioFile;
  escaped = "http:\\/\\/" + escaped.substr(7);
  for (std::size_t i = 0; (i = escaped.find("/audio/")) != std::string::npos;)
    escaped.replace(i, 7, "\\/audio\\/");
  ASSERT_NE(escaped.find("\\/audio\\/"), std::string::npos);

  control.SetUrl(escaped);
  ASSERT_TRUE(WaitUntilPlaying());
  EXPECT_EQ(control.Url(), escaped);
  auto requests = station.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests[0].path, "/audio/" + Station::Songs()[0].audioFile);
}

TEST_F(MpvMediaControlTest, ANewSongIsNotDisturbedByTheOneItReplaces) {
  control.SetUrl(AudioUrl(0));
  ASSERT_TRUE(WaitUntilPlaying());
  // The replaced songs end (stopped, failed) while the last one starts; none
  // of their ends may show as the new song's state.
  control.SetUrl(station.BaseUrl() + "/audio/no-such-song.mp3");
  control.SetUrl(AudioUrl(2));
  std::vector<int> seen;
  ASSERT_TRUE(WaitUntilPlaying(&seen));
  for (int state : seen) EXPECT_FALSE(MovesOn(state) || state == kPlayStateMediaEnded) << state;
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(control.PlayState(), kPlayStatePlaying);
  EXPECT_LT(control.Position(), 2.0);  // not the first song's position
}

TEST_F(MpvMediaControlTest, TheSameSongAgainKnowsItsDurationAndType) {
  for (int round = 0; round < 3; ++round) {
    control.SetUrl(AudioUrl());
    EXPECT_EQ(control.Duration(), 0) << round;  // nothing of the song before
    ASSERT_TRUE(WaitUntilPlaying()) << round;
    EXPECT_TRUE(WaitFor([&] { return control.Duration() > 1; })) << round;
    EXPECT_EQ(control.ItemInfo("strType"), "audio");
  }
}

TEST_F(MpvMediaControlTest, StopAndEmptyUrlStopPlayAgainReloads) {
  control.SetUrl(AudioUrl());
  ASSERT_TRUE(WaitUntilPlaying());
  control.Stop();
  EXPECT_EQ(control.PlayState(), kPlayStateStopped);
  EXPECT_EQ(control.Position(), 0);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(control.PlayState(), kPlayStateStopped);

  control.Play();
  ASSERT_TRUE(WaitUntilPlaying());
  EXPECT_EQ(control.LoadRequests(), 2);

  control.SetUrl("");
  EXPECT_EQ(control.PlayState(), kPlayStateStopped);
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(control.PlayState(), kPlayStateStopped);
  EXPECT_EQ(control.LoadRequests(), 2);
}

TEST_F(MpvMediaControlTest, AServerThatNeverAnswersFailsAfterTheNetworkTimeOut) {
  station.SetFault(Endpoint::Audio, {.fault = Fault::Hang});
  MpvMediaControl impatient(MpvSettings{.nullAudio = true, .networkTimeoutSeconds = 1});
  impatient.SetUrl(AudioUrl());
  ASSERT_TRUE(WaitFor([&] { return !station.Requests().empty(); }));
  EXPECT_EQ(impatient.PlayState(), kPlayStateTransitioning);
  EXPECT_TRUE(WaitFor([&] { return MovesOn(impatient.PlayState()); }, 20s));
  EXPECT_EQ(impatient.PlayState(), kPlayStateReady);
}

TEST_F(MpvMediaControlTest, AStreamThatOnlyTricklesFailsAfterTheStallLimit) {
  station.SetFault(Endpoint::Audio, {.fault = Fault::Drip});
  MpvMediaControl impatient(MpvSettings{.nullAudio = true, .stallSeconds = 1});
  impatient.SetUrl(AudioUrl());
  std::vector<int> seen;
  EXPECT_TRUE(WaitFor(
      [&] {
        int state = impatient.PlayState();
        if (seen.empty() || seen.back() != state) seen.push_back(state);
        return MovesOn(state);
      },
      20s));
  EXPECT_EQ(seen.back(), kPlayStateReady);
  EXPECT_EQ(seen.front(), kPlayStateTransitioning);

  // Paused while connecting is the listener's choice, not a stall.
  impatient.SetUrl(AudioUrl());
  impatient.Pause();
  std::this_thread::sleep_for(2s);  // twice the stall limit
  EXPECT_EQ(impatient.PlayState(), kPlayStateTransitioning);
}

TEST_F(MpvMediaControlTest, DestroyingWhileConnectingToAHangingServerReturns) {
  station.SetFault(Endpoint::Audio, {.fault = Fault::Hang});
  auto other = std::make_unique<MpvMediaControl>(MpvSettings{.nullAudio = true});
  other->SetUrl(AudioUrl());
  ASSERT_TRUE(WaitFor([&] { return !station.Requests().empty(); }));
  other.reset();  // without sitting out the ten-second network time-out
  SUCCEED();
}

TEST_F(MpvMediaControlTest, DestroyingWhilePlayingReturns) {
  auto other = std::make_unique<MpvMediaControl>(MpvSettings{.nullAudio = true});
  other->SetUrl(AudioUrl());
  ASSERT_TRUE(WaitFor([&] { return other->PlayState() == kPlayStatePlaying; }));
  other.reset();  // joins the event thread and destroys the core
  SUCCEED();
}

}  // namespace
}  // namespace orvane
