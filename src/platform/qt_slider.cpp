#include "platform/qt_slider.h"

#include <QMouseEvent>

namespace orvane {

QtSlider::QtSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {}

void QtSlider::mouseReleaseEvent(QMouseEvent* event) {
  const bool left = event->button() == Qt::LeftButton;
  QSlider::mouseReleaseEvent(event);  // the slider settles its position first
  if (left && onLeftReleased) {
    auto handler = onLeftReleased;
    handler();
  }
}

}  // namespace orvane
