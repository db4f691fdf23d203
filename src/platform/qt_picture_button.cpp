#include "platform/qt_picture_button.h"

#include <QFile>
#include <QPainter>
#include <QSvgRenderer>

namespace orvane {

QtPictureButton::QtPictureButton(QWidget* parent, const QString& svgResource,
                                 std::array<ButtonLook, 3> looks)
    : QAbstractButton(parent), looks_(looks) {
  QFile f(svgResource);
  if (f.open(QIODevice::ReadOnly)) svg_ = f.readAll();
  setAttribute(Qt::WA_Hover);
  setFocusPolicy(Qt::NoFocus);
}

QtPictureButton::State QtPictureButton::state() const {
  if (isDown()) return kPressed;
  if (underMouse()) return kHover;
  return kNormal;
}

QImage QtPictureButton::stateImage(State s) const {
  return StateImage(s, 1.0);
}

// Drawn at the screen's pixel density, so the pictures stay sharp on HiDPI.
QImage QtPictureButton::StateImage(State s, qreal dpr) const {
  QImage image((QSizeF(size()) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QByteArray svg = svg_;
  const ButtonLook& look = looks_[static_cast<std::size_t>(s)];
  svg.replace("@bg", look.bg).replace("@ring", look.ring).replace("@fg", look.fg);
  QSvgRenderer renderer(svg);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  renderer.render(&p, QRectF(QPointF(0, 0), QSizeF(image.size())));
  return image;
}

void QtPictureButton::paintEvent(QPaintEvent*) {
  const State s = state();
  const qreal dpr = devicePixelRatioF();
  QPixmap& pix = cache_[static_cast<std::size_t>(s)];
  if (pix.isNull() || pix.devicePixelRatio() != dpr ||
      pix.deviceIndependentSize() != QSizeF(size())) {
    pix = QPixmap::fromImage(StateImage(s, dpr));
    pix.setDevicePixelRatio(dpr);
  }
  QPainter p(this);
  p.drawPixmap(0, 0, pix);
}

void QtPictureButton::enterEvent(QEnterEvent* event) {
  QAbstractButton::enterEvent(event);
  update();
}

void QtPictureButton::leaveEvent(QEvent* event) {
  QAbstractButton::leaveEvent(event);
  update();
}

// A calm light theme around the accent green of the progress bar.
std::array<ButtonLook, 3> PrimaryButtonLooks() {
  return {{{"#1AD598", "none", "#FFFFFF"},
           {"#3FE0AC", "none", "#FFFFFF"},
           {"#12A877", "none", "#E9FFF6"}}};
}

std::array<ButtonLook, 3> RingButtonLooks() {
  return {{{"#FFFFFF", "#D5DDD9", "#56635D"},
           {"#EBFBF4", "#1AD598", "#12B07D"},
           {"#1AD598", "#1AD598", "#FFFFFF"}}};
}

std::array<ButtonLook, 3> SmallButtonLooks() {
  return {{{"none", "none", "#8E9993"},
           {"#EBFBF4", "none", "#14B883"},
           {"#D2F5E7", "none", "#0E9A6C"}}};
}

}  // namespace orvane
