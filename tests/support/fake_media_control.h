#pragma once
// FakeMediaControl: a media control whose state the test sets directly.

#include <map>
#include <string>
#include <vector>

#include "platform/media_control.h"

namespace orvane {

class FakeMediaControl : public MediaControl {
 public:
  std::string url;
  int state = kPlayStateUndefined;
  double position = 0, duration = 0;
  int volume = 50, playCount = 1, bufferingCount = 0, bufferingProgress = 0;
  bool mute = false;
  std::string status;
  std::map<std::string, std::string, std::less<>> itemInfo;
  std::vector<std::string> calls;  // "SetUrl:...", "Play", "Pause", "Stop", "SetVolume:N", ...

  void SetUrl(std::string_view u) override {
    url = std::string(u);
    calls.push_back("SetUrl:" + url);
  }
  std::string Url() const override { return url; }
  void Play() override { calls.emplace_back("Play"); }
  void Pause() override { calls.emplace_back("Pause"); }
  void Stop() override { calls.emplace_back("Stop"); }
  double Position() const override { return position; }
  void SetPosition(double s) override {
    position = s;
    calls.push_back("SetPosition:" + std::to_string(s));
  }
  double Duration() const override { return duration; }
  int Volume() const override { return volume; }
  void SetVolume(int v) override {
    volume = v;
    calls.push_back("SetVolume:" + std::to_string(v));
  }
  bool Mute() const override { return mute; }
  void SetMute(bool m) override {
    mute = m;
    calls.push_back(std::string("SetMute:") + (m ? "1" : "0"));
  }
  int PlayCount() const override { return playCount; }
  void SetPlayCount(int c) override { playCount = c; }
  std::string ItemInfo(std::string_view a) const override {
    auto it = itemInfo.find(a);
    return it == itemInfo.end() ? std::string() : it->second;
  }
  int BufferingCount() const override { return bufferingCount; }
  int BufferingProgress() const override { return bufferingProgress; }
  std::string StatusText() const override { return status; }
  int PlayState() const override { return state; }
};

}  // namespace orvane
