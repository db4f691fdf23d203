#pragma once
// LyricsWindow: the desktop-lyrics overlay. A frameless, always-on-top tool
// window with per-pixel alpha showing one line drawn as an outlined, shadowed,
// gradient-filled text path.
//
// Texts come in as UTF-8. Colours come in as Windows colour values
// (0x00BBGGRR) and are kept as ARGB (0xAARRGGBB).

#include <QBrush>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QPointer>
#include <QRect>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

enum GradientMode : int { kGradientSolid = 0, kGradientTwoColour = 1, kGradientMirrored = 2 };

// Window handle of the overlay: the top-level widget that shows the picture.
using WindowHandle = QWidget*;

// Start-up step: everything the overlay's windows need before the first Create.
void RegisterLyricsWindowClass();

// Colour value 0x00BBGGRR plus alpha -> 0xAARRGGBB. Without use_alpha the
// result is opaque; otherwise alpha is clamped to 0..255.
std::uint32_t ToArgb(std::int32_t colour, std::int32_t alpha = 255, bool use_alpha = false);
// UTF-8 -> the UTF-16 text Qt draws.
QString ToWide(std::string_view text);
// First family of a ";"-separated list that exists here (after mapping the
// Windows family names to installed ones); none when no piece does.
std::optional<QFont> CreateFontFromList(std::string_view families, float pixel_size, int style);
// The installed family a requested family name stands for ("微软雅黑" ->
// "WenQuanYi Micro Hei"), or the name itself.
QString MapFontFamily(const QString& family);

// The desktop's work area in screen coordinates, exclusive right and bottom.
struct WorkArea {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};
// The primary screen's available geometry, or the override when one is set.
WorkArea DesktopWorkArea();
// Tests stand in for the desktop's work area; nullopt restores the real one.
void OverrideWorkArea(std::optional<WorkArea> area);

// Names of the window properties the overlay keeps on its window.
inline constexpr const char* kPropHitMove = "Nimbra_HitMove";
inline constexpr const char* kPropNoClose = "Nimbra_NoClose";
inline constexpr const char* kPropPrevWndProc = "Nimbra_PrevWndProc";
inline constexpr const char* kWindowTitle = "NimbraLyricsWindow";

// The event an overlay window receives when the desktop session is about to
// end (sent to every overlay window on QGuiApplication::commitDataRequest and
// aboutToQuit). It lifts the close refusal so the session can end.
QEvent::Type QueryEndSessionEventType();
// Sends that event to every overlay window now.
void EndDesktopSession();

// What the text layout keeps: the counterpart of the string format (one
// line, never wrapped, centred horizontally, aligned to the top).
struct TextLayout {
  bool no_wrap = true;
  Qt::Alignment alignment = Qt::AlignHCenter | Qt::AlignTop;
};

// Work of one render kept for the next: the line's outline path and its
// rasterised coverage, rebuilt only when the line or the font changes.
struct GlyphCache;

class LyricsWindow {
 public:
  LyricsWindow();
  virtual ~LyricsWindow();
  LyricsWindow(const LyricsWindow& other);
  LyricsWindow& operator=(const LyricsWindow& other);
  virtual std::unique_ptr<LyricsWindow> Copy() const;

  virtual bool Create(std::optional<int> width = std::nullopt,
                      std::optional<int> height = std::nullopt);
  virtual bool Attach(WindowHandle window);
  virtual void Destroy();
  virtual void InitGraphics();
  virtual void SetFont(std::string_view family, int size, bool bold = false, bool italic = false,
                       bool underline = false);
  virtual void SetBackground(std::int32_t colour, std::int32_t alpha, bool redraw = false);
  virtual void SetShadow(std::int32_t colour, std::int32_t alpha, std::int32_t offset,
                         bool redraw = false);
  virtual void SetTextStyle(std::int32_t colour1, std::int32_t colour2, std::int32_t outline,
                            std::int32_t mode);
  virtual void SetHighlightStyle(std::int32_t colour1, std::int32_t colour2, std::int32_t outline,
                                 std::int32_t mode);
  virtual void Show();
  virtual void Hide();
  virtual void MoveResize(std::optional<int> x = std::nullopt, std::optional<int> y = std::nullopt,
                          std::optional<int> width = std::nullopt,
                          std::optional<int> height = std::nullopt, bool no_redraw = false);
  virtual int GetWidth() const;
  virtual int GetHeight() const;
  virtual int GetTop() const;
  virtual int GetLeft() const;
  virtual WindowHandle GetHandle() const;
  virtual bool IsCreated() const;
  virtual void SetTopmost(bool on);
  virtual void SetDragMove(bool on);
  virtual void SetNoClose(bool on);
  virtual void SetText(std::string_view line, std::optional<int> percent = std::nullopt);
  virtual void Render();
  virtual void PaintBackground(QPainter& painter);
  virtual void PaintText(QPainter& painter);
  virtual QBrush MakeBrush(int mode, const std::array<std::uint32_t, 2>& colours,
                           const QRectF& box) const;
  virtual void ReservedHook1(std::int32_t value);
  virtual void ReservedHook2(std::int32_t value);

  // For the driver and tests.
  std::string TextUtf8() const;
  bool IsShown() const;
  int HighlightPercent() const { return highlight_percent_; }
  int ShadowOffset() const { return shadow_offset_; }
  int DrawingWidth() const { return width_; }
  int DrawingHeight() const { return height_; }
  std::optional<QFont> Font() const { return font_; }
  // The picture of the last render (transparent where nothing was drawn).
  QImage Picture() const { return picture_; }
  // The text box of the last render: the measured line centred in the window.
  QRectF TextBox() const { return text_box_; }

 private:
  QRectF MeasureTextBox() const;
  // Hands the picture to the window; only `changed` differs from the last push.
  void PushLayered(const QRect& changed);
  // The layout of the current line, rebuilt when the line, font or size changed.
  GlyphCache& Glyphs();
  // The layers of the current line in the current look, composed once.
  void ComposeSprite(GlyphCache& glyphs);
  void ComposeLayer(GlyphCache& glyphs, QPainter& sprite, const std::optional<QPen>& outline,
                    int mode, const std::array<std::uint32_t, 2>& colours);
  // A new look: the composed sprite no longer answers for it.
  void LookChanged();

  QPointer<QWidget> hwnd_;
  QImage picture_;  // the memory DC and its bitmap: the picture of the last render
  int width_ = 0;
  int height_ = 0;
  bool graphics_ready_ = false;
  QString text_;
  int highlight_percent_ = 0;
  std::array<std::uint32_t, 2> text_colours_{0, 0};
  int text_gradient_mode_ = 0;
  std::optional<QPen> text_outline_pen_;
  std::array<std::uint32_t, 2> highlight_colours_{0, 0};
  int highlight_gradient_mode_ = 0;
  std::optional<QPen> highlight_outline_pen_;
  std::optional<QBrush> shadow_brush_;
  int shadow_offset_ = 0;
  std::optional<QFont> font_;
  int font_style_ = 0;
  float font_size_ = 0;
  QString font_family_;
  std::optional<QBrush> background_brush_;
  std::optional<TextLayout> string_format_;
  // Shared by copies: it answers only for the line and font it was built for.
  std::shared_ptr<GlyphCache> cache_;
  std::uint64_t look_ = 0;  // changes with every setter of the text's look
  QRect painted_;           // the part of picture_ the last render painted
  QRectF text_box_;
};

}  // namespace orvane
