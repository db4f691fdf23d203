#pragma once
// The window toolkit as the handlers see it: controls addressed by their
// layout name, a small property vocabulary, event binding, timers and a wait
// that keeps dispatching. The real implementation is QtUi (Qt Widgets); tests
// use FakeUi (tests/support/fake_ui.h). Everything is called on the
// user-interface thread only.
//
// Names are the layout names in UTF-8 ("标签1", "暂停按钮", "时钟1"); the main
// window itself is Ui::kWindow. Reading a property of an unknown name, or one
// that does not apply to the control, yields the empty value (0, false, "");
// writing one does nothing.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvane {

enum class UiEvent {
  Created,          // the main window and all its controls exist
  Destroying,       // the main window is about to be destroyed (user closed it)
  Clicked,          // buttons and picture buttons
  LeftPressed,      // left mouse button pressed on a label, picture box or shape box
  LeftReleased,     // left mouse button released on the slider
  PositionChanged,  // slider position changed (every step, not the end of tracking)
  ItemSelected,     // a combo box's list item chosen by the user
  Tick,             // a timer's periodic event
};

enum class MousePointer { Default, Hand };

class Ui {
 public:
  static constexpr std::string_view kWindow = "MainWindow";

  virtual ~Ui() = default;

  // visible: a hidden control gets no clicks.
  virtual bool Visible(std::string_view name) const = 0;
  virtual void SetVisible(std::string_view name, bool visible) = 0;

  // Position and size in the container's coordinates; for kWindow, screen
  // coordinates of the outer frame (title bar and border included).
  virtual int Left(std::string_view name) const = 0;
  virtual int Top(std::string_view name) const = 0;
  virtual int Width(std::string_view name) const = 0;
  virtual int Height(std::string_view name) const = 0;
  virtual void SetLeft(std::string_view name, int x) = 0;
  virtual void SetTop(std::string_view name, int y) = 0;
  virtual void SetWidth(std::string_view name, int w) = 0;
  virtual void SetHeight(std::string_view name, int h) = 0;
  // Moves to a new top-left corner, size unchanged (one move, not two).
  virtual void Move(std::string_view name, int x, int y) = 0;

  // caption: labels, buttons, check boxes, group boxes; kWindow is the title bar.
  virtual std::string Caption(std::string_view name) const = 0;
  virtual void SetCaption(std::string_view name, std::string_view text) = 0;

  // picture: image bytes in any common format; empty or undecodable bytes clear it.
  virtual void SetPicture(std::string_view name, std::string_view bytes) = 0;
  virtual bool HasPicture(std::string_view name) const = 0;

  virtual MousePointer Pointer(std::string_view name) const = 0;
  virtual void SetPointer(std::string_view name, MousePointer pointer) = 0;

  // animation running (图片框2).
  virtual bool AnimationRunning(std::string_view name) const = 0;
  virtual void SetAnimationRunning(std::string_view name, bool running) = 0;

  // Timer period in ms. 0 stops; a positive value different from the current
  // one starts the timer anew; writing the current value changes nothing.
  virtual int Period(std::string_view name) const = 0;
  virtual void SetPeriod(std::string_view name, int ms) = 0;

  // Slider position, kept within the slider's range.
  virtual int SliderPosition(std::string_view name) const = 0;
  virtual void SetSliderPosition(std::string_view name, int position) = 0;

  // Combo boxes: selected index from 0, -1 for none.
  virtual int SelectedItem(std::string_view name) const = 0;
  virtual void SetSelectedItem(std::string_view name, int index) = 0;
  virtual int ItemCount(std::string_view name) const = 0;
  virtual std::string ItemText(std::string_view name, int index) const = 0;

  virtual bool Checked(std::string_view name) const = 0;
  virtual void SetChecked(std::string_view name, bool checked) = 0;

  // Colour pickers: a Windows colour value, 0x00BBGGRR.
  virtual std::int32_t Colour(std::string_view name) const = 0;
  virtual void SetColour(std::string_view name, std::int32_t colour) = 0;

  // Binds the one handler of an event of a control (kWindow for Created and
  // Destroying). A later Bind replaces the earlier one.
  virtual void Bind(std::string_view name, UiEvent event, std::function<void()> handler) = 0;

  // Keeps dispatching pending events (timer ticks and clicks included) until
  // more than `ms` milliseconds have passed.
  virtual void WaitDispatching(int ms) = 0;
};

}  // namespace orvane
