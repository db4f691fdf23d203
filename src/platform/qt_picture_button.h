#pragma once
// A picture button: one image for each state (normal, under the pointer,
// pressed), drawn from an SVG template whose colour tokens (@bg, @ring, @fg)
// each state fills in.

#include <QAbstractButton>
#include <QByteArray>
#include <QPixmap>
#include <array>

namespace orvane {

struct ButtonLook {
  const char* bg;
  const char* ring;
  const char* fg;
};

class QtPictureButton : public QAbstractButton {
 public:
  enum State { kNormal = 0, kHover = 1, kPressed = 2 };

  QtPictureButton(QWidget* parent, const QString& svgResource, std::array<ButtonLook, 3> looks);

  State state() const;
  // The picture of a state at the button's size (for tests and the driver).
  QImage stateImage(State state) const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QImage StateImage(State state, qreal dpr) const;
  QByteArray svg_;
  std::array<ButtonLook, 3> looks_;
  mutable std::array<QPixmap, 3> cache_;
};

// The looks of the player's buttons.
std::array<ButtonLook, 3> PrimaryButtonLooks();  // pause, continue
std::array<ButtonLook, 3> RingButtonLooks();     // next, similar songs
std::array<ButtonLook, 3> SmallButtonLooks();    // settings, volume, lyrics

}  // namespace orvane
