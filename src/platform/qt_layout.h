#pragma once
// The main window's layout: every control with its container, place, size
// and visibility at start, in layout order (within a container, first listed
// is on top). QtUi builds the window from this table.

#include <span>
#include <string_view>

namespace orvane {

enum class ControlKind {
  Label,
  PictureBox,
  PictureButton,
  PushButton,
  CheckBox,
  ComboBox,
  Slider,
  ColourPicker,
  ShapeBox,
  GroupBox,
  Timer,
};

// "label", "picture box", "picture button", ...
std::string_view KindName(ControlKind kind);

struct ControlSpec {
  std::string_view name;
  ControlKind kind;
  std::string_view container;  // "" for the window's client area
  int x = 0, y = 0, w = 0, h = 0;
  bool visible = true;
};

std::span<const ControlSpec> MainWindowLayout();

// The client area: the 432 x 240 outer window less a 3-pixel border and a
// 22-pixel title bar.
inline constexpr int kClientWidth = 426;
inline constexpr int kClientHeight = 212;
inline constexpr int kFrameLeft = 3, kFrameTop = 25, kFrameRight = 3, kFrameBottom = 3;

}  // namespace orvane
