#pragma once
// What one render leaves for the next. The line's outline is rasterised once
// into coverage masks (fill and 1-pixel stroke) over the text's own bounds,
// and the layers are composed from the masks into a sprite; a render of the
// same line in the same look only puts the sprite down again.

#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>
#include <cstdint>

namespace orvane {

struct GlyphCache {
  // What the masks were made for.
  QString text;
  QFont font;
  QSize window;
  int shadow_offset = -1;

  QRectF box;            // the text box in window coordinates
  QPointF baseline;      // where the line starts, in window coordinates
  QRect area;            // window pixels the masks cover
  QImage fill_mask;      // coverage of the filled path over `area` (white, premultiplied)
  QImage stroke_mask;    // coverage of the 1-pixel stroke; made on first need
  QImage scratch;        // a layer being tinted

  // What the sprite was made for.
  std::uint64_t look = 0;
  int percent = -1;
  bool sprite_ready = false;
  QRect sprite_rect;     // window pixels the sprite covers: `area` and its shadow
  QImage sprite;
};

}  // namespace orvane
