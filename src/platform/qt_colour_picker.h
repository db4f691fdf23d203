#pragma once
// A colour picker: shows its colour as a swatch and asks for a new one with a
// colour dialog on click. Holds a Windows colour value, 0x00BBGGRR.

#include <QAbstractButton>
#include <cstdint>

namespace orvane {

QColor FromWindowsColour(std::int32_t value);
std::int32_t ToWindowsColour(const QColor& colour);

class QtColourPicker : public QAbstractButton {
 public:
  explicit QtColourPicker(QWidget* parent);

  std::int32_t colour() const { return colour_; }
  void setColour(std::int32_t value);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void Choose();
  std::int32_t colour_ = 0;
};

}  // namespace orvane
