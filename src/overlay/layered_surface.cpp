#include "overlay/layered_surface.h"

#include <QPaintEvent>
#include <QPainter>
#include <cstring>
#include <vector>

namespace orvane {

LayeredSurface::LayeredSurface(QWidget* window) : QObject(window), window_(window) {
  window->installEventFilter(this);
}

LayeredSurface* LayeredSurface::Of(QWidget* window) {
  auto* surface = window->findChild<LayeredSurface*>(QString(), Qt::FindDirectChildrenOnly);
  return surface != nullptr ? surface : new LayeredSurface(window);
}

void LayeredSurface::Push(const QImage& picture, const QRect& changed) {
  QRect area = changed.isNull() ? picture.rect() : changed.intersected(picture.rect());
  if (picture_.size() != picture.size() || picture_.format() != picture.format()) {
    // A new size: the surface takes a picture of its own, so the caller can
    // go on drawing into its buffer without a copy on write.
    picture_ = picture.copy();
    area = picture.rect();
  } else if (!area.isEmpty()) {
    const int bytes = area.width() * 4;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      std::memcpy(picture_.scanLine(y) + area.left() * 4,
                  picture.constScanLine(y) + area.left() * 4, bytes);
    }
  }
  UpdateInputMask(area);
  window_->update(area);
}

void LayeredSurface::UpdateInputMask(const QRect& changed) {
  QRegion input = input_.subtracted(QRegion(changed)).united(OpaqueRegion(picture_, changed));
  // The same line again leaves the mask as it is: no round trip to the display.
  if (input == input_ && !window_->mask().isEmpty()) return;
  input_ = std::move(input);
  if (input_.isEmpty()) {
    // An empty mask would mean "no mask": the whole window would catch the
    // mouse. A region outside the window lets every click through.
    window_->setMask(QRegion(-1, -1, 1, 1));
  } else {
    window_->setMask(input_);
  }
}

bool LayeredSurface::eventFilter(QObject* watched, QEvent* event) {
  if (watched != window_ || event->type() != QEvent::Paint || picture_.isNull()) return false;
  QPainter painter(window_);
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  for (const QRect& rect : static_cast<QPaintEvent*>(event)->region()) {
    painter.drawImage(rect, picture_, rect);
  }
  return true;
}

QRegion OpaqueRegion(const QImage& picture, const QRect& area) {
  const QRect bounds = area.intersected(picture.rect());
  std::vector<QRect> runs;
  for (int y = bounds.top(); y <= bounds.bottom(); ++y) {
    const auto* row = reinterpret_cast<const quint32*>(picture.constScanLine(y));
    int x = bounds.left();
    const int end = bounds.right() + 1;
    while (x < end) {
      while (x < end && (row[x] >> 24) == 0) ++x;
      const int start = x;
      while (x < end && (row[x] >> 24) != 0) ++x;
      if (x > start) runs.emplace_back(start, y, x - start, 1);
    }
  }
  QRegion region;
  if (!runs.empty()) region.setRects(runs.data(), static_cast<int>(runs.size()));
  return region;
}

}  // namespace orvane
