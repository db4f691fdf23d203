// HttpRequest's cookie store: the response's Set-Cookie headers merged into
// one text of name=value; pairs.

#include <optional>

#include "http/extract_between.h"
#include "http/http_request.h"
#include "platform/text.h"

namespace orvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The value after `marker`, up to the first ';' or the end of its header
// line, so a cookie without attributes never runs into the next header.
std::string ValueAfter(std::string_view headers, std::string_view marker) {
  const std::size_t p = FindText(headers, marker);
  if (p == 0) return {};
  std::string_view rest = headers.substr(p - 1 + marker.size());
  rest = rest.substr(0, rest.find(kLineEnd));
  return std::string(rest.substr(0, rest.find(';')));
}

struct Entry {
  std::size_t begin;   // 0-based, at the name
  std::size_t length;  // "name=value;" with its ';'
  std::string value;
};

// The stored cookie `name`: only a whole name counts ("sid" is not found in
// "xsid=1;"), so merging one cookie never rewrites another.
std::optional<Entry> FindEntry(std::string_view cookies, std::string_view name) {
  const std::string key = std::string(name) + "=";
  std::size_t at = 0;
  while (at < cookies.size()) {
    const std::size_t end = cookies.find(';', at);
    const std::string_view entry =
        cookies.substr(at, end == std::string_view::npos ? std::string_view::npos : end - at);
    if (entry.substr(0, key.size()) == key) {
      const std::size_t length = entry.size() + (end == std::string_view::npos ? 0 : 1);
      return Entry{at, length, std::string(entry.substr(key.size()))};
    }
    if (end == std::string_view::npos) break;
    at = end + 1;
  }
  return std::nullopt;
}

}  // namespace

std::string HttpRequest::GetCookie(std::string_view name) {
  const std::string all = GetAllResponseHeaders();
  std::string value = ValueAfter(all, "Set-Cookie: " + std::string(name) + "=");
  if (value.empty()) value = ValueAfter(all, "Set-Cookie:" + std::string(name) + "=");
  return value;
}

std::string HttpRequest::GetSetCookieLines() {
  const std::string all = GetAllResponseHeaders();
  std::string lines;
  std::string_view rest = all;
  while (!rest.empty()) {
    const std::size_t end = rest.find(kLineEnd);
    const std::string_view line = rest.substr(0, end);
    if (line.substr(0, 11) == "Set-Cookie:") {
      lines.append(line);
      lines.append(kLineEnd);
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + kLineEnd.size());
  }
  return lines;
}

std::string HttpRequest::MergeSetCookies() {
  const std::string all = GetAllResponseHeaders();
  std::int32_t pos = 0;
  for (;;) {
    const std::int32_t from = pos;
    const std::string line =
        orvane::ExtractBetween(all, "Set-Cookie: ", kLineEnd, from, false, &pos);
    if (line.empty() || pos <= from) break;  // no further header
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;  // not a cookie: look at the next line
    const std::string name = line.substr(0, eq);
    const std::string key = name + "=";

    std::string fresh;
    if (line.find(';', name.size()) != std::string::npos) {
      fresh = orvane::ExtractBetween(line, key, ";");
      if (ContainsText(line, "deleted; expires=")) fresh.clear();
    } else {
      fresh = orvane::ExtractBetween(line, key);
    }

    const std::optional<Entry> stored = FindEntry(cookies_, name);
    if (!fresh.empty()) {
      const std::string entry = key + fresh + ";";
      if (stored) {
        cookies_.replace(stored->begin, stored->length, entry);
      } else {
        cookies_ += entry;
      }
    } else if (stored) {
      cookies_.erase(stored->begin, stored->length);
    }
  }
  return cookies_;
}

void HttpRequest::SendStoredCookies() {
  SetRequestHeader("Cookie", cookies_);
}

}  // namespace orvane
