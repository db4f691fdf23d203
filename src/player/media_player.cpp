#include "player/media_player.h"

#include <algorithm>
#include <cmath>

#include "player/automation_value.h"

namespace orvane {
namespace {

std::string OrDefault(std::string text, const char* fallback) {
  return text.empty() ? std::string(fallback) : text;
}

std::string TwoDigits(int n) {
  std::string digits = std::to_string(n);
  if (n < 10) digits.insert(digits.begin(), '0');
  return digits;
}

// A piece of "MM:SS": its whole part when it is a number, otherwise 0.
int PieceValue(std::string_view piece) {
  std::optional<double> number = AutomationNumber(piece);
  return number ? static_cast<int>(std::trunc(*number)) : 0;
}

}  // namespace

MediaPlayer::MediaPlayer(std::shared_ptr<MediaControl> control) : component_(std::move(control)) {}

MediaPlayer::~MediaPlayer() = default;
MediaPlayer::MediaPlayer(const MediaPlayer&) = default;
MediaPlayer& MediaPlayer::operator=(const MediaPlayer&) = default;

// The ActiveX host window that this once registered has no counterpart here:
// libmpv plays without any window, so there is nothing to set up.
void MediaPlayer::InitHosting() {}

void MediaPlayer::SetUrl(std::string_view url) {
  if (!component_) return;
  component_->SetUrl(url);
  hasSubObjects_ = true;
}

void MediaPlayer::Play() {
  if (hasSubObjects_) component_->Play();
}

void MediaPlayer::SetPlayCount(std::string_view count) {
  if (!hasSubObjects_) return;
  if (std::optional<int> n = AutomationInteger(count)) component_->SetPlayCount(*n);
}

void MediaPlayer::ToggleMute() {
  if (hasSubObjects_) component_->SetMute(!component_->Mute());
}

void MediaPlayer::SetVolume(std::string_view volume) {
  if (!hasSubObjects_) return;
  if (std::optional<int> v = AutomationInteger(volume))
    component_->SetVolume(std::clamp(*v, 0, 100));
}

void MediaPlayer::Pause() {
  if (hasSubObjects_) component_->Pause();
}

void MediaPlayer::Stop() {
  if (hasSubObjects_) component_->Stop();
}

std::string MediaPlayer::GetStatus() const {
  return component_ ? component_->StatusText() : "";
}

int MediaPlayer::GetPlayState() const {
  return component_ ? component_->PlayState() : kPlayStateUndefined;
}

double MediaPlayer::GetPosition() const {
  return hasSubObjects_ ? component_->Position() : 0.0;
}

double MediaPlayer::GetDuration() const {
  return hasSubObjects_ ? component_->Duration() : 0.0;
}

std::string MediaPlayer::GetTitle() const {
  return OrDefault(hasSubObjects_ ? component_->ItemInfo("title") : "", "未知标题");
}

std::string MediaPlayer::GetAuthor() const {
  return OrDefault(hasSubObjects_ ? component_->ItemInfo("Author") : "", "未知作者");
}

std::string MediaPlayer::GetCopyright() const {
  return OrDefault(hasSubObjects_ ? component_->ItemInfo("Copyright") : "", "未知版权");
}

std::string MediaPlayer::GetMediaType() const {
  return OrDefault(hasSubObjects_ ? component_->ItemInfo("strType") : "", "未知类型");
}

std::string MediaPlayer::GetBitrateText() const {
  // An unknown bit rate reads as 0, as the empty answer converts to 0.
  std::optional<double> bits =
      AutomationNumber(hasSubObjects_ ? component_->ItemInfo("Bitrate") : "");
  double kbits = bits ? std::trunc(*bits / 1000) : 0;
  return std::to_string(static_cast<long long>(std::clamp(kbits, -1e15, 1e15))) + " kbit/sec";
}

std::string MediaPlayer::GetBufferingCount() const {
  return hasSubObjects_ ? std::to_string(component_->BufferingCount()) : "";
}

std::string MediaPlayer::GetBufferingProgress() const {
  return hasSubObjects_ ? std::to_string(component_->BufferingProgress()) : "";
}

void MediaPlayer::SetPosition(std::string_view seconds) {
  if (!hasSubObjects_) return;
  if (std::optional<double> s = AutomationNumber(seconds)) component_->SetPosition(*s);
}

std::string MediaPlayer::SecondsToText(int seconds) {
  // Counting down in steps of 60 gives the same answer for every count that
  // is not negative; a negative one would come out as "00:0-5", so it is 0.
  seconds = std::max(seconds, 0);
  return TwoDigits(seconds / 60) + ":" + TwoDigits(seconds % 60);
}

int MediaPlayer::TextToSeconds(std::string_view text) {
  text = text.substr(0, 5);
  std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) return 0;
  std::string_view first = text.substr(0, colon);
  std::string_view rest = text.substr(colon + 1);
  std::string_view second = rest.substr(0, rest.find(':'));
  return PieceValue(first) * 60 + PieceValue(second);
}

}  // namespace orvane
