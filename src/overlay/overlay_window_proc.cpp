#include "overlay/overlay_window_proc.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QWindow>

#include "overlay/lyrics_window.h"

namespace orvane {
namespace {

// Live procedure objects by id. Id 0 means "none".
QHash<qulonglong, QPointer<QObject>>& Registry() {
  static QHash<qulonglong, QPointer<QObject>> registry;
  return registry;
}

qulonglong Register(QObject* proc) {
  static qulonglong next_id = 1;
  const qulonglong id = next_id++;
  Registry().insert(id, proc);
  return id;
}

bool StartRealSystemMove(QWidget* window) {
  QWindow* handle = window->windowHandle();
  return handle != nullptr && handle->startSystemMove();
}

SystemMoveStarter g_move_starter = &StartRealSystemMove;

bool PropertyOn(const QObject* window, const char* name) {
  return window->property(name).toLongLong() != 0;
}

}  // namespace

DefaultWindowProc* DefaultWindowProc::Instance() {
  static DefaultWindowProc* instance = [] {
    auto* proc = new DefaultWindowProc;
    // Dies with the application, after every window.
    if (QCoreApplication::instance() != nullptr) proc->setParent(QCoreApplication::instance());
    Register(proc);
    return proc;
  }();
  return instance;
}

bool DefaultWindowProc::eventFilter(QObject*, QEvent*) {
  return false;
}

QObject* ProcFromProperty(const QVariant& value) {
  const qulonglong id = value.toULongLong();
  if (id == 0) return nullptr;
  return Registry().value(id).data();
}

qulonglong ProcId(QObject* proc) {
  for (auto it = Registry().cbegin(); it != Registry().cend(); ++it) {
    if (it.value() == proc) return it.key();
  }
  return 0;
}

void SetSystemMoveStarter(SystemMoveStarter starter) {
  g_move_starter = starter != nullptr ? starter : &StartRealSystemMove;
}

OverlayWindowProc::OverlayWindowProc(QWidget* window) : QObject(window) {
  Register(this);
}

bool OverlayWindowProc::Subclass(QWidget* window) {
  if (window->property(kPropPrevWndProc).toULongLong() != 0) return false;
  auto* proc = new OverlayWindowProc(window);
  window->setProperty(kPropPrevWndProc, ProcId(DefaultWindowProc::Instance()));
  window->installEventFilter(proc);
  return true;
}

void OverlayWindowProc::Unsubclass(QWidget* window) {
  for (OverlayWindowProc* proc :
       window->findChildren<OverlayWindowProc*>(Qt::FindDirectChildrenOnly)) {
    window->removeEventFilter(proc);
    Registry().remove(ProcId(proc));
    delete proc;
  }
  QObject* previous = ProcFromProperty(window->property(kPropPrevWndProc));
  if (previous != nullptr && previous != DefaultWindowProc::Instance()) {
    window->installEventFilter(previous);
  }
  window->setProperty(kPropPrevWndProc, 0);
}

bool OverlayWindowProc::PassOn(QWidget* window, QEvent* event) {
  QObject* previous = ProcFromProperty(window->property(kPropPrevWndProc));
  return previous != nullptr && previous != this && previous->eventFilter(window, event);
}

bool OverlayWindowProc::eventFilter(QObject* watched, QEvent* event) {
  auto* window = qobject_cast<QWidget*>(watched);
  if (window == nullptr) return false;
  if (event->type() == QEvent::MouseButtonPress) {
    auto* press = static_cast<QMouseEvent*>(event);
    if (press->button() != Qt::LeftButton || !PropertyOn(window, kPropHitMove)) {
      return PassOn(window, event);
    }
    // The window sees its press before the move loop takes the pointer.
    const bool handled = PassOn(window, event);
    if (!handled) static_cast<QObject*>(window)->event(event);
    g_move_starter(window);
    return true;
  }
  if (event->type() == QEvent::Close) {
    if (PropertyOn(window, kPropNoClose)) {
      event->ignore();
      return true;
    }
    return PassOn(window, event);
  }
  if (event->type() == QueryEndSessionEventType()) {
    window->setProperty(kPropNoClose, 0);
    return PassOn(window, event);
  }
  return PassOn(window, event);
}

QEvent::Type QueryEndSessionEventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void EndDesktopSession() {
  QList<QPointer<QObject>> procs = Registry().values();
  for (const QPointer<QObject>& proc : procs) {
    auto* overlay = qobject_cast<OverlayWindowProc*>(proc.data());
    if (overlay == nullptr) continue;
    auto* window = qobject_cast<QWidget*>(overlay->parent());
    if (window == nullptr) continue;
    QEvent event(QueryEndSessionEventType());
    QCoreApplication::sendEvent(window, &event);
  }
}

}  // namespace orvane
