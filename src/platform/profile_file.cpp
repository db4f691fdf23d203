#include "platform/profile_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/text.h"

namespace orvane {
namespace {

// A settings file holds nine short lines. Anything bigger than this is not
// ours: it reads as empty and is never rewritten, so a stray huge file is
// neither loaded into memory nor truncated by a save.
constexpr off_t kMaxProfileBytes = 1 << 20;

enum class Load { Missing, Ok, Refused };

// The raw bytes of a regular file of at most kMaxProfileBytes.
Load ReadWholeFile(const std::string& path, std::string& bytes, mode_t* mode) {
  bytes.clear();
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Load::Missing : Load::Refused;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > kMaxProfileBytes) {
    ::close(fd);
    return Load::Refused;
  }
  if (mode) *mode = st.st_mode & 07777;
  char buf[8192];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return Load::Refused;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
    if (bytes.size() > static_cast<std::size_t>(kMaxProfileBytes)) {  // grew while we read
      ::close(fd);
      return Load::Refused;
    }
  }
  ::close(fd);
  return Load::Ok;
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

bool IsGbkLead(unsigned char c) {
  return c >= 0x81 && c <= 0xFE;
}

// Names compare case-insensitively in ASCII, as the system's profile functions
// do; the trail byte of a double-byte character is compared exactly, because
// it may fall in the ASCII letter range.
bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (IsGbkLead(x) && i + 1 < a.size()) {
      if (x != y || a[i + 1] != b[i + 1]) return false;
      ++i;
      continue;
    }
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

struct Line {
  std::size_t begin = 0;  // byte offsets into the file, end without the '\n'
  std::size_t end = 0;
  std::size_t next = 0;  // start of the following line
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t nl = text.find('\n', pos);
    Line line;
    line.begin = pos;
    line.end = nl == std::string_view::npos ? text.size() : nl;
    line.next = nl == std::string_view::npos ? text.size() : nl + 1;
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

// "[name]" -> name; false for any other line.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  std::size_t close = line.find(']');
  name = Trim(line.substr(1, close == std::string_view::npos ? line.size() - 1 : close - 1));
  return true;
}

// "key=value" -> key and value; comment lines and lines without '=' are no keys.
bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '[') return false;
  std::size_t eq = t.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(t.substr(0, eq));
  value = Trim(t.substr(eq + 1));
  return true;
}

// Where a key sits in the file, or where a new one goes.
struct Place {
  bool sectionFound = false;
  bool keyFound = false;
  std::size_t keyLine = 0;   // index of the key's line
  std::size_t insertAt = 0;  // byte offset for a new key line
};

Place Locate(std::string_view text, const std::vector<Line>& lines, std::string_view section,
             std::string_view key) {
  Place place;
  bool inSection = false;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = text.substr(lines[i].begin, lines[i].end - lines[i].begin);
    std::string_view name;
    if (SectionName(line, name)) {
      if (inSection) break;  // the section ended; the key was not in it
      inSection = SameName(name, section);
      if (inSection) {
        place.sectionFound = true;
        place.insertAt = lines[i].next;
      }
      continue;
    }
    if (!inSection) continue;
    std::string_view k, v;
    if (KeyValue(line, k, v) && SameName(k, key)) {
      place.keyFound = true;
      place.keyLine = i;
      return place;
    }
    // A new key goes after the section's last non-blank line, not after the
    // blank lines that separate it from the next section.
    if (!Trim(line).empty()) place.insertAt = lines[i].next;
  }
  return place;
}

// Cuts a GBK value to the read buffer without splitting a double-byte character.
std::string_view CapValue(std::string_view v) {
  constexpr std::size_t cap = kProfileValueMax - 1;
  if (v.size() <= cap) return v;
  std::size_t i = 0;
  while (i < cap) {
    std::size_t step = IsGbkLead(static_cast<unsigned char>(v[i])) ? 2 : 1;
    if (i + step > cap) break;
    i += step;
  }
  return v.substr(0, i);
}

