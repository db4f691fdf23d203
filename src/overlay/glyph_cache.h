#pragma once
// What one render leaves for the next. The layers of a line are composed
// once into a sprite over the text's own bounds: the fills from the font
// engine's glyph cache, the strokes from the line's path. A render of the
// same line in the same look only puts the sprite down again.

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <cstdint>

namespace orvane {

struct GlyphCache {
  // What the layout below was made for.
  QString text;
  QFont font;
  QSize window;
  int shadow_offset = -1;

  QRectF box;         // the text box in window coordinates
  QPointF baseline;   // where the line starts, in window coordinates
  QRect area;         // window pixels the line and its stroke can cover
  QPainterPath path;  // the line's outline, for the strokes; made on first need

  // What the sprite was made for.
  std::uint64_t look = 0;
  int percent = -1;
  bool sprite_ready = false;
  QRect sprite_rect;  // window pixels the sprite covers: `area` and its shadow
  QImage sprite;
};

}  // namespace orvane
