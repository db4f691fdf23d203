#pragma once
// Private-profile (INI) files, one key per read or write, GBK on disk, UTF-8
// in the program. Section, keys and every other line of the file are kept as
// they were; a missing file, section or key reads as the empty text.
// Every write replaces the file atomically (temporary file in the same
// directory, then rename), so the file is never left half written.

#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace orvane {

inline constexpr std::size_t kProfileValueMax = 10240;  // read buffer, terminator included

// The value of `key` in `section`, at most kProfileValueMax - 1 bytes of it.
std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key);

// Writes one key; returns false when the file could not be replaced.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Writes several keys of one section with one replace of the file: the same
// result as writing them one after another, but a crash in the middle leaves
// the file with all of them or none.
bool WriteProfileStrings(const std::string& path, std::string_view section,
                         std::span<const std::pair<std::string_view, std::string_view>> keys);

bool FileExists(const std::string& path);

// The directory that holds the program file, without a trailing separator.
std::string RunDirectory();

}  // namespace orvane
