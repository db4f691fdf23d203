#pragma once
// A picture box: an image stretched to the box, a vector picture drawn at the
// box's size, or an animation of painted frames that can be started and
// stopped (a stopped animation shows its first frame).

#include <QImage>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QSvgRenderer;

namespace orvane {

class QtPictureBox : public QWidget {
 public:
  using FramePainter = std::function<void(QPainter&, const QRectF&, int frame)>;

  explicit QtPictureBox(QWidget* parent);
  ~QtPictureBox() override;

  void setImage(const QImage& image);  // a null image clears the box
  void setSvg(const QString& resource);
  void setAnimation(FramePainter painter, int frames, int frameMs);
  void clear();
  bool hasPicture() const;

  void setAnimationRunning(bool running);
  bool animationRunning() const { return timer_.isActive(); }
  int frame() const { return frame_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
  std::unique_ptr<QSvgRenderer> svg_;
  FramePainter framePainter_;
  int frames_ = 0;
  int frame_ = 0;
  QTimer timer_;
};

}  // namespace orvane
