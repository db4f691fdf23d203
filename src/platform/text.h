#pragma once
// Byte-string helpers for the program's texts: UTF-8 in std::string, positions
// 1-based, 0 for "not found". A match may begin only at the start of a UTF-8
// character, never at a continuation byte (0x80..0xBF), so a marker is never
// found inside a multi-byte character.

#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// True when byte `index0` (0-based) of `s` starts a character.
bool IsCharStart(std::string_view s, std::size_t index0);

// First occurrence of `marker` at or after 1-based `from` (values below 1 mean
// the start). ASCII letters compare case-insensitively when `ignoreCase`.
// Returns the 1-based position, or 0. An empty marker is never found.
std::size_t FindText(std::string_view source, std::string_view marker, std::size_t from = 1,
                     bool ignoreCase = false);

// Last occurrence of `marker`; 1-based position or 0.
std::size_t FindLastText(std::string_view source, std::string_view marker);

inline bool ContainsText(std::string_view source, std::string_view marker) {
  return FindText(source, marker) != 0;
}

// Every occurrence of `from` replaced by `to` (case-sensitive, left to right).
std::string ReplaceAll(std::string_view source, std::string_view from, std::string_view to);

// Undoes the JSON escape of a slash ("\/" -> "/") and nothing else, so that
// "https:\/\/host\/a" becomes "https://host/a".
std::string UndoJsonSlashes(std::string_view text);

// GBK <-> UTF-8 through iconv. Bytes that do not convert are replaced by '?'.
std::string GbkToUtf8(std::string_view gbk);
std::string Utf8ToGbk(std::string_view utf8);
// Any iconv charset name to UTF-8 ("GB18030", "ISO-8859-1", ...); returns false
// when iconv does not know the charset.
bool ConvertToUtf8(std::string_view bytes, const char* charset, std::string& out);

// Replaces bytes that are not valid UTF-8 by U+FFFD, so every text the program
// holds is valid UTF-8 whatever the network sent.
std::string SanitizeUtf8(std::string_view bytes);

}  // namespace orvane
