#pragma once
// The per-pixel-alpha surface of a window: holds the picture last pushed into
// it, paints it as it stands (alpha included) and limits the window's input
// to the picture's non-transparent pixels, so clicks on transparent parts go
// to the windows below.

#include <QImage>
#include <QObject>
#include <QRect>
#include <QRegion>
#include <QWidget>

namespace orvane {

class LayeredSurface : public QObject {
  Q_OBJECT

 public:
  // The surface of the window, made on first use.
  static LayeredSurface* Of(QWidget* window);

  // Takes the picture and repaints. Only `changed` differs from the last push
  // (a null rect means the whole picture); the input mask is rebuilt from it.
  void Push(const QImage& picture, const QRect& changed = QRect());

  const QImage& Picture() const { return picture_; }

  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  explicit LayeredSurface(QWidget* window);
  void UpdateInputMask(const QRect& changed);

  QWidget* window_;
  QImage picture_;
  QRegion input_;
};

// The region of the picture's pixels with alpha > 0 inside `area`.
QRegion OpaqueRegion(const QImage& picture, const QRect& area);

}  // namespace orvane
