#pragma once
// The line for a given second, cut straight out of the lyric response. The
// response is never parsed into a table: each lookup splits it at every "[" and
// takes the text after the last stamp of the last piece that holds the time
// text, up to the JSON-escaped line end (the four characters \r\n).
//
// Searches are case-sensitive and never match inside a UTF-8 character.

#include <string>
#include <string_view>

namespace orvane {

// The line end as it stands inside the JSON string: backslash r backslash n.
inline constexpr std::string_view kLyricLineEnd = "\\r\\n";

// The line for `timeText` ("MM:SS"), or empty when no piece holds it. A later
// matching piece replaces an earlier result, also with an empty one.
std::string FindLyricLine(std::string_view response, std::string_view timeText);

// Everything after the last occurrence of `marker`; empty when it does not occur.
std::string TextAfterLast(std::string_view text, std::string_view marker);
// Everything before the first occurrence of `marker`; empty when it does not occur.
std::string TextBefore(std::string_view text, std::string_view marker);

// The same two cuts as views into `text`, for callers that must not allocate.
std::string_view TextAfterLastView(std::string_view text, std::string_view marker);
std::string_view TextBeforeView(std::string_view text, std::string_view marker);

}  // namespace orvane
