#include "platform/qt_shape_box.h"

#include <QPainter>

namespace orvane {

QtShapeBox::QtShapeBox(QWidget* parent, QColor fill, QColor border)
    : QWidget(parent), fill_(fill), border_(border) {}

void QtShapeBox::setFill(const QColor& fill) {
  fill_ = fill;
  update();
}

void QtShapeBox::setBorder(const QColor& border) {
  border_ = border;
  update();
}

void QtShapeBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), fill_);
  if (border_.alpha() == 0) return;
  p.setPen(border_);
  p.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace orvane
