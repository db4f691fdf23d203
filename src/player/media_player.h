#pragma once
// MediaPlayer: twenty operations over the media control plus the two
// seconds/"MM:SS" conversions. A copy shares the control.
//
// Operations that went through the control's sub-objects (Controls, settings,
// currentMedia, Network) do nothing and read nothing before the first SetUrl.

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

  virtual void InitHosting();
  virtual void SetUrl(std::string_view url);
  virtual void Play();
  virtual void SetPlayCount(std::string_view count);
  virtual void ToggleMute();
  virtual void SetVolume(std::string_view volume);
  virtual void Pause();
  virtual void Stop();
  virtual std::string GetStatus() const;
  virtual int GetPlayState() const;
  virtual double GetPosition() const;
  virtual double GetDuration() const;
  virtual std::string GetTitle() const;
  virtual std::string GetAuthor() const;
  virtual std::string GetCopyright() const;
  virtual std::string GetMediaType() const;
  virtual std::string GetBitrateText() const;
  virtual std::string GetBufferingCount() const;
  virtual std::string GetBufferingProgress() const;
  virtual void SetPosition(std::string_view seconds);
  static std::string SecondsToText(int seconds);
  static int TextToSeconds(std::string_view text);

  // For the driver and tests: the control itself (may be null).
  MediaControl* control() const { return component_.get(); }

 private:
  // The control, and whether its sub-objects have been fetched by a SetUrl.
  std::shared_ptr<MediaControl> component_;
  bool hasSubObjects_ = false;
};

}  // namespace orvane
