#include "platform/qt_label.h"

#include <QPainter>
#include <QStringList>

namespace orvane {

QtLabel::QtLabel(QWidget* parent) : QWidget(parent) {}

void QtLabel::setText(const QString& text) {
  if (text == text_) return;
  text_ = text;
  update();
}

void QtLabel::setTextColour(const QColor& c) {
  colour_ = c;
  update();
}

void QtLabel::setRightAligned(bool right) {
  right_ = right;
  update();
}

void QtLabel::setBackground(const QColor& c) {
  background_ = c;
  update();
}

void QtLabel::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), background_);
  p.setPen(colour_);
  p.setFont(font());
  const int horizontal = right_ ? Qt::AlignRight : Qt::AlignLeft;
  QString normalised = text_;
  normalised.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  const QStringList lines = normalised.split(QLatin1Char('\n'));
  if (lines.size() <= 1) {
    p.drawText(rect(), horizontal | Qt::AlignVCenter | Qt::TextSingleLine, normalised);
    return;
  }
  const int pitch = font().pixelSize() > 0 ? font().pixelSize() : fontMetrics().height();
  const int lineHeight = fontMetrics().height();
  int top = 0;
  for (const QString& line : lines) {
    // Each line is centred on its pitch row, so tall font metrics do not push
    // the rows apart.
    QRect row(0, top - (lineHeight - pitch) / 2, width(), lineHeight);
    p.drawText(row, horizontal | Qt::AlignVCenter | Qt::TextSingleLine, line);
    top += pitch;
  }
}

}  // namespace orvane
