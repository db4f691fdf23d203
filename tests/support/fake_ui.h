#pragma once
// FakeUi: the property vocabulary in memory, for handler tests. Controls exist
// once added (AddControl) or once any property of them is written; reads of
// unknown names give empty values like the real one. Events are fired by the
// test (Fire). WaitDispatching records the wait and runs `onWait`, so a test
// can let "another handler" run in the middle of a wait.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace orvane {

class FakeUi : public Ui {
 public:
  struct Control {
    bool visible = true;
    int left = 0, top = 0, width = 0, height = 0;
    std::string caption;
    std::string picture;
    MousePointer pointer = MousePointer::Default;
    bool animation = false;
    int period = 0;
    int periodWrites = 0;  // how often the period was started anew
    int slider = 0, sliderMin = 1, sliderMax = 100;
    int selected = -1;
    std::vector<std::string> items;
    bool checked = false;
    std::int32_t colour = 0;
  };

  Control& AddControl(std::string_view name);
  Control& control(std::string_view name);  // adds it when missing
  const Control* find(std::string_view name) const;

  // Fires an event as the toolkit would; returns false when nothing is bound.
  bool Fire(std::string_view name, UiEvent event);

  std::vector<int> waits;           // every WaitDispatching(ms) in order
  std::function<void(int)> onWait;  // runs inside each wait

  bool Visible(std::string_view name) const override;
  void SetVisible(std::string_view name, bool visible) override;
  int Left(std::string_view name) const override;
  int Top(std::string_view name) const override;
  int Width(std::string_view name) const override;
  int Height(std::string_view name) const override;
  void SetLeft(std::string_view name, int x) override;
  void SetTop(std::string_view name, int y) override;
  void SetWidth(std::string_view name, int w) override;
  void SetHeight(std::string_view name, int h) override;
  void Move(std::string_view name, int x, int y) override;
  std::string Caption(std::string_view name) const override;
  void SetCaption(std::string_view name, std::string_view text) override;
  void SetPicture(std::string_view name, std::string_view bytes) override;
  bool HasPicture(std::string_view name) const override;
  MousePointer Pointer(std::string_view name) const override;
  void SetPointer(std::string_view name, MousePointer pointer) override;
  bool AnimationRunning(std::string_view name) const override;
  void SetAnimationRunning(std::string_view name, bool running) override;
  int Period(std::string_view name) const override;
  void SetPeriod(std::string_view name, int ms) override;
  int SliderPosition(std::string_view name) const override;
  void SetSliderPosition(std::string_view name, int position) override;
  int SelectedItem(std::string_view name) const override;
  void SetSelectedItem(std::string_view name, int index) override;
  int ItemCount(std::string_view name) const override;
  std::string ItemText(std::string_view name, int index) const override;
  bool Checked(std::string_view name) const override;
  void SetChecked(std::string_view name, bool checked) override;
  std::int32_t Colour(std::string_view name) const override;
  void SetColour(std::string_view name, std::int32_t colour) override;
  void Bind(std::string_view name, UiEvent event, std::function<void()> handler) override;
  void WaitDispatching(int ms) override;

 private:
  std::map<std::string, Control, std::less<>> controls_;
  std::map<std::pair<std::string, UiEvent>, std::function<void()>> handlers_;
};

}  // namespace orvane
