#include "platform/qt_picture_box.h"

#include <QPainter>
#include <QSvgRenderer>

namespace orvane {

QtPictureBox::QtPictureBox(QWidget* parent) : QWidget(parent) {
  QObject::connect(&timer_, &QTimer::timeout, this, [this] {
    if (frames_ <= 0) return;
    frame_ = (frame_ + 1) % frames_;
    update();
  });
}

QtPictureBox::~QtPictureBox() = default;

void QtPictureBox::clear() {
  image_ = QImage();
  svg_.reset();
  framePainter_ = nullptr;
  frames_ = 0;
  frame_ = 0;
  timer_.stop();
  update();
}

void QtPictureBox::setImage(const QImage& image) {
  clear();
  image_ = image;
  update();
}

void QtPictureBox::setSvg(const QString& resource) {
  clear();
  svg_ = std::make_unique<QSvgRenderer>(resource);
  if (!svg_->isValid()) svg_.reset();
  update();
}

void QtPictureBox::setAnimation(FramePainter painter, int frames, int frameMs) {
  clear();
  framePainter_ = std::move(painter);
  frames_ = frames;
  timer_.setInterval(frameMs);
  update();
}

bool QtPictureBox::hasPicture() const {
  return !image_.isNull() || svg_ != nullptr || framePainter_ != nullptr;
}

void QtPictureBox::setAnimationRunning(bool running) {
  if (!framePainter_) return;
  if (running == timer_.isActive()) return;
  if (running) {
    timer_.start();
  } else {
    timer_.stop();
    frame_ = 0;
    update();
  }
}

void QtPictureBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  const QRectF box = rect();
  if (!image_.isNull()) {
    p.drawImage(box, image_);
  } else if (svg_) {
    svg_->render(&p, box);
  } else if (framePainter_) {
    p.fillRect(box, Qt::white);
    framePainter_(p, box, frame_);
  }
}

}  // namespace orvane
