#pragma once
// A minimal one-line JSON writer for the driver's dump.

#include <string>
#include <string_view>

namespace orvane::drive {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view value);
  JsonWriter& Int(long long value);
  JsonWriter& Double(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();
  const std::string& str() const { return out_; }

 private:
  void Separate();
  std::string out_;
  bool needComma_ = false;
};

std::string JsonEscape(std::string_view text);

}  // namespace orvane::drive
