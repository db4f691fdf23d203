#pragma once
// Small fakes of the desktop services and the toolkit's HTTP GET.

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/desktop.h"
#include "platform/http_get.h"

namespace orvane {

class FakeScreen : public Screen {
 public:
  ScreenSize size{1366, 768};
  ScreenPoint pointer{683, 384};
  ScreenSize PrimarySize() const override { return size; }
  ScreenPoint Pointer() const override { return pointer; }
};

class FakeClipboard : public Clipboard {
 public:
  std::string text;
  int writes = 0;
  void SetText(std::string_view t) override {
    text = std::string(t);
    ++writes;
  }
  std::string Text() const override { return text; }
};

class FakeShell : public Shell {
 public:
  std::vector<std::string> opened;
  void OpenUrl(std::string_view url) override { opened.emplace_back(url); }
};

// Answers from a table of URL -> bytes; unknown URLs give empty bytes.
class FakeHttpGetter : public HttpGetter {
 public:
  std::map<std::string, std::string, std::less<>> bodies;
  std::vector<std::string> requested;
  std::string Get(std::string_view url) override {
    requested.emplace_back(url);
    auto it = bodies.find(url);
    return it == bodies.end() ? std::string() : it->second;
  }
};

}  // namespace orvane
