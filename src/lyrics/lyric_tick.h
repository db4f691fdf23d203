#pragma once
// The lyric timer `times` (500 ms while a song is on): at the end of a song it
// stops itself and asks for the next one; while the song plays it writes the
// time read-out, the progress bar and the lyric line of the current second to
// 标签2 and the overlay.

#include "app/context.h"

namespace orvane {

// Position and duration in whole seconds as the tick uses them: truncated
// toward zero. NaN, infinities and negative readings count as 0, readings past
// kMaxTickSeconds as kMaxTickSeconds, so the read-out and the bar width stay
// well inside int.
inline constexpr int kMaxTickSeconds = 5'000'000;
int WholeSeconds(double seconds);

// The green bar's width: position / duration * 390, truncated; 0 when the
// duration is 0. Not clamped to the track: a position past the end draws longer.
int ProgressWidth(int position, int duration);

void LyricTick(Context& ctx);

// Binds the Tick of `times` to LyricTick.
void BindLyricTimer(Context& ctx);

}  // namespace orvane
