#include "platform/qt_layout.h"

#include <array>

namespace orvane {
namespace {

using K = ControlKind;
constexpr std::string_view kPlayer = "音乐播放外形框";
constexpr std::string_view kPanel = "外形框1";
constexpr std::string_view kGroup = "设置分组框1";

constexpr std::array kLayout{
    // The window's client area.
    ControlSpec{"外形框1", K::ShapeBox, "", 430, -3, 248, 216, true},
    ControlSpec{"设置", K::PictureButton, "", 257, 118, 20, 20, true},
    ControlSpec{"继续播放", K::PictureButton, "", 310, 162, 30, 30, false},
    ControlSpec{"音乐播放外形框", K::ShapeBox, "", -16, -1, 649, 217, true},
    ControlSpec{"时钟1", K::Timer, "", 0, 0, 0, 0, false},
    ControlSpec{"时钟2", K::Timer, "", 0, 0, 0, 0, false},
    ControlSpec{"times", K::Timer, "", 0, 0, 0, 0, false},
    // The player area.
    ControlSpec{"相似歌曲", K::PictureButton, kPlayer, 272, 163, 30, 30, false},
    ControlSpec{"滑块条1", K::Slider, kPlayer, 136, 120, 129, 19, false},
    ControlSpec{"图片框2", K::PictureBox, kPlayer, 32, 17, 20, 20, true},
    ControlSpec{"歌词显示", K::PictureButton, kPlayer, 245, 120, 20, 19, true},
    ControlSpec{"标签5", K::Label, kPlayer, 55, 15, 225, 24, true},
    ControlSpec{"音量", K::PictureButton, kPlayer, 111, 118, 20, 20, true},
    ControlSpec{"标签4", K::Label, kPlayer, 180, 120, 56, 20, true},
    ControlSpec{"提示", K::Label, kPlayer, 36, 186, 144, 20, true},
    ControlSpec{"下一曲", K::PictureButton, kPlayer, 379, 163, 30, 30, true},
    ControlSpec{"暂停按钮", K::PictureButton, kPlayer, 326, 163, 30, 30, true},
    ControlSpec{"组合框1", K::ComboBox, kPlayer, 56, 18, 99, 20, false},
    ControlSpec{"标签3", K::Label, kPlayer, 36, 119, 80, 20, true},
    ControlSpec{"进度条_绿", K::ShapeBox, kPlayer, 36, 142, 0, 3, true},
    ControlSpec{"进度条_灰", K::ShapeBox, kPlayer, 36, 142, 390, 3, true},
    ControlSpec{"标签2", K::Label, kPlayer, 34, 86, 263, 24, true},
    ControlSpec{"标签1", K::Label, kPlayer, 34, 41, 263, 46, true},
    ControlSpec{"图片框1", K::PictureBox, kPlayer, 306, 16, 120, 120, true},
    // The settings panel.
    ControlSpec{"设置2", K::PushButton, kPanel, 165, 160, 69, 35, true},
    ControlSpec{"设置分组框1", K::GroupBox, kPanel, 8, 11, 234, 197, true},
    // The lyric settings group.
    ControlSpec{"颜色选择器3", K::ColourPicker, kGroup, 69, 138, 50, 20, true},
    ControlSpec{"颜色选择器1", K::ColourPicker, kGroup, 69, 114, 50, 20, true},
    ControlSpec{"颜色选择器2", K::ColourPicker, kGroup, 125, 114, 50, 20, true},
    ControlSpec{"文字渐变", K::ComboBox, kGroup, 69, 162, 83, 20, true},
    ControlSpec{"设置标签2", K::Label, kGroup, 8, 116, 64, 64, true},
    ControlSpec{"字体下划线", K::CheckBox, kGroup, 72, 90, 85, 20, true},
    ControlSpec{"字体倾斜", K::CheckBox, kGroup, 150, 67, 76, 20, true},
    ControlSpec{"字体加粗", K::CheckBox, kGroup, 72, 67, 72, 20, true},
    ControlSpec{"字体大小", K::ComboBox, kGroup, 72, 43, 140, 20, true},
    ControlSpec{"字体型号", K::ComboBox, kGroup, 72, 19, 140, 20, true},
    ControlSpec{"设置标签", K::Label, kGroup, 8, 20, 80, 72, true},
};

}  // namespace

std::string_view KindName(ControlKind kind) {
  switch (kind) {
    case K::Label:
      return "label";
    case K::PictureBox:
      return "picture box";
    case K::PictureButton:
      return "picture button";
    case K::PushButton:
      return "push button";
    case K::CheckBox:
      return "check box";
    case K::ComboBox:
      return "combo box";
    case K::Slider:
      return "slider";
    case K::ColourPicker:
      return "colour picker";
    case K::ShapeBox:
      return "shape box";
    case K::GroupBox:
      return "group box";
    case K::Timer:
      return "timer";
  }
  return "";
}

std::span<const ControlSpec> MainWindowLayout() {
  return kLayout;
}

}  // namespace orvane
