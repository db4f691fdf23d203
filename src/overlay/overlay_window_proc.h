#pragma once
// The overlay's window procedure: an event filter installed in place of the
// window's own handling. It hands a left press to the window system's move
// loop, refuses close requests while "Nimbra_NoClose" is set and lifts that
// refusal when the desktop session ends. The window properties are read on
// every event, so a change takes effect at once.

#include <QObject>
#include <QVariant>
#include <QWidget>

namespace orvane {

// The procedure a window has before the overlay takes it over: leaves every
// event to the window's own handling. Its address is what
// "Nimbra_PrevWndProc" holds for windows that had no other procedure.
class DefaultWindowProc : public QObject {
  Q_OBJECT

 public:
  static DefaultWindowProc* Instance();
  bool eventFilter(QObject* watched, QEvent* event) override;
};

class OverlayWindowProc : public QObject {
  Q_OBJECT

 public:
  // Takes the window over unless it already carries "Nimbra_PrevWndProc";
  // answers whether it did.
  static bool Subclass(QWidget* window);
  // Puts the previous procedure back and clears "Nimbra_PrevWndProc".
  static void Unsubclass(QWidget* window);

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit OverlayWindowProc(QWidget* window);
  // Passes the event to the procedure stored in "Nimbra_PrevWndProc".
  bool PassOn(QWidget* window, QEvent* event);
};

// The procedure object a "Nimbra_PrevWndProc" value names, or none. Values
// are ids of live procedure objects, never raw addresses, so a stale value
// names nothing.
QObject* ProcFromProperty(const QVariant& value);
qulonglong ProcId(QObject* proc);

// Hands the move to the window system; tests stand in for it, since the
// offscreen platform has no move loop. Returns whether a move started.
using SystemMoveStarter = bool (*)(QWidget* window);
void SetSystemMoveStarter(SystemMoveStarter starter);

}  // namespace orvane