std::string DirectoryOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Writes a sibling temporary file and renames it over `path`, so a reader or a
// crash sees either the old file or the new one, never a mixture.
bool ReplaceFile(const std::string& path, std::string_view bytes, mode_t mode) {
  std::string tmp = path + ".XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) return false;
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(tmp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(tmp.c_str());
    return false;
  }
  int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);  // the rename itself survives a power cut
    ::close(dir);
  }
  return true;
}

// Values are single-line: a line break would start a new key in the file.
std::string OneLine(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

std::string ReadProfileString(const std::string& path, std::string_view section,
                              std::string_view key) {
  std::string bytes;
  if (ReadWholeFile(path, bytes, nullptr) != Load::Ok) return {};
  const std::string gbkSection = Utf8ToGbk(section);
  const std::string gbkKey = Utf8ToGbk(key);
  const std::vector<Line> lines = SplitLines(bytes);
  Place place = Locate(bytes, lines, gbkSection, gbkKey);
  if (!place.keyFound) return {};
  const Line& line = lines[place.keyLine];
  std::string_view k, v;
  KeyValue(std::string_view(bytes).substr(line.begin, line.end - line.begin), k, v);
  // Surrounding quotes of one kind are dropped, as the system's reader drops them.
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    v = v.substr(1, v.size() - 2);
  return GbkToUtf8(CapValue(v));
}

namespace {

// The file's bytes with one key set: the key's line replaced, or a new line at
// the end of its section, or a new section at the end of the file.
std::string WithKey(const std::string& bytes, bool existed, std::string_view section,
                    std::string_view key, std::string_view value) {
  const std::string gbkSection = Utf8ToGbk(OneLine(section));
  const std::string gbkKey = Utf8ToGbk(OneLine(key));
  const std::string gbkValue = Utf8ToGbk(OneLine(value));
  // Keep the file's own line ends; a new file gets the CR LF of earlier installs.
  const bool lf =
      existed && bytes.find('\n') != std::string::npos && bytes.find("\r\n") == std::string::npos;
  const std::string eol = lf ? "\n" : "\r\n";
  const std::string keyLine = gbkKey + "=" + gbkValue;

  const std::vector<Line> lines = SplitLines(bytes);
  Place place = Locate(bytes, lines, gbkSection, gbkKey);
  std::string out;
  out.reserve(bytes.size() + keyLine.size() + gbkSection.size() + 8);
  if (place.keyFound) {
    const Line& line = lines[place.keyLine];
    std::size_t end = line.end;
    if (end > line.begin && bytes[end - 1] == '\r') --end;  // keep the line's own CR
    out.append(bytes, 0, line.begin);
    out += keyLine;
    out.append(bytes, end, std::string::npos);
  } else if (place.sectionFound) {
    out.append(bytes, 0, place.insertAt);
    if (place.insertAt > 0 && bytes[place.insertAt - 1] != '\n') out += eol;
    out += keyLine + eol;
    out.append(bytes, place.insertAt, std::string::npos);
  } else {
    out = bytes;
    if (!out.empty() && out.back() != '\n') out += eol;
    out += "[" + gbkSection + "]" + eol + keyLine + eol;
  }
  return out;
}

}  // namespace

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  const std::pair<std::string_view, std::string_view> one[] = {{key, value}};
  return WriteProfileStrings(path, section, one);
}

bool WriteProfileStrings(const std::string& path, std::string_view section,
                         std::span<const std::pair<std::string_view, std::string_view>> keys) {
  std::string bytes;
  mode_t mode = 0644;
  Load load = ReadWholeFile(path, bytes, &mode);
  if (load == Load::Refused) return false;
  bool existed = load == Load::Ok;
  for (const auto& [key, value] : keys) {
    bytes = WithKey(bytes, existed, section, key, value);
    existed = true;
  }
  return ReplaceFile(path, bytes, mode);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string RunDirectory() {
  char buf[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return ".";
  std::string exe(buf, static_cast<std::size_t>(n));
  return DirectoryOf(exe);
}

}  // namespace orvane
