#pragma once
// The station's fixed content: songs, channels, album pages and the bodies
// built from them in the shape the service sends.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "station/station.h"

namespace orvane::station {

// An album page's similar-songs channel: the album identifier (the number in
// "\/subject\/<id>\/") and the cid its page links to.
struct AlbumFixture {
  std::string albumId;
  std::string cid;
  std::string channelName;
};
const std::vector<AlbumFixture>& Albums();

const SongFixture* FindSong(std::string_view sid);
// The name channel_info gives for a cid: the 29 channels and the albums' cids.
std::optional<std::string> ChannelName(std::string_view id);

// "http://127.0.0.1:1\/a\/b": every "/" escaped as "\/".
std::string EscapeSlashes(std::string_view text);
// Like EscapeSlashes but keeps the "//" after the scheme, as the service
// writes `picture`.
std::string EscapeSlashesKeepScheme(std::string_view url);

std::string PlaylistBody(const SongFixture& song, const std::string& baseUrl);
std::string ChannelInfoBody(std::string_view id);
std::string AlbumPageBody(const AlbumFixture& album, const std::string& baseUrl);

// The bytes of tests/station/fixtures/<relative>, empty when missing.
std::string ReadFixture(std::string_view relative);
std::string FixtureDirectory();

}  // namespace orvane::station
