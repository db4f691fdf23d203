#include "lyrics/lyric_lookup.h"

#include "platform/text.h"

namespace orvane {

std::string_view TextAfterLastView(std::string_view text, std::string_view marker) {
  const std::size_t p = FindLastText(text, marker);
  if (p == 0) return {};
  return text.substr(p - 1 + marker.size());
}

std::string_view TextBeforeView(std::string_view text, std::string_view marker) {
  const std::size_t p = FindText(text, marker);
  if (p == 0) return {};
  return text.substr(0, p - 1);
}

std::string TextAfterLast(std::string_view text, std::string_view marker) {
  return std::string(TextAfterLastView(text, marker));
}

std::string TextBefore(std::string_view text, std::string_view marker) {
  return std::string(TextBeforeView(text, marker));
}

std::string FindLyricLine(std::string_view response, std::string_view timeText) {
  // Called twice a second over the whole response: walk it as views and copy
  // only the line that wins.
  std::string_view result;
  std::size_t pieceStart = 0;  // 0-based
  while (true) {
    const std::size_t bracket = FindText(response, "[", pieceStart + 1);
    const std::size_t pieceEnd = bracket == 0 ? response.size() : bracket - 1;
    const std::string_view piece = response.substr(pieceStart, pieceEnd - pieceStart);
    if (FindText(piece, timeText) != 0) {
      const std::string_view afterTime = TextAfterLastView(piece, timeText);
      const std::string_view afterStamp = TextAfterLastView(afterTime, "]");
      result = TextBeforeView(afterStamp, kLyricLineEnd);
    }
    if (bracket == 0) break;
    pieceStart = bracket;  // the byte after the "["
  }
  return std::string(result);
}

}  // namespace orvane
