#pragma once
// The horizontal volume slider; reports a release of the left button anywhere
// on it (a click on the groove included, not only a release of the thumb).

#include <QSlider>
#include <functional>

namespace orvane {

class QtSlider : public QSlider {
 public:
  explicit QtSlider(QWidget* parent);
  std::function<void()> onLeftReleased;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
};

}  // namespace orvane
