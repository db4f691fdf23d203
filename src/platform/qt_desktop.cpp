#include "platform/qt_desktop.h"

#include <QClipboard>
#include <QCursor>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

#include "platform/text.h"

namespace orvane {

ScreenSize QtDesktop::PrimarySize() const {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return {};
  const QSize s = screen->geometry().size();
  return {s.width(), s.height()};
}

ScreenPoint QtDesktop::Pointer() const {
  if (pointerOverride_) return *pointerOverride_;
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
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
