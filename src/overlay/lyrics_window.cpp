// The window half of the overlay: the window, its procedure and its place.
#include "overlay/lyrics_window.h"

#include <QWindow>
#include <cmath>

#include "overlay/glyph_cache.h"
#include "overlay/layered_surface.h"
#include "overlay/overlay_window_proc.h"

namespace orvane {

LyricsWindow::LyricsWindow() = default;

// The window and its picture are left alone: they live as long as the
// process, and a copy that goes away must not take its source's window along.
LyricsWindow::~LyricsWindow() = default;

// A copy shares the window; its text, colours and look are its own.
LyricsWindow::LyricsWindow(const LyricsWindow& other) = default;
LyricsWindow& LyricsWindow::operator=(const LyricsWindow& other) = default;

std::unique_ptr<LyricsWindow> LyricsWindow::Copy() const {
  return std::make_unique<LyricsWindow>(*this);
}

bool LyricsWindow::Create(std::optional<int> width, std::optional<int> height) {
  if (IsCreated()) return false;
  RegisterLyricsWindowClass();
  const WorkArea area = DesktopWorkArea();
  width_ = width.value_or(area.right - area.left);
  height_ = height.value_or(150);
  // The work area's left edge is not added: with the default width the
  // window starts at screen x 0.
  const int x = static_cast<int>(std::trunc((area.right - area.left - width_) / 2.0));
  const int y = static_cast<int>(std::trunc(static_cast<double>(area.bottom - height_)));

  auto* window =
      new QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  window->setAttribute(Qt::WA_TranslucentBackground);
  window->setAttribute(Qt::WA_ShowWithoutActivating);
  window->setAttribute(Qt::WA_QuitOnClose, false);  // the main window decides when to quit
  // A close that gets through ends the window, as closing a window does on
  // the desktop; IsCreated then answers false.
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setWindowTitle(QString::fromUtf8(kWindowTitle));
  window->setGeometry(x, y, width_, height_);
  // Nothing catches the mouse until a picture has been pushed.
  window->setMask(QRegion(-1, -1, 1, 1));
  window->show();

  if (!Attach(window)) return false;
  SetDragMove(true);
  return true;
}

bool LyricsWindow::Attach(WindowHandle window) {
  if (window == nullptr || IsCreated()) return false;
  hwnd_ = window;
  OverlayWindowProc::Subclass(window);
  InitGraphics();
  return true;
}

void LyricsWindow::Destroy() {
  if (QWidget* window = hwnd_.data()) {
    OverlayWindowProc::Unsubclass(window);
    hwnd_ = nullptr;
    delete window;
  }
}

void LyricsWindow::Show() {
  if (hwnd_) hwnd_->show();
}

void LyricsWindow::Hide() {
  if (hwnd_) hwnd_->hide();
}

void LyricsWindow::MoveResize(std::optional<int> x, std::optional<int> y, std::optional<int> width,
                              std::optional<int> height, bool /*no_redraw*/) {
  if (!hwnd_) return;
  const QRect current = hwnd_->frameGeometry();
  // pos() is in the parent's coordinates for a child and on the screen for a
  // window, as the queries below report it.
  const QPoint corner = hwnd_->pos();
  const bool move = x.has_value() || y.has_value();
  const bool size = width.has_value() || height.has_value();
  if (move) hwnd_->move(x.value_or(corner.x()), y.value_or(corner.y()));
  if (size) hwnd_->resize(width.value_or(current.width()), height.value_or(current.height()));
}

int LyricsWindow::GetWidth() const {
  return hwnd_ ? hwnd_->frameGeometry().width() : 0;
}

int LyricsWindow::GetHeight() const {
  return hwnd_ ? hwnd_->frameGeometry().height() : 0;
}

int LyricsWindow::GetTop() const {
  return hwnd_ ? hwnd_->pos().y() : 0;
}

int LyricsWindow::GetLeft() const {
  return hwnd_ ? hwnd_->pos().x() : 0;
}

WindowHandle LyricsWindow::GetHandle() const {
  return IsCreated() ? hwnd_.data() : nullptr;
}

bool LyricsWindow::IsCreated() const {
  return !hwnd_.isNull();
}

void LyricsWindow::SetTopmost(bool on) {
  if (!hwnd_) return;
  Qt::WindowFlags flags = hwnd_->windowFlags();
  flags.setFlag(Qt::WindowStaysOnTopHint, on);
  // setWindowFlags would hide the window; change the flag in place instead.
  hwnd_->overrideWindowFlags(flags);
  if (QWindow* handle = hwnd_->windowHandle()) handle->setFlags(flags);
}

void LyricsWindow::SetDragMove(bool on) {
  if (hwnd_) hwnd_->setProperty(kPropHitMove, on ? 1 : 0);
}

void LyricsWindow::SetNoClose(bool on) {
  if (hwnd_) hwnd_->setProperty(kPropNoClose, on ? 1 : 0);
}

void LyricsWindow::ReservedHook1(std::int32_t) {}

void LyricsWindow::ReservedHook2(std::int32_t) {}

std::string LyricsWindow::TextUtf8() const {
  return text_.toStdString();
}

bool LyricsWindow::IsShown() const {
  return hwnd_ && hwnd_->isVisible();
}

void LyricsWindow::PushLayered(const QRect& changed) {
  if (!hwnd_) return;
  LayeredSurface::Of(hwnd_.data())->Push(picture_, changed);
}

}  // namespace orvane
