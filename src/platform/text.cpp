#include "platform/text.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace orvane {
namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool MatchesAt(std::string_view s, std::size_t i, std::string_view m, bool ignoreCase) {
  if (i + m.size() > s.size()) return false;
  if (!ignoreCase) return s.compare(i, m.size(), m) == 0;
  for (std::size_t k = 0; k < m.size(); ++k)
    if (Lower(s[i + k]) != Lower(m[k])) return false;
  return true;
}

bool Iconv(std::string_view in, const char* to, const char* from, std::string& out) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  out.clear();
  out.reserve(in.size() * 3 / 2 + 4);
  std::string src(in);
  char* inp = src.data();
  std::size_t inLeft = src.size();
  char buf[4096];
  while (inLeft > 0) {
    char* outp = buf;
    std::size_t outLeft = sizeof buf;
    std::size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
    out.append(buf, static_cast<std::size_t>(outp - buf));
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An invalid or incomplete sequence: one '?' for the byte, then go on.
      out.push_back('?');
      ++inp;
      --inLeft;
    }
  }
  char* outp = buf;
  std::size_t outLeft = sizeof buf;
  iconv(cd, nullptr, nullptr, &outp, &outLeft);
  out.append(buf, static_cast<std::size_t>(outp - buf));
  iconv_close(cd);
  return true;
}

}  // namespace

bool IsCharStart(std::string_view s, std::size_t index0) {
  if (index0 >= s.size()) return index0 == s.size();
  unsigned char c = static_cast<unsigned char>(s[index0]);
  return c < 0x80 || c > 0xBF;
}

std::size_t FindText(std::string_view source, std::string_view marker, std::size_t from,
                     bool ignoreCase) {
  if (marker.empty() || source.size() < marker.size()) return 0;
  std::size_t start = from < 1 ? 0 : from - 1;
  for (std::size_t i = start; i + marker.size() <= source.size(); ++i) {
    if (!IsCharStart(source, i)) continue;
    if (MatchesAt(source, i, marker, ignoreCase)) return i + 1;
  }
  return 0;
}

std::size_t FindLastText(std::string_view source, std::string_view marker) {
  if (marker.empty() || source.size() < marker.size()) return 0;
  for (std::size_t i = source.size() - marker.size() + 1; i-- > 0;) {
    if (!IsCharStart(source, i)) continue;
    if (source.compare(i, marker.size(), marker) == 0) return i + 1;
  }
  return 0;
}

std::string ReplaceAll(std::string_view source, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(source);
  std::string out;
  out.reserve(source.size());
  std::size_t i = 0;
  while (i < source.size()) {
    std::size_t p = FindText(source, from, i + 1);
    if (p == 0) break;
    out.append(source.substr(i, p - 1 - i));
    out.append(to);
    i = p - 1 + from.size();
  }
  out.append(source.substr(i < source.size() ? i : source.size()));
  return out;
}

std::string UndoJsonSlashes(std::string_view text) {
  return ReplaceAll(text, "\\/", "/");
}

std::string GbkToUtf8(std::string_view gbk) {
  std::string out;
  if (!Iconv(gbk, "UTF-8", "GB18030", out)) return std::string(gbk);
  return out;
}

std::string Utf8ToGbk(std::string_view utf8) {
  std::string out;
  if (!Iconv(utf8, "GB18030", "UTF-8", out)) return std::string(utf8);
  return out;
}

bool ConvertToUtf8(std::string_view bytes, const char* charset, std::string& out) {
  if (!Iconv(bytes, "UTF-8", charset, out)) return false;
  out = SanitizeUtf8(out);
  return true;
}

std::string SanitizeUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    unsigned cp = 0;
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
      ++i;
      continue;
    } else if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
      cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      cp = c & 0x07;
    }
    bool ok = len != 0 && i + len <= n;
    for (std::size_t k = 1; ok && k < len; ++k) {
      unsigned char d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) ok = false;
      cp = (cp << 6) | (d & 0x3F);
    }
    if (ok) {
      if ((len == 3 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
          (len == 4 && (cp < 0x10000 || cp > 0x10FFFF)))
        ok = false;
    }
    if (ok) {
      out.append(s.substr(i, len));
      i += len;
    } else {
      out.append("\xEF\xBF\xBD");
      ++i;
    }
  }
  return out;
}

}  // namespace orvane
