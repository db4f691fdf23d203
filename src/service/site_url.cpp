#include "service/site_url.h"

#include <charconv>

#include "platform/text.h"

namespace orvane {
namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (Lower(s[i]) != prefix[i]) return false;
  return true;
}

// Printable ASCII only, and no backslash: browsers read "\" as "/" in http(s)
// URLs and drop tabs and line breaks, so such bytes could move the host.
bool PlainUrlBytes(std::string_view url) {
  for (char ch : url) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c >= 0x7F || c == '\\') return false;
  }
  return true;
}

bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_';
}

bool IsIpv6Char(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F') || c == ':' ||
         c == '.';
}

// "" (the default port) or 1 to 65535 in decimal digits.
std::optional<int> ParsePort(std::string_view text, int defaultPort) {
  if (text.empty()) return defaultPort;
  int port = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), port);
  if (ec != std::errc() || end != text.data() + text.size() || port < 1 || port > 65535)
    return std::nullopt;
  return port;
}

}  // namespace

std::optional<UrlOrigin> ParseUrlOrigin(std::string_view url) {
  if (!PlainUrlBytes(url)) return std::nullopt;
  UrlOrigin origin;
  int defaultPort = 0;
  if (StartsWithNoCase(url, "https://")) {
    origin.scheme = "https";
    defaultPort = 443;
  } else if (StartsWithNoCase(url, "http://")) {
    origin.scheme = "http";
    defaultPort = 80;
  } else {
    return std::nullopt;
  }
  std::string_view rest = url.substr(origin.scheme.size() + 3);
  const std::string_view authority = rest.substr(0, rest.find_first_of("/?#"));
  // User-info would make everything before "@" a name and password, and a
  // percent-encoded host decodes to a host we never compared.
  if (authority.find_first_of("@%") != std::string_view::npos) return std::nullopt;

  std::string_view host;
  std::string_view portText;
  if (!authority.empty() && authority.front() == '[') {
    const std::size_t close = authority.find(']');
    if (close == std::string_view::npos || close < 3) return std::nullopt;
    host = authority.substr(0, close + 1);
    for (char c : host.substr(1, host.size() - 2))
      if (!IsIpv6Char(c)) return std::nullopt;
    const std::string_view after = authority.substr(close + 1);
    if (!after.empty()) {
      if (after.front() != ':') return std::nullopt;
      portText = after.substr(1);
    }
  } else {
    const std::size_t colon = authority.find(':');
    host = authority.substr(0, colon);
    if (colon != std::string_view::npos) portText = authority.substr(colon + 1);
    for (char c : host)
      if (!IsHostChar(c)) return std::nullopt;
  }
  if (host.empty()) return std::nullopt;
  const std::optional<int> port = ParsePort(portText, defaultPort);
  if (!port) return std::nullopt;
  origin.host = LowerAscii(host);
  origin.port = *port;
  return origin;
}

std::optional<std::string> MusicSiteUrl(std::string_view musicBase, std::string_view path) {
  const std::optional<UrlOrigin> site = ParseUrlOrigin(musicBase);
  if (!site) return std::nullopt;
  std::string url = UndoJsonSlashes(std::string(musicBase) + std::string(path));
  const std::optional<UrlOrigin> target = ParseUrlOrigin(url);
  if (!target || !(*target == *site)) return std::nullopt;

  // The host is ours; keep the path from climbing out of the site's tree or
  // looking like a scheme-relative address to whatever reads it next.
  const std::size_t schemeEnd = url.find("://") + 3;
  const std::size_t pathStart = url.find_first_of("/?#", schemeEnd);
  if (pathStart != std::string::npos) {
    const std::string_view rest = std::string_view(url).substr(pathStart);
    if (rest.find("..") != std::string_view::npos || rest.find("//") != std::string_view::npos)
      return std::nullopt;
    for (std::size_t i = 0; i + 2 < rest.size(); ++i)
      if (rest[i] == '%' && rest[i + 1] == '2' && Lower(rest[i + 2]) == 'e') return std::nullopt;
  }
  return url;
}

}  // namespace orvane
