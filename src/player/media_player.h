#pragma once
// MediaPlayer: twenty operations over the media control plus the two
// seconds/"MM:SS" conversions. A copy shares the control.
//
// Operations that went through the control's sub-objects (Controls, settings,
// currentMedia, Network) do nothing and read nothing before the first SetUrl:
// Play, Pause, Stop, SetPosition, GetPosition (controls); SetPlayCount,
// ToggleMute, SetVolume (settings); GetDuration and the item information
// (currentMedia); the buffering reads (network). GetStatus and GetPlayState
// ask the control itself and work from the start.
//
// Text arguments are converted as an automation layer converts a string into
// a number (player/automation_value.h); one that is not a number has no
// effect.

#include <memory>
#include <string>
#include <string_view>

#include "platform/media_control.h"

namespace orvane {

class MediaPlayer {
 public:
  // A null control behaves as a player that could not be created: every
  // operation does nothing and every read is empty.
  explicit MediaPlayer(std::shared_ptr<MediaControl> control);
  virtual ~MediaPlayer();
  MediaPlayer(const MediaPlayer&);
  MediaPlayer& operator=(const MediaPlayer&);

  // Nothing to do here: there is no ActiveX host window to register.
  virtual void InitHosting();
  virtual void SetUrl(std::string_view url);
  virtual void Play();
  virtual void SetPlayCount(std::string_view count);
  virtual void ToggleMute();
  // "57" -> 57; clamped into 0..100.
  virtual void SetVolume(std::string_view volume);
  virtual void Pause();
  virtual void Stop();
  virtual std::string GetStatus() const;
  virtual int GetPlayState() const;
  virtual double GetPosition() const;
  virtual double GetDuration() const;
  // The item information, or "未知标题", "未知作者", "未知版权", "未知类型" when empty.
  virtual std::string GetTitle() const;
  virtual std::string GetAuthor() const;
  virtual std::string GetCopyright() const;
  virtual std::string GetMediaType() const;
  // Bits per second / 1000, fraction dropped, + " kbit/sec": "128 kbit/sec".
  virtual std::string GetBitrateText() const;
  virtual std::string GetBufferingCount() const;
  virtual std::string GetBufferingProgress() const;
  virtual void SetPosition(std::string_view seconds);
  // "MM:SS", each part padded to two digits, minutes never capped: 65 ->
  // "01:05", 6000 -> "100:00". A negative count reads as "00:00".
  static std::string SecondsToText(int seconds);
  // The first five bytes split at ":"; with two pieces or more, first * 60 +
  // second, a piece that is not a number counting as 0 and a fraction dropped.
  // Fewer than two pieces: 0. "03:25.50" -> 205, "12" -> 0.
  static int TextToSeconds(std::string_view text);

  // For the driver and tests: the control itself (may be null).
  MediaControl* control() const { return component_.get(); }

 private:
  // The control, and whether its sub-objects have been fetched by a SetUrl.
  std::shared_ptr<MediaControl> component_;
  bool hasSubObjects_ = false;
};

}  // namespace orvane
