// The settings-file reader over arbitrary bytes: the input is written as the
// file, then every key the program reads is looked up and one is written back.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string dir = [] {
    char tmpl[] = "/tmp/orvane-profile-fuzz-XXXXXX";
    const char* made = mkdtemp(tmpl);
    return std::string(made ? made : "/tmp");
  }();
  const std::string path = dir + "/gcsz.ini";
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  static const char* kKeys[] = {"字体型号",  "字体大小",  "字体加粗",  "字体选中", "字体下划线",
                                "文字颜色1", "文字颜色2", "文字颜色3", "文字渐变"};
  for (const char* key : kKeys) {
    const std::string v = orvane::ReadProfileString(path, "GECI", key);
    if (v.size() >= orvane::kProfileValueMax) __builtin_trap();
  }
  // A write replaces the file (with an fsync): only now and then, or the run crawls.
  if (size % 16 != 0) return 0;
  orvane::WriteProfileString(path, "GECI", "文字渐变", "1");
  if (orvane::ReadProfileString(path, "GECI", "文字渐变") != "1") __builtin_trap();
  return 0;
}
