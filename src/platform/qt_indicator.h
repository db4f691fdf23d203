#pragma once
// The playing indicator: a small equaliser of four bars in the accent colour,
// 103 frames in a seamless loop.

#include <QPainter>
#include <QRectF>

namespace orvane {

inline constexpr int kIndicatorFrames = 103;
inline constexpr int kIndicatorFrameMs = 35;

void PaintIndicatorFrame(QPainter& painter, const QRectF& box, int frame);

}  // namespace orvane
