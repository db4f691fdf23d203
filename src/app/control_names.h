#pragma once
// The layout names of the main window's controls that several handlers
// address, spelled once.

#include <string_view>

namespace orvane {

inline constexpr std::string_view kTitleLabel = "标签1";
inline constexpr std::string_view kLyricLabel = "标签2";
inline constexpr std::string_view kTimeLabel = "标签3";
inline constexpr std::string_view kBitRateLabel = "标签4";
inline constexpr std::string_view kChannelLabel = "标签5";
inline constexpr std::string_view kTip = "提示";
inline constexpr std::string_view kCover = "图片框1";
inline constexpr std::string_view kIndicator = "图片框2";
inline constexpr std::string_view kPauseButton = "暂停按钮";
inline constexpr std::string_view kContinueButton = "继续播放";
inline constexpr std::string_view kNextButton = "下一曲";
inline constexpr std::string_view kSimilarButton = "相似歌曲";
inline constexpr std::string_view kChooser = "组合框1";
inline constexpr std::string_view kVolumeSlider = "滑块条1";
inline constexpr std::string_view kPlayerArea = "音乐播放外形框";
inline constexpr std::string_view kSettingsPanel = "外形框1";
inline constexpr std::string_view kGreenBar = "进度条_绿";
inline constexpr std::string_view kLyricTimer = "times";
inline constexpr std::string_view kTipTimer = "时钟2";

}  // namespace orvane
