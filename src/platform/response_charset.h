#pragma once
// Turning a response body into the program's UTF-8 text by the charset its
// Content-Type declares.

#include <string>
#include <string_view>

namespace orvane {

// The charset parameter of a Content-Type value, lower case, without quotes;
// empty when none is declared (or when it is not a plausible charset name).
std::string CharsetOf(std::string_view contentType);

// The body as valid UTF-8: UTF-8 when no charset is declared, the GB family
// (gbk, gb2312, gb18030) read as GB18030, any other charset iconv knows
// converted, an unknown one read as UTF-8. Bytes that do not decode become
// U+FFFD (or '?' where iconv replaces them).
std::string DecodeBody(std::string_view body, std::string_view contentType);

}  // namespace orvane
