#pragma once
// The handlers through which the user drives playback and picks a channel:
// pause, continue, next song, the channel chooser (标签5 and 组合框1), the
// title label (copies title and artist), the cover (opens the album page) and
// the two presses that only tidy the window (标签2, 音乐播放外形框). Each also
// closes some of the pop-ups: the volume slider, the chooser, the settings panel.

#include "app/context.h"

namespace orvane {

void OnPauseClicked(Context& ctx);
void OnContinueClicked(Context& ctx);
void OnNextSongClicked(Context& ctx);
void OnChannelSelected(Context& ctx);
void OnChannelLabelPressed(Context& ctx);
void OnTitlePressed(Context& ctx);
void OnTidyPressed(Context& ctx);  // 标签2 and 音乐播放外形框
void OnCoverPressed(Context& ctx);

void BindPlaybackControls(Context& ctx);

}  // namespace orvane
