#pragma once
// MpvMediaControl: the media control over libmpv (client API 2.0, mpv 0.35).
//
// Start. The libmpv core is created with the first SetUrl (or Started()), so a
// player that has not played yet holds none of libmpv's memory or threads;
// volume and mute set before then are handed to the core when it starts.
//
// Threads. One libmpv core per object. A dedicated event thread blocks in
// mpv_wait_event and folds every event and observed property into a small
// state record behind a mutex. Reads take the mutex and copy a field, so they
// cost well under a microsecond and never call into libmpv (a synchronous
// mpv_get_property can block for hundreds of milliseconds around the end of a
// file). Writes update the record at once (so a read right after SetUrl or
// Pause already sees the new state) and hand the request to libmpv with the
// asynchronous calls, so no method ever waits on the player either. This works
// the same with or without a Qt event loop. The destructor wakes the event
// thread, joins it and then destroys the core.
//
// Media identity. Every load is an asynchronous "loadfile" whose reply carries
// the playlist entry id; START_FILE, END_FILE and the per-file properties
// (time-pos, duration, metadata, audio-bitrate, cache state) are only taken
// for that entry. So the late END_FILE of a replaced song, or its last
// property changes still in the queue, never touch the song just set.
//
// Play states (what PlayState() answers):
//   0 undefined      nothing was ever loaded (or libmpv could not be started)
//   9 transitioning  from SetUrl (or Play after a stop) until FILE_LOADED of
//                    our entry: connecting, probing
//   6 buffering      FILE_LOADED until the first PLAYBACK_RESTART (waiting for
//                    data to start); later while "paused-for-cache" or
//                    "seeking" is true
//   3 playing        after PLAYBACK_RESTART, not paused, not waiting for data
//   2 paused         "pause" is true while the file is open
//   8 media ended    END_FILE of our entry with reason EOF; answered to the
//                    first PlayState() read after the end, which turns it into
//   1 stopped        ... stopped. Also after Stop() and after SetUrl("").
//  10 ready          the song could not be played: END_FILE with reason ERROR
//                    (404, refused, time-out, garbage), a loadfile refused by
//                    libmpv, a URL that is not http/https (never handed to
//                    libmpv), or 9/6 held for longer than stallSeconds (the
//                    song is then stopped)
// A lyric tick therefore moves on from every song: a finished one after one
// read of 8, a failed one at once.
//
// ItemInfo: "title", "Author" (artist tag), "Copyright" from the stream's
// metadata; "strType" is "audio" once the file is open; "Bitrate" is the
// decoder's audio bit rate in bits per second, as decimal text. Attribute
// names compare without regard to letter case. Empty when unknown.

#include <memory>
#include <string>
#include <string_view>

#include "platform/media_control.h"

namespace orvane {

struct MpvSettings {
  // ao=null: tests and the driver play silently. Otherwise libmpv picks the
  // desktop's default output (PipeWire, PulseAudio, ALSA); where none opens,
  // playback goes on silently all the same.
  bool nullAudio = false;
  // Seconds without any data before a connection counts as failed.
  int networkTimeoutSeconds = 10;
  // Seconds a song may stay connecting or buffering (not paused) before it
  // counts as failed: a server that sends a byte now and then never trips the
  // network time-out, and would otherwise hold the radio forever, since the
  // lyric tick waits through those states. 0: wait for ever.
  int stallSeconds = 30;
};

class MpvMediaControl : public MediaControl {
 public:
  explicit MpvMediaControl(MpvSettings settings = {});
  ~MpvMediaControl() override;
  MpvMediaControl(const MpvMediaControl&) = delete;
  MpvMediaControl& operator=(const MpvMediaControl&) = delete;

  // Only http and https URLs reach libmpv, after "\/" has been undone. An
  // empty URL stops; any other URL fails like an unplayable song (state 10).
  void SetUrl(std::string_view url) override;
  std::string Url() const override;  // as written

  // Play resumes a paused song, or loads the URL again after a stop or an end.
  void Play() override;
  void Pause() override;
  void Stop() override;

  double Position() const override;
  void SetPosition(double seconds) override;
  double Duration() const override;

  int Volume() const override;
  void SetVolume(int volume) override;  // clamped into 0..100

  bool Mute() const override;
  void SetMute(bool mute) override;

  // Plays each song `count` times (libmpv's loop-file); counts below 1 are ignored.
  int PlayCount() const override;
  void SetPlayCount(int count) override;

  std::string ItemInfo(std::string_view attribute) const override;

  // Times the current song waited for data (the initial fill counts once).
  int BufferingCount() const override;
  // Fill percentage while waiting for data, 100 while playing, 0 otherwise.
  int BufferingProgress() const override;
  // "Playing", "Paused", "Buffering", "Connecting", "Stopped", "Media ended",
  // "Cannot play (reason)", or "" before anything was loaded.
  std::string StatusText() const override;

  int PlayState() const override;

  // Starts libmpv if it has not started yet. False when it could not be
  // created or initialised; every operation then does nothing and every read
  // is empty.
  bool Started() const;
  // How many times libmpv has been asked to load a file (tests).
  int LoadRequests() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace orvane
