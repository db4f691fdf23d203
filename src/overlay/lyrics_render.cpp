// The drawing half of the overlay: the look, and the line drawn into the
// window's picture.
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <cstring>

#include "overlay/glyph_cache.h"
#include "overlay/lyrics_window.h"

namespace orvane {
namespace {

constexpr std::string_view kFamilyFallbacks = ";微软雅黑;楷体;黑体;宋体;Tahoma";

QColor Colour(std::uint32_t argb) {
  return QColor::fromRgba(argb);
}

std::optional<QPen> OutlinePen(std::int32_t outline) {
  if (outline == -1) return std::nullopt;
  QPen pen(Colour(ToArgb(outline)));
  pen.setWidthF(1.0);
  return pen;
}

}  // namespace

void LyricsWindow::InitGraphics() {
  if (graphics_ready_) return;
  graphics_ready_ = true;
  string_format_ = TextLayout{};
  SetFont("", 50, true);
  SetBackground(0, 0);
  SetShadow(0, 150, 2);
  SetTextStyle(65251, 45363, 0, 1);
  SetHighlightStyle(1344510, 65535, 0, 1);
}

void LyricsWindow::SetFont(std::string_view family, int size, bool bold, bool italic,
                           bool underline) {
  const int style = (bold ? 1 : 0) | (italic ? 2 : 0) | (underline ? 4 : 0);
  std::string families(family);
  families += kFamilyFallbacks;
  // Whatever the names, a line always draws: the desktop's own font ends it.
  families.push_back(';');
  families.append(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family().toStdString());
  font_ = CreateFontFromList(families, static_cast<float>(size), style);
  if (font_) {
    font_family_ = font_->family();
    font_size_ = static_cast<float>(font_->pixelSize());
    font_style_ =
        (font_->bold() ? 1 : 0) | (font_->italic() ? 2 : 0) | (font_->underline() ? 4 : 0);
  }
  LookChanged();
}

void LyricsWindow::SetBackground(std::int32_t colour, std::int32_t alpha, bool redraw) {
  background_brush_.reset();
  if (alpha > 0) background_brush_ = QBrush(Colour(ToArgb(colour, alpha, true)));
  if (redraw && IsCreated()) Render();
}

void LyricsWindow::SetShadow(std::int32_t colour, std::int32_t alpha, std::int32_t offset,
                             bool redraw) {
  shadow_brush_.reset();
  shadow_offset_ = std::max(0, offset);
  if (alpha > 0 && shadow_offset_ > 0) shadow_brush_ = QBrush(Colour(ToArgb(colour, alpha, true)));
  LookChanged();
  if (redraw && IsCreated()) Render();
}

void LyricsWindow::SetTextStyle(std::int32_t colour1, std::int32_t colour2, std::int32_t outline,
                                std::int32_t mode) {
  text_outline_pen_ = OutlinePen(outline);
  text_colours_ = {ToArgb(colour1), ToArgb(colour2)};
  text_gradient_mode_ = mode;
  LookChanged();
}

void LyricsWindow::SetHighlightStyle(std::int32_t colour1, std::int32_t colour2,
                                     std::int32_t outline, std::int32_t mode) {
  highlight_outline_pen_ = OutlinePen(outline);
  highlight_colours_ = {ToArgb(colour1), ToArgb(colour2)};
  highlight_gradient_mode_ = mode;
  LookChanged();
}

void LyricsWindow::SetText(std::string_view line, std::optional<int> percent) {
  text_ = ToWide(line);
  highlight_percent_ = std::clamp(percent.value_or(0), 0, 100);
  Render();
}

void LyricsWindow::Render() {
  if (width_ <= 0 || height_ <= 0) return;
  // One buffer for the life of the window; each render must still start from
  // a fully transparent picture, so what the last one painted is cleared.
  QRect changed = painted_;
  if (picture_.size() != QSize(width_, height_)) {
    picture_ = QImage(width_, height_, QImage::Format_ARGB32_Premultiplied);
    picture_.fill(Qt::transparent);
    changed = picture_.rect();
  } else if (!painted_.isEmpty()) {
    for (int y = painted_.top(); y <= painted_.bottom(); ++y) {
      std::memset(picture_.scanLine(y) + painted_.left() * 4, 0,
                  static_cast<std::size_t>(painted_.width()) * 4);
    }
  }
  painted_ = QRect();
  {
    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintBackground(painter);
    PaintText(painter);
  }
  PushLayered(changed.united(painted_));
}

void LyricsWindow::PaintBackground(QPainter& painter) {
  if (!background_brush_) return;
  painter.fillRect(QRectF(0, 0, width_, height_), *background_brush_);
  painted_ = QRect(0, 0, width_, height_);
}

QRectF LyricsWindow::MeasureTextBox() const {
  QSizeF measured;
  if (font_) {
    const QFontMetricsF metrics(*font_);
    measured = QSizeF(metrics.horizontalAdvance(text_), metrics.height());
  }
  return QRectF((width_ - measured.width()) / 2, (height_ - measured.height()) / 2,
                measured.width(), measured.height());
}

void LyricsWindow::LookChanged() {
  static std::uint64_t next_look = 0;
  look_ = ++next_look;
}

GlyphCache& LyricsWindow::Glyphs() {
  if (!cache_) cache_ = std::make_shared<GlyphCache>();
  GlyphCache& glyphs = *cache_;
  const QSize window(width_, height_);
  if (glyphs.text == text_ && glyphs.font == *font_ && glyphs.window == window &&
      glyphs.shadow_offset == shadow_offset_) {
    return glyphs;
  }
  // The buffers stay: they are the window's size whatever the line.
  QImage sprite = std::move(glyphs.sprite);
  glyphs = GlyphCache{};
  if (sprite.size() == window) glyphs.sprite = std::move(sprite);
  glyphs.text = text_;
  glyphs.font = *font_;
  glyphs.window = window;
  glyphs.shadow_offset = shadow_offset_;
  glyphs.box = MeasureTextBox();
  glyphs.baseline = QPointF(glyphs.box.left(), glyphs.box.top() + QFontMetricsF(*font_).ascent());
  // Only what can land in the window is kept, the shadow's share included;
  // the stroke reaches half a pixel beyond the outline, antialiasing one more.
  const QRect reach = QRect(0, 0, width_, height_).adjusted(-shadow_offset_, -shadow_offset_, 0, 0);
  const QRectF ink = QFontMetricsF(*font_).boundingRect(text_).translated(glyphs.baseline);
  // Synthetic bold and italic reach a little beyond the ink the metrics know.
  const int pad = 3 + font_->pixelSize() / 16;
  glyphs.area =
      ink.united(glyphs.box).toAlignedRect().adjusted(-pad, -pad, pad, pad).intersected(reach);
  return glyphs;
}

namespace {

QImage WindowBuffer(const QSize& size) {
  return QImage(size, QImage::Format_ARGB32_Premultiplied);
}

// The line's filled outline in the brush, moved by `offset`. The fill's
// coverage comes from the font engine's glyph cache: the same outlines as the
// line's path, rasterised once per glyph rather than once per render.
void FillText(const GlyphCache& glyphs, QPainter& painter, const QBrush& brush, QPoint offset) {
  painter.setFont(glyphs.font);
  painter.setPen(QPen(brush, 1.0));
  painter.drawText(glyphs.baseline + offset, glyphs.text);
}

// The line's outline as a path, made once per line: only the 1-pixel
// strokes need it.
const QPainterPath& TextPath(GlyphCache& glyphs) {
  if (glyphs.path.isEmpty()) glyphs.path.addText(glyphs.baseline, glyphs.font, glyphs.text);
  return glyphs.path;
}

}  // namespace

void LyricsWindow::ComposeLayer(GlyphCache& glyphs, QPainter& sprite,
                                const std::optional<QPen>& outline, int mode,
                                const std::array<std::uint32_t, 2>& colours) {
  // The outline goes down first, so the fill covers its inner half.
  if (outline) sprite.strokePath(TextPath(glyphs), *outline);
  FillText(glyphs, sprite, MakeBrush(mode, colours, glyphs.box), QPoint());
}

void LyricsWindow::ComposeSprite(GlyphCache& glyphs) {
  if (glyphs.sprite_ready && glyphs.look == look_ && glyphs.percent == highlight_percent_) return;
  glyphs.look = look_;
  glyphs.percent = highlight_percent_;
  glyphs.sprite_ready = true;
  glyphs.sprite_rect = glyphs.area;
  if (shadow_brush_) {
    glyphs.sprite_rect |= glyphs.area.translated(shadow_offset_, shadow_offset_);
  }
  glyphs.sprite_rect &= QRect(0, 0, width_, height_);
  if (glyphs.sprite_rect.isEmpty()) return;
  if (glyphs.sprite.isNull()) glyphs.sprite = WindowBuffer(glyphs.window);
  QPainter sprite(&glyphs.sprite);
  sprite.setCompositionMode(QPainter::CompositionMode_Clear);
  sprite.fillRect(glyphs.sprite_rect, Qt::transparent);
  sprite.setCompositionMode(QPainter::CompositionMode_SourceOver);
  sprite.setClipRect(glyphs.sprite_rect);
  sprite.setRenderHint(QPainter::Antialiasing);
  sprite.setRenderHint(QPainter::TextAntialiasing);
  if (shadow_brush_) {
    FillText(glyphs, sprite, *shadow_brush_, QPoint(shadow_offset_, shadow_offset_));
  }
  ComposeLayer(glyphs, sprite, text_outline_pen_, text_gradient_mode_, text_colours_);
  if (highlight_percent_ > 0) {
    if (highlight_percent_ < 100) {
      sprite.setClipRect(
          QRectF(glyphs.box.left(), glyphs.box.top(),
                 glyphs.box.width() * highlight_percent_ / 100.0, glyphs.box.height()),
          Qt::IntersectClip);
    }
    ComposeLayer(glyphs, sprite, highlight_outline_pen_, highlight_gradient_mode_,
                 highlight_colours_);
  }
}

void LyricsWindow::PaintText(QPainter& painter) {
  text_box_ = MeasureTextBox();
  if (!font_ || text_.isEmpty()) return;
  GlyphCache& glyphs = Glyphs();
  if (glyphs.area.isEmpty()) return;
  ComposeSprite(glyphs);
  if (glyphs.sprite_rect.isEmpty()) return;
  painter.drawImage(glyphs.sprite_rect.topLeft(), glyphs.sprite, glyphs.sprite_rect);
  painted_ |= glyphs.sprite_rect;
}

QBrush LyricsWindow::MakeBrush(int mode, const std::array<std::uint32_t, 2>& colours,
                               const QRectF& box) const {
  if (mode != kGradientTwoColour && mode != kGradientMirrored) return QBrush(Colour(colours[0]));
  const qreal end = mode == kGradientTwoColour ? box.bottom() : box.top() + box.height() / 2;
  QLinearGradient gradient(box.left(), box.top(), box.left(), end);
  gradient.setColorAt(0, Colour(colours[0]));
  gradient.setColorAt(1, Colour(colours[1]));
  gradient.setSpread(QGradient::ReflectSpread);
  return QBrush(gradient);
}

}  // namespace orvane
