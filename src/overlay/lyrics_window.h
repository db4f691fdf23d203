#pragma once
// LyricsWindow: the desktop-lyrics overlay. A frameless, always-on-top tool
// window with per-pixel alpha showing one line drawn as an outlined, shadowed,
// gradient-filled text path.
//
// Texts come in as UTF-8. Colours come in as Windows colour values
// (0x00BBGGRR) and are kept as ARGB (0xAARRGGBB).
//
// NOTE for the implementer: this header fixes the operations the rest of the
// program calls; complete the class with every operation of the overlay's
// table (window half and drawing half), keeping these signatures.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

enum GradientMode : int { kGradientSolid = 0, kGradientTwoColour = 1, kGradientMirrored = 2 };

// Start-up step: everything the overlay's windows need before the first Create.
void RegisterLyricsWindowClass();

class LyricsWindow {
 public:
  LyricsWindow();
  virtual ~LyricsWindow();

  virtual bool Create(std::optional<int> width = std::nullopt,
                      std::optional<int> height = std::nullopt);
  virtual void SetFont(std::string_view family, int size, bool bold = false, bool italic = false,
                       bool underline = false);
  virtual void SetTextStyle(std::int32_t colour1, std::int32_t colour2, std::int32_t outline,
                            std::int32_t mode);
  virtual void Show();
  virtual void Hide();
  virtual bool IsCreated() const;
  virtual void SetDragMove(bool on);
  virtual void SetNoClose(bool on);
  virtual void SetText(std::string_view line, std::optional<int> percent = std::nullopt);
  virtual void Render();

  // For the driver and tests.
  std::string TextUtf8() const;
  bool IsShown() const;
};

}  // namespace orvane
