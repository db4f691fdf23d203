#include "platform/qt_indicator.h"

#include <array>
#include <cmath>
#include <numbers>

namespace orvane {

void PaintIndicatorFrame(QPainter& painter, const QRectF& box, int frame) {
  // Whole cycles per loop, so the last frame flows into the first.
  constexpr std::array<int, 4> cycles{2, 3, 1, 2};
  constexpr std::array<double, 4> phase{0.0, 1.9, 0.8, 3.6};
  const double sx = box.width() / 20.0;
  const double sy = box.height() / 20.0;
  const double t = static_cast<double>(frame % kIndicatorFrames) / kIndicatorFrames;
  painter.save();
  painter.setPen(Qt::NoPen);
  painter.setRenderHint(QPainter::Antialiasing);
  for (std::size_t i = 0; i < cycles.size(); ++i) {
    const double wave = 0.5 + 0.5 * std::sin(2 * std::numbers::pi * cycles[i] * t + phase[i]);
    const double h = 4.0 + 11.0 * wave;
    const QRectF bar(box.left() + (3.0 + 4.0 * static_cast<double>(i)) * sx,
                     box.top() + (17.0 - h) * sy, 2.6 * sx, h * sy);
    painter.setBrush(i % 2 == 0 ? QColor(26, 213, 152) : QColor(20, 184, 132));
    painter.drawRoundedRect(bar, 1.1 * sx, 1.1 * sx);
  }
  painter.restore();
}

}  // namespace orvane
