#include "json_writer.h"

#include <cmath>
#include <cstdio>

#include "platform/text.h"

namespace orvane::drive {

std::string JsonEscape(std::string_view raw) {
  const std::string text = SanitizeUtf8(raw);
  std::string out;
  out.reserve(text.size() + 2);
  out.push_back('"');
  for (char ch : text) {
    unsigned char c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out.push_back(ch);
        }
    }
  }
  out.push_back('"');
  return out;
}

void JsonWriter::Separate() {
  if (needComma_) out_.push_back(',');
  needComma_ = true;
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  out_.push_back('{');
  needComma_ = false;
  return *this;
}
JsonWriter& JsonWriter::EndObject() {
  out_.push_back('}');
  needComma_ = true;
  return *this;
}
JsonWriter& JsonWriter::BeginArray() {
  Separate();
  out_.push_back('[');
  needComma_ = false;
  return *this;
}
JsonWriter& JsonWriter::EndArray() {
  out_.push_back(']');
  needComma_ = true;
  return *this;
}
JsonWriter& JsonWriter::Key(std::string_view key) {
  Separate();
  out_ += JsonEscape(key);
  out_.push_back(':');
  needComma_ = false;
  return *this;
}
JsonWriter& JsonWriter::String(std::string_view v) {
  Separate();
  out_ += JsonEscape(v);
  return *this;
}
JsonWriter& JsonWriter::Int(long long v) {
  Separate();
  out_ += std::to_string(v);
  return *this;
}
JsonWriter& JsonWriter::Double(double v) {
  Separate();
  if (!std::isfinite(v)) {
    out_ += "null";
    return *this;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  out_ += buf;
  return *this;
}
JsonWriter& JsonWriter::Bool(bool v) {
  Separate();
  out_ += v ? "true" : "false";
  return *this;
}
JsonWriter& JsonWriter::Null() {
  Separate();
  out_ += "null";
  return *this;
}

}  // namespace orvane::drive
