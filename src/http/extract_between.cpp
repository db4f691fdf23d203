#include "http/extract_between.h"

#include <algorithm>

#include "platform/text.h"

namespace orvane {

std::string ExtractBetween(std::string_view text, std::string_view startMarker,
                           std::optional<std::string_view> endMarker, std::int32_t startPosition,
                           bool ignoreCase, std::int32_t* endPosition, std::int32_t extraBefore,
                           std::int32_t extraAfter) {
  const std::size_t from = startPosition < 1 ? 1 : static_cast<std::size_t>(startPosition);
  const std::size_t p = FindText(text, startMarker, from, ignoreCase);
  if (p == 0) return {};
  const std::int64_t q = static_cast<std::int64_t>(p + startMarker.size());
  std::int64_t end = 0;
  if (endMarker && !endMarker->empty()) {
    const std::size_t e = FindText(text, *endMarker, static_cast<std::size_t>(q), ignoreCase);
    if (endPosition) *endPosition = e == 0 ? -1 : static_cast<std::int32_t>(e);
    if (e == 0) return {};
    end = static_cast<std::int64_t>(e);
  } else {
    end = static_cast<std::int64_t>(text.size() + startMarker.size());
    if (endPosition) *endPosition = static_cast<std::int32_t>(end);
  }
  // 1-based, the last one exclusive; out-of-range extras are cut at the text.
  const std::int64_t limit = static_cast<std::int64_t>(text.size()) + 1;
  const std::int64_t first = std::clamp<std::int64_t>(q - extraBefore, 1, limit);
  const std::int64_t last = std::clamp<std::int64_t>(end + extraAfter, 1, limit);
  if (last <= first) return {};
  return std::string(
      text.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(last - first)));
}

}  // namespace orvane
