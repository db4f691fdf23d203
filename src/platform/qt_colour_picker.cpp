#include "platform/qt_colour_picker.h"

#include <QColorDialog>
#include <QPainter>

namespace orvane {

QColor FromWindowsColour(std::int32_t value) {
  const auto v = static_cast<std::uint32_t>(value);
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

std::int32_t ToWindowsColour(const QColor& c) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(c.red()) |
                                   (static_cast<std::uint32_t>(c.green()) << 8) |
                                   (static_cast<std::uint32_t>(c.blue()) << 16));
}

QtColourPicker::QtColourPicker(QWidget* parent) : QAbstractButton(parent) {
  setAttribute(Qt::WA_Hover);
  setCursor(Qt::PointingHandCursor);
  QObject::connect(this, &QAbstractButton::clicked, this, [this] { Choose(); });
}

void QtColourPicker::setColour(std::int32_t value) {
  colour_ = value;
  update();
}

void QtColourPicker::Choose() {
  const QColor chosen = QColorDialog::getColor(FromWindowsColour(colour_), this);
  if (chosen.isValid()) setColour(ToWindowsColour(chosen));
}

void QtColourPicker::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF outer = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
  p.setPen(QPen(underMouse() ? QColor(26, 213, 152) : QColor(200, 206, 203), 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(outer, 3, 3);
  p.setPen(Qt::NoPen);
  p.setBrush(FromWindowsColour(colour_));
  p.drawRoundedRect(outer.adjusted(2.5, 2.5, -2.5, -2.5), 2, 2);
}

}  // namespace orvane
