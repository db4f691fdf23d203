#pragma once
// The desktop services on Qt, in one object that is the Screen, the
// Clipboard and the Shell of the handlers: the primary screen and the pointer
// (QGuiApplication::primaryScreen(), QCursor::pos()), the clipboard
// (QClipboard) and the default browser (QDesktopServices::openUrl).
//
// For the driver and tests: in record-only mode OpenUrl keeps the URLs and
// opens nothing; a pointer override stands in for the real pointer (a
// display without a mouse, or a scripted run).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop.h"

namespace orvane {

class QtDesktop : public Screen, public Clipboard, public Shell {
 public:
  explicit QtDesktop(bool recordOnlyShell = false) : recordOnly_(recordOnlyShell) {}

  // Screen: no allocation on either read. On X11 a pointer query is a round
  // trip to the display server, so one answer serves the reads of the next
  // millisecond: the eight docking rules of one tick share one query instead
  // of making eight.
  ScreenSize PrimarySize() const override;
  ScreenPoint Pointer() const override;

  // Clipboard
  void SetText(std::string_view text) override;
  std::string Text() const override;

  // Shell
  void OpenUrl(std::string_view url) override;

  // The URLs OpenUrl was given in record-only mode, JSON slash escapes undone.
  const std::vector<std::string>& OpenedUrls() const { return opened_; }

  void SetPointerOverride(int x, int y) { pointerOverride_ = ScreenPoint{x, y}; }
  void ClearPointerOverride() { pointerOverride_.reset(); }

 private:
  bool recordOnly_;
  std::vector<std::string> opened_;
  std::optional<ScreenPoint> pointerOverride_;
  mutable ScreenPoint lastPointer_;
  mutable long long lastPointerNs_ = -1;
};

}  // namespace orvane
