#pragma once
// The song sequencer: the next song of the current channel, from the playlist
// request to a playing stream, its labels, cover, overlay line, lyric and the
// running lyric timer. Called by the next-song button, channel choice, the
// similar-songs button and the lyric timer at the end of a song.

#include <string_view>

#include "app/context.h"

namespace orvane {

// Fetches one song for channelId and puts it on: every CurrentSong field, the
// labels, the window title, the overlay, the cover, the stream, the lyric, and
// `times` at 500 ms. Checks nothing: a failed request shows empty values.
void PlayNextSong(Context& ctx);

// Hands the stream to the player with the volume slider's position.
void StartPlayback(Context& ctx, std::string_view url);

// 相似歌曲: switches to the channel the album page links to (its "cid="),
// labels it with the playing song's artist and plays from it. The page is
// fetched only when its address stays on the music site.
void PlaySimilar(Context& ctx);

// Binds 相似歌曲 Clicked to PlaySimilar.
void BindSequencer(Context& ctx);

}  // namespace orvane
