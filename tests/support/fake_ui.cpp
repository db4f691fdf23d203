#include "support/fake_ui.h"

#include <algorithm>

namespace orvane {

FakeUi::Control& FakeUi::AddControl(std::string_view name) {
  return control(name);
}

FakeUi::Control& FakeUi::control(std::string_view name) {
  auto it = controls_.find(name);
  if (it == controls_.end()) it = controls_.emplace(std::string(name), Control{}).first;
  return it->second;
}

const FakeUi::Control* FakeUi::find(std::string_view name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : &it->second;
}

bool FakeUi::Fire(std::string_view name, UiEvent event) {
  auto it = handlers_.find({std::string(name), event});
  if (it == handlers_.end() || !it->second) return false;
  auto handler = it->second;  // the handler may rebind itself
  handler();
  return true;
}

bool FakeUi::Visible(std::string_view n) const {
  auto c = find(n);
  return c && c->visible;
}
void FakeUi::SetVisible(std::string_view n, bool v) {
  control(n).visible = v;
}
int FakeUi::Left(std::string_view n) const {
  auto c = find(n);
  return c ? c->left : 0;
}
int FakeUi::Top(std::string_view n) const {
  auto c = find(n);
  return c ? c->top : 0;
}
int FakeUi::Width(std::string_view n) const {
  auto c = find(n);
  return c ? c->width : 0;
}
int FakeUi::Height(std::string_view n) const {
  auto c = find(n);
  return c ? c->height : 0;
}
void FakeUi::SetLeft(std::string_view n, int x) {
  control(n).left = x;
}
void FakeUi::SetTop(std::string_view n, int y) {
  control(n).top = y;
}
void FakeUi::SetWidth(std::string_view n, int w) {
  control(n).width = w;
}
void FakeUi::SetHeight(std::string_view n, int h) {
  control(n).height = h;
}
void FakeUi::Move(std::string_view n, int x, int y) {
  auto& c = control(n);
  c.left = x;
  c.top = y;
}
std::string FakeUi::Caption(std::string_view n) const {
  auto c = find(n);
  return c ? c->caption : "";
}
void FakeUi::SetCaption(std::string_view n, std::string_view t) {
  control(n).caption = std::string(t);
}
void FakeUi::SetPicture(std::string_view n, std::string_view b) {
  control(n).picture = std::string(b);
}
bool FakeUi::HasPicture(std::string_view n) const {
  auto c = find(n);
  return c && !c->picture.empty();
}
MousePointer FakeUi::Pointer(std::string_view n) const {
  auto c = find(n);
  return c ? c->pointer : MousePointer::Default;
}
void FakeUi::SetPointer(std::string_view n, MousePointer p) {
  control(n).pointer = p;
}
bool FakeUi::AnimationRunning(std::string_view n) const {
  auto c = find(n);
  return c && c->animation;
}
void FakeUi::SetAnimationRunning(std::string_view n, bool r) {
  control(n).animation = r;
}
int FakeUi::Period(std::string_view n) const {
  auto c = find(n);
  return c ? c->period : 0;
}
void FakeUi::SetPeriod(std::string_view n, int ms) {
  auto& c = control(n);
  if (ms < 0) ms = 0;
  if (ms == c.period) return;  // same period: a running timer keeps its deadline
  c.period = ms;
  if (ms > 0) ++c.periodWrites;
}
int FakeUi::SliderPosition(std::string_view n) const {
  auto c = find(n);
  return c ? c->slider : 0;
}
void FakeUi::SetSliderPosition(std::string_view n, int p) {
  auto& c = control(n);
  c.slider = std::clamp(p, c.sliderMin, c.sliderMax);
}
int FakeUi::SelectedItem(std::string_view n) const {
  auto c = find(n);
  return c ? c->selected : -1;
}
void FakeUi::SetSelectedItem(std::string_view n, int i) {
  auto& c = control(n);
  c.selected = (i >= 0 && i < static_cast<int>(c.items.size())) ? i : -1;
}
int FakeUi::ItemCount(std::string_view n) const {
  auto c = find(n);
  return c ? static_cast<int>(c->items.size()) : 0;
}
std::string FakeUi::ItemText(std::string_view n, int i) const {
  auto c = find(n);
  if (!c || i < 0 || i >= static_cast<int>(c->items.size())) return "";
  return c->items[static_cast<std::size_t>(i)];
}
bool FakeUi::Checked(std::string_view n) const {
  auto c = find(n);
  return c && c->checked;
}
void FakeUi::SetChecked(std::string_view n, bool v) {
  control(n).checked = v;
}
std::int32_t FakeUi::Colour(std::string_view n) const {
  auto c = find(n);
  return c ? c->colour : 0;
}
void FakeUi::SetColour(std::string_view n, std::int32_t v) {
  control(n).colour = v;
}
void FakeUi::Bind(std::string_view n, UiEvent e, std::function<void()> h) {
  handlers_[{std::string(n), e}] = std::move(h);
}
void FakeUi::WaitDispatching(int ms) {
  waits.push_back(ms);
  if (onWait) onWait(ms);
}

}  // namespace orvane
