// DecodeImage over arbitrary bytes, seeded with real JPEG and PNG covers.
#include <QByteArray>
#include <QtGlobal>
#include <cstdint>
#include <string_view>

#include "platform/decode_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Qt's readers complain about every damaged picture; the run needs none of it.
  static const bool quiet = [] {
    qputenv("QT_LOGGING_RULES", QByteArray("qt.gui.imageio*=false"));
    return true;
  }();
  (void)quiet;
  const orvane::DecodedImage image =
      orvane::DecodeImage(std::string_view(reinterpret_cast<const char*>(data), size));
  if (image.ok()) {
    if (image.width <= 0 || image.height <= 0 || image.width > orvane::kMaxImageSide ||
        image.height > orvane::kMaxImageSide ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height)
      __builtin_trap();
  } else if (!image.pixels.empty()) {
    __builtin_trap();
  }
  return 0;
}
