#pragma once
// Decoding of cover pictures: JPEG through libjpeg (libjpeg-turbo) and PNG
// through libpng, called directly; other formats through Qt. Never ends the
// process and never takes pixel memory for a picture whose header claims more
// than kMaxImageSide pixels on a side.

#include <cstdint>
#include <string_view>
#include <vector>

namespace orvane {

inline constexpr int kMaxImageSide = 8192;

enum class DecodeError {
  None,
  Empty,        // no bytes
  UnknownType,  // neither JPEG nor PNG, and Qt cannot read it either
  TooLarge,     // header claims more than kMaxImageSide on a side
  Corrupt,      // damaged or truncated data
};

struct DecodedImage {
  int width = 0;
  int height = 0;
  // width * height pixels, row by row, 0xAARRGGBB (not premultiplied).
  std::vector<std::uint32_t> pixels;
  DecodeError error = DecodeError::Empty;
  bool ok() const { return error == DecodeError::None; }
};

DecodedImage DecodeImage(std::string_view bytes);

}  // namespace orvane
