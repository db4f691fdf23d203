#pragma once
// What one render of a line leaves for the next, keyed by the line and font.

#include <QFont>
#include <QPainterPath>
#include <QString>

namespace orvane {

struct GlyphCache {
  QString text;
  QFont font;
  QSizeF measured;     // the line's width and height
  float ascent = 0;    // baseline below the box top
  QPainterPath path;   // the line's outline with the box's top left at (0, 0)
};

}  // namespace orvane
