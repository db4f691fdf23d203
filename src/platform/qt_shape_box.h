#pragma once
// A shape box: a filled rectangle that may hold other controls.

#include <QColor>
#include <QWidget>

namespace orvane {

class QtShapeBox : public QWidget {
 public:
  explicit QtShapeBox(QWidget* parent, QColor fill = Qt::white, QColor border = Qt::transparent);
  void setFill(const QColor& fill);
  void setBorder(const QColor& border);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_;
  QColor border_;
};

}  // namespace orvane
