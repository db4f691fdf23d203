#pragma once
// A label as the player draws them: solid background, one font, one colour,
// no word wrap. A single line is centred vertically; several lines (CR LF or
// LF) stack from the top at one line per character height, so caption rows
// line up with the controls beside them.

#include <QColor>
#include <QString>
#include <QWidget>

namespace orvane {

class QtLabel : public QWidget {
 public:
  explicit QtLabel(QWidget* parent);

  QString text() const { return text_; }
  void setText(const QString& text);
  void setTextColour(const QColor& c);
  void setRightAligned(bool right);
  void setBackground(const QColor& c);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString text_;
  QColor colour_{0, 0, 0};
  QColor background_{Qt::white};
  bool right_ = false;
};

}  // namespace orvane
