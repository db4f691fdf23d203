// The drawing half of the overlay: the look, and the line drawn into the
// window's picture.
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>

#include "overlay/glyph_cache.h"
#include "overlay/lyrics_window.h"

namespace orvane {
namespace {

constexpr std::string_view kFamilyFallbacks = ";微软雅黑;楷体;黑体;宋体;Tahoma";

QColor Colour(std::uint32_t argb) { return QColor::fromRgba(argb); }

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
    font_style_ = (font_->bold() ? 1 : 0) | (font_->italic() ? 2 : 0) | (font_->underline() ? 4 : 0);
  }
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
  if (redraw && IsCreated()) Render();
}

void LyricsWindow::SetTextStyle(std::int32_t colour1, std::int32_t colour2, std::int32_t outline,
                                std::int32_t mode) {
  text_outline_pen_ = OutlinePen(outline);
  text_colours_ = {ToArgb(colour1), ToArgb(colour2)};
  text_gradient_mode_ = mode;
}

void LyricsWindow::SetHighlightStyle(std::int32_t colour1, std::int32_t colour2,
                                     std::int32_t outline, std::int32_t mode) {
  highlight_outline_pen_ = OutlinePen(outline);
  highlight_colours_ = {ToArgb(colour1), ToArgb(colour2)};
  highlight_gradient_mode_ = mode;
}

void LyricsWindow::SetText(std::string_view line, std::optional<int> percent) {
  text_ = ToWide(line);
  highlight_percent_ = std::clamp(percent.value_or(0), 0, 100);
  Render();
}

void LyricsWindow::Render() {
  if (width_ <= 0 || height_ <= 0) return;
  picture_ = QImage(width_, height_, QImage::Format_ARGB32_Premultiplied);
  picture_.fill(Qt::transparent);
  {
    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    PaintBackground(painter);
    PaintText(painter);
  }
  dirty_ = QRect();
  PushLayered();
}

void LyricsWindow::PaintBackground(QPainter& painter) {
  if (background_brush_) painter.fillRect(QRectF(0, 0, width_, height_), *background_brush_);
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

void LyricsWindow::PaintText(QPainter& painter) {
  text_box_ = MeasureTextBox();
  if (!font_ || text_.isEmpty()) return;
  const QFontMetricsF metrics(*font_);
  QPainterPath path;
  path.addText(QPointF(text_box_.left(), text_box_.top() + metrics.ascent()), *font_, text_);

  if (shadow_brush_) {
    painter.fillPath(path.translated(shadow_offset_, shadow_offset_), *shadow_brush_);
  }
  PaintLayer(painter, text_box_, text_outline_pen_, text_gradient_mode_, text_colours_);
  if (highlight_percent_ > 0) {
    painter.save();
    if (highlight_percent_ < 100) {
      painter.setClipRect(QRectF(text_box_.left(), text_box_.top(),
                                 text_box_.width() * highlight_percent_ / 100.0,
                                 text_box_.height()));
    }
    PaintLayer(painter, text_box_, highlight_outline_pen_, highlight_gradient_mode_,
               highlight_colours_);
    painter.restore();
  }
  (void)path;
}

void LyricsWindow::PaintLayer(QPainter& painter, const QRectF& box,
                              const std::optional<QPen>& outline, int mode,
                              const std::array<std::uint32_t, 2>& colours) {
  const QFontMetricsF metrics(*font_);
  QPainterPath path;
  path.addText(QPointF(box.left(), box.top() + metrics.ascent()), *font_, text_);
  if (outline) painter.strokePath(path, *outline);
  painter.fillPath(path, MakeBrush(mode, colours, box));
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
