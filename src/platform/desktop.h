#pragma once
// The few desktop services outside the main window: the primary screen and the
// pointer (edge docking), the clipboard and the default browser. Real ones are
// in qt_desktop.h; tests use the fakes in tests/support/fakes.h.

#include <string>
#include <string_view>

namespace orvane {

struct ScreenPoint {
  int x = 0;
  int y = 0;
};

struct ScreenSize {
  int width = 0;
  int height = 0;
};

class Screen {
 public:
  virtual ~Screen() = default;
  // Size of the primary screen in pixels. Must not allocate: called 10 times a second.
  virtual ScreenSize PrimarySize() const = 0;
  // The pointer in screen coordinates. Must not allocate.
  virtual ScreenPoint Pointer() const = 0;
};

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  // Replaces the clipboard's content with plain text (UTF-8).
  virtual void SetText(std::string_view text) = 0;
  virtual std::string Text() const = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // Opens the URL in the user's default browser; failures are silent.
  virtual void OpenUrl(std::string_view url) = 0;
};

}  // namespace orvane
