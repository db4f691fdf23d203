#pragma once
// QtUi: the main window on Qt Widgets, built from the layout table
// (qt_layout.h) with absolute positions, objectName = layout name. It is the
// real Ui of the program and offers the driver a few more things: the window,
// the control names and kinds, and user input simulated by control name.
//
// The window's outer frame is what kWindow's Left/Top/Width/Height read and
// write: Left/Top are frameGeometry()'s corner, and Move places that corner.
// The client area is fixed at 426 x 212, the 432 x 240 window of the layout
// less its frame. Width and height are the client's plus the frame the window
// manager really draws; where no frame is drawn (not yet shown, offscreen,
// Xvfb without a window manager) the layout's own frame (3 + 22 px at the
// top, 3 px elsewhere) stands in for it, both ways: the creation handler's
// SetHeight(kWindow, 240) keeps the client at 212, and the window then reads
// back as 432 x 240, the size the docking rules are written for.

#include <QPoint>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/qt_layout.h"
#include "platform/ui.h"

class QTimer;

namespace orvane {

class QtUi : public Ui {
 public:
  QtUi();
  ~QtUi() override;
  QtUi(const QtUi&) = delete;
  QtUi& operator=(const QtUi&) = delete;

  // --- Ui ---
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

  // --- for the application, the driver and tests ---
  QWidget* window() const;
  QWidget* widget(std::string_view name) const;  // null for timers and unknown names
  void Show();
  void FireCreated();
  std::vector<std::string> ControlNames() const;    // layout order
  std::string KindOf(std::string_view name) const;  // "" for unknown names
  // The control's container ("" for the client area) as the layout gives it.
  std::string ContainerOf(std::string_view name) const;

  // User input by control name. Mouse input goes to the point of the control
  // where it is on top (its centre when free), as a user's pointer would;
  // each returns false and does nothing when a user could not reach the
  // control there (hidden, covered, outside the window).
  bool Click(std::string_view name);                   // press and release: Clicked
  bool Press(std::string_view name);                   // left button down: LeftPressed
  bool Release(std::string_view name);                 // left button up: LeftReleased on the slider
  bool Select(std::string_view name, int index);       // a list item chosen: ItemSelected
  bool Slide(std::string_view name, int position);     // a slider step: PositionChanged
  bool CheckBox(std::string_view name, bool checked);  // a click that toggles, if needed
  bool PickColour(std::string_view name, std::int32_t colour);  // as the dialog would
  bool Close();  // the title bar's close button: Destroying, then closed

 private:
  struct Entry;
  class Window;
  class PressFilter;

  Entry* Find(std::string_view name) const;
  void Build();
  void Fire(Entry* entry, UiEvent event);
  void FireWindow(UiEvent event);
  void OnClose();
  bool Reachable(const Entry* entry) const;
  bool HitPoint(const Entry* entry, bool exact, QPoint& local) const;
  QMargins FrameMargins() const;
  void MoveWindow(int x, int y);

  std::unique_ptr<Window> window_;
  std::unique_ptr<PressFilter> pressFilter_;
  std::map<std::string, std::unique_ptr<Entry>, std::less<>> entries_;
  std::vector<Entry*> order_;
  std::array<std::function<void()>, 8> windowHandlers_;
  bool destroyingFired_ = false;
};

}  // namespace orvane
