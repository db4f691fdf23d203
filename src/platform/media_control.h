#pragma once
// The media player control as MediaPlayer drives it: what the control's
// "url", "Controls", "settings", "currentMedia" and "Network" objects offered.
// Real implementation: MpvMediaControl (libmpv). Tests: FakeMediaControl.
//
// Reads answer at once from state the implementation keeps up to date; no read
// waits on the player.

#include <string>
#include <string_view>

namespace orvane {

// The control's playState codes.
enum PlayStateCode : int {
  kPlayStateUndefined = 0,
  kPlayStateStopped = 1,
  kPlayStatePaused = 2,
  kPlayStatePlaying = 3,
  kPlayStateScanForward = 4,
  kPlayStateScanReverse = 5,
  kPlayStateBuffering = 6,
  kPlayStateWaiting = 7,
  kPlayStateMediaEnded = 8,
  kPlayStateTransitioning = 9,
  kPlayStateReady = 10,
  kPlayStateReconnecting = 11,
};

class MediaControl {
 public:
  virtual ~MediaControl() = default;

  // Writing the url starts playback of the new media.
  virtual void SetUrl(std::string_view url) = 0;
  virtual std::string Url() const = 0;

  virtual void Play() = 0;
  virtual void Pause() = 0;
  virtual void Stop() = 0;

  // Seconds.
  virtual double Position() const = 0;
  virtual void SetPosition(double seconds) = 0;
  virtual double Duration() const = 0;

  // 0..100.
  virtual int Volume() const = 0;
  virtual void SetVolume(int volume) = 0;

  virtual bool Mute() const = 0;
  virtual void SetMute(bool mute) = 0;

  virtual int PlayCount() const = 0;
  virtual void SetPlayCount(int count) = 0;

  // "title", "Author", "Copyright", "strType", "Bitrate" (bits per second, as text).
  virtual std::string ItemInfo(std::string_view attribute) const = 0;

  virtual int BufferingCount() const = 0;
  virtual int BufferingProgress() const = 0;  // percent
  virtual std::string StatusText() const = 0;

  virtual int PlayState() const = 0;
};

}  // namespace orvane
