#include "platform/qt_desktop.h"

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <ctime>

#include "platform/text.h"

namespace orvane {
namespace {

constexpr long long kPointerReuseNs = 1'000'000;

long long MonotonicNs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<long long>(t.tv_sec) * 1'000'000'000LL + t.tv_nsec;
}

}  // namespace

ScreenSize QtDesktop::PrimarySize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QSize s = screen->geometry().size();
  return {s.width(), s.height()};
}

ScreenPoint QtDesktop::Pointer() const {
  if (pointerOverride_) return *pointerOverride_;
  const long long now = MonotonicNs();
  if (lastPointerNs_ >= 0 && now - lastPointerNs_ < kPointerReuseNs) return lastPointer_;
  const QPoint p = QCursor::pos();
  lastPointer_ = {p.x(), p.y()};
  lastPointerNs_ = now;
  return lastPointer_;
}

void QtDesktop::SetText(std::string_view text) {
  if (QClipboard* c = QGuiApplication::clipboard())
    c->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::string QtDesktop::Text() const {
  QClipboard* c = QGuiApplication::clipboard();
  return c ? c->text().toStdString() : std::string();
}

void QtDesktop::OpenUrl(std::string_view url) {
  // Album paths keep the service's JSON escapes; the browser wants the plain URL.
  const std::string plain = UndoJsonSlashes(url);
  if (recordOnly_) {
    opened_.push_back(plain);
    return;
  }
  QDesktopServices::openUrl(QUrl(QString::fromStdString(plain)));
}

}  // namespace orvane
