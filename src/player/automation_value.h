#pragma once
// Text arguments read the way an automation layer converts a string into a
// numeric property: surrounding blanks allowed, an optional sign, decimal
// digits with an optional fraction and exponent, nothing else. A text that is
// not such a number has no value, and the write it was meant for is dropped.

#include <optional>
#include <string_view>

namespace orvane {

std::optional<double> AutomationNumber(std::string_view text);

// The number rounded to the nearest integer, halves to even ("2.5" -> 2,
// "3.5" -> 4); no value when it does not fit an int.
std::optional<int> AutomationInteger(std::string_view text);

}  // namespace orvane
