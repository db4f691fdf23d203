#pragma once
// The album page address. The album path comes from the playlist response, so
// before the browser opens it or the GET fetches it, the address made of the
// music site's base and that path must still point at the music site: same
// scheme, host and port as the base. Anything that could carry the request
// elsewhere, or that a browser might read differently from us, is refused.

#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The origin of an absolute http(s) URL: scheme and host in lower case, the
// port as a number (the scheme's default when none is written).
struct UrlOrigin {
  std::string scheme;
  std::string host;  // an IPv6 literal keeps its brackets: "[::1]"
  int port = 0;
  bool operator==(const UrlOrigin&) const = default;
};

// The origin of `url`, or nothing when it is not a plain absolute http(s) URL:
// user-info ("@"), a percent-encoded or empty host, a malformed port or IPv6
// literal, a backslash, a space, a control or non-ASCII byte all refuse it.
std::optional<UrlOrigin> ParseUrlOrigin(std::string_view url);

// `musicBase` + `path`, with the JSON escape "\/" undone, when that address is
// a URL of the music site itself; nothing otherwise. The path part must also
// be free of "..", a percent-encoded dot and "//".
std::optional<std::string> MusicSiteUrl(std::string_view musicBase, std::string_view path);

}  // namespace orvane
