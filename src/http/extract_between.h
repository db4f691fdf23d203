#pragma once
// ExtractBetween: the text between two markers, with the end marker's
// position written back so a caller can walk a text marker by marker.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// The start marker is searched from the 1-based `startPosition` (0 or below:
// the beginning), the end marker from the first byte after the start marker,
// both with `ignoreCase` for ASCII letters. Without an end marker (or with an
// empty one) the result is the rest of the text. The result begins
// `extraBefore` bytes before the value and ends `extraAfter` bytes after it,
// cut at both ends of the text. Empty when the start marker, or a given end
// marker, is not found.
//
// `endPosition` (when given) receives the 1-based position of the end marker,
// -1 when it is missing, or the text's length plus the start marker's length
// without an end marker; it is left alone when the start marker is missing.
std::string ExtractBetween(std::string_view text, std::string_view startMarker,
                           std::optional<std::string_view> endMarker = std::nullopt,
                           std::int32_t startPosition = 0, bool ignoreCase = false,
                           std::int32_t* endPosition = nullptr, std::int32_t extraBefore = 0,
                           std::int32_t extraAfter = 0);

}  // namespace orvane
