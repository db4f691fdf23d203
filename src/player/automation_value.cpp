#include "player/automation_value.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace orvane {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// digits [. digits] [e [sign] digits], with at least one digit before the exponent.
bool IsPlainNumber(std::string_view s) {
  std::size_t i = 0, digits = 0;
  while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < s.size() && IsDigit(s[i])) ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

}  // namespace

std::optional<double> AutomationNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (!IsPlainNumber(text)) return std::nullopt;
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return negative ? -value : value;
}

std::optional<int> AutomationInteger(std::string_view text) {
  std::optional<double> number = AutomationNumber(text);
  if (!number) return std::nullopt;
  double rounded = std::nearbyint(*number);  // the default rounding mode: halves to even
  if (rounded < INT_MIN || rounded > INT_MAX) return std::nullopt;
  return static_cast<int>(rounded);
}

}  // namespace orvane
