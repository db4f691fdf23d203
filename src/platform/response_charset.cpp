#include "platform/response_charset.h"

#include "platform/text.h"

namespace orvane {
namespace {

char Lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerCopy(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

bool IsCharsetNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.' ||
         c == ':';
}

}  // namespace

std::string CharsetOf(std::string_view contentType) {
  const std::string lower = LowerCopy(contentType);
  std::size_t at = 0;
  while ((at = lower.find("charset", at)) != std::string::npos) {
    // Only a parameter counts: "charset" right after ';' and blanks.
    std::size_t before = at;
    while (before > 0 && (lower[before - 1] == ' ' || lower[before - 1] == '\t')) --before;
    std::size_t i = at + 7;
    while (i < lower.size() && lower[i] == ' ') ++i;
    if (before == 0 || lower[before - 1] != ';' || i >= lower.size() || lower[i] != '=') {
      at += 7;
      continue;
    }
    ++i;
    while (i < lower.size() && lower[i] == ' ') ++i;
    if (i < lower.size() && lower[i] == '"') ++i;
    std::string name;
    while (i < lower.size() && IsCharsetNameChar(lower[i]) && name.size() < 40) name += lower[i++];
    return name;
  }
  return {};
}

std::string DecodeBody(std::string_view body, std::string_view contentType) {
  const std::string charset = CharsetOf(contentType);
  if (charset.empty() || charset == "utf-8" || charset == "utf8") return SanitizeUtf8(body);
  const bool gbFamily = charset == "gbk" || charset == "gb2312" || charset == "gb18030" ||
                        charset == "cp936" || charset == "x-gbk";
  std::string out;
  if (ConvertToUtf8(body, gbFamily ? "GB18030" : charset.c_str(), out)) return out;
  return SanitizeUtf8(body);
}

}  // namespace orvane
