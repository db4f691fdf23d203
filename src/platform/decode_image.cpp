#include "platform/decode_image.h"

#include <jerror.h>   // NOLINT(build/include_order)
#include <jpeglib.h>  // NOLINT(build/include_order)
#include <png.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <csetjmp>
#include <cstdio>  // before jpeglib.h, which uses FILE
#include <cstring>

namespace orvane {
namespace {

bool IsJpeg(std::string_view b) {
  return b.size() >= 3 && static_cast<unsigned char>(b[0]) == 0xFF &&
         static_cast<unsigned char>(b[1]) == 0xD8 && static_cast<unsigned char>(b[2]) == 0xFF;
}

bool IsPng(std::string_view b) {
  return b.size() >= 8 && b.substr(0, 8) == "\x89PNG\r\n\x1a\n";
}

bool SideTooLarge(long long width, long long height) {
  return width > kMaxImageSide || height > kMaxImageSide;
}

DecodedImage Failed(DecodeError error) {
  DecodedImage image;
  image.error = error;
  return image;
}

// The decoders write each pixel as the bytes B, G, R, A; this turns them into
// 0xAARRGGBB values whatever the machine's byte order.
void BytesToArgb(std::vector<std::uint32_t>& pixels) {
  for (std::uint32_t& p : pixels) {
    unsigned char b[4];
    std::memcpy(b, &p, 4);
    p = (std::uint32_t{b[3]} << 24) | (std::uint32_t{b[2]} << 16) | (std::uint32_t{b[1]} << 8) |
        b[0];
  }
}

// ---- JPEG ----

struct JpegErrors {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
  bool ranOutOfData;
};

// libjpeg's own error_exit ends the process; come back to the decoder instead.
[[noreturn]] void JpegErrorExit(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  std::longjmp(errors->jump, 1);
}

void JpegEmitMessage(j_common_ptr cinfo, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
  // Missing scan data is only a warning to libjpeg (it pads the rest with
  // grey): the file ends early, or a marker comes before the scan is complete.
  // For a cover that is a damaged picture.
  const int code = errors->mgr.msg_code;
  if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) {
    errors->ranOutOfData = true;
  }
}

void JpegOutputMessage(j_common_ptr) {}

// Adobe writes CMYK JPEGs inverted: each value is 255 - ink. Kept out of
// line so that its locals stay out of the frame that setjmp saves.
[[gnu::noinline]] void CmykRowToBgra(const unsigned char* cmyk, std::uint32_t* target, int width) {
  for (int x = 0; x < width; ++x) {
    const unsigned char* p = cmyk + x * 4;
    const unsigned k = p[3];
    const unsigned char bgra[4] = {static_cast<unsigned char>(p[2] * k / 255),
                                   static_cast<unsigned char>(p[1] * k / 255),
                                   static_cast<unsigned char>(p[0] * k / 255), 0xFF};
    std::memcpy(target + x, bgra, 4);
  }
}

// Decodes into `out` (owned by the caller, so nothing is lost across longjmp).
void DecodeJpegInto(std::string_view bytes, DecodedImage& out, std::vector<unsigned char>& row) {
  jpeg_decompress_struct cinfo;
  JpegErrors errors;
  cinfo.err = jpeg_std_error(&errors.mgr);
  errors.mgr.error_exit = JpegErrorExit;
  errors.mgr.emit_message = JpegEmitMessage;
  errors.mgr.output_message = JpegOutputMessage;
  errors.ranOutOfData = false;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&cinfo);
    out.pixels.clear();
    out.pixels.shrink_to_fit();
    out.width = out.height = 0;
    out.error = DecodeError::Corrupt;
    return;
  }
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  if (SideTooLarge(cinfo.image_width, cinfo.image_height)) {
    jpeg_destroy_decompress(&cinfo);
    out.error = DecodeError::TooLarge;
    return;
  }
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRA;
  jpeg_start_decompress(&cinfo);
  const int width = static_cast<int>(cinfo.output_width);
  const int height = static_cast<int>(cinfo.output_height);
  out.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  row.resize(static_cast<std::size_t>(width) * 4);
  while (cinfo.output_scanline < cinfo.output_height) {
    std::uint32_t* target =
        out.pixels.data() + static_cast<std::size_t>(cinfo.output_scanline) * width;
    JSAMPROW rows[1] = {cmyk ? row.data() : reinterpret_cast<JSAMPROW>(target)};
    jpeg_read_scanlines(&cinfo, rows, 1);
    if (cmyk) CmykRowToBgra(row.data(), target, width);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  if (errors.ranOutOfData) {
    out.pixels.clear();
    out.pixels.shrink_to_fit();
    out.error = DecodeError::Corrupt;
    return;
  }
  BytesToArgb(out.pixels);
  out.width = width;
  out.height = height;
  out.error = DecodeError::None;
}

// ---- PNG ----

struct PngSource {
  std::string_view bytes;
  std::size_t offset;
  bool tooLarge;
};

[[noreturn]] void PngError(png_structp png, png_const_charp message) {
  auto* source = static_cast<PngSource*>(png_get_error_ptr(png));
  if (std::strstr(message, "exceeds user limit") != nullptr) source->tooLarge = true;
  png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngRead(png_structp png, png_bytep data, png_size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (source->bytes.size() - source->offset < length) png_error(png, "PNG data cut short");
  std::memcpy(data, source->bytes.data() + source->offset, length);
  source->offset += length;
}

void DecodePngInto(std::string_view bytes, DecodedImage& out, std::vector<png_bytep>& rows) {
  // The first chunk must be IHDR; refuse a huge picture before libpng starts.
  if (bytes.size() >= 24 && bytes.substr(12, 4) == "IHDR") {
    auto be32 = [&](std::size_t at) {
      return (static_cast<unsigned long long>(static_cast<unsigned char>(bytes[at])) << 24) |
             (static_cast<unsigned long long>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
             (static_cast<unsigned long long>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
             static_cast<unsigned long long>(static_cast<unsigned char>(bytes[at + 3]));
    };
    if (SideTooLarge(static_cast<long long>(be32(16)), static_cast<long long>(be32(20)))) {
      out.error = DecodeError::TooLarge;
      return;
    }
  }
  PngSource source{bytes, 0, false};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, PngError, PngWarning);
  if (png == nullptr) {
    out.error = DecodeError::Corrupt;
    return;
  }
  png_infop info = png_create_info_struct(png);
  if (info == nullptr) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    out.error = DecodeError::Corrupt;
    return;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    out.pixels.clear();
    out.pixels.shrink_to_fit();
    out.width = out.height = 0;
    out.error = source.tooLarge ? DecodeError::TooLarge : DecodeError::Corrupt;
    return;
  }
  png_set_read_fn(png, &source, PngRead);
  png_set_user_limits(png, kMaxImageSide, kMaxImageSide);
  // Text and other ancillary chunks of a cover have no business being large.
  png_set_chunk_malloc_max(png, 8u * 1024u * 1024u);
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int colorType = png_get_color_type(png, info);
  png_set_expand(png);  // palette to RGB, low-bit grey to 8 bits, tRNS to alpha
  png_set_strip_16(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    png_set_gray_to_rgb(png);
  }
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);  // no-op when alpha is present
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) {
    png_error(png, "unexpected row layout");
  }
  out.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) {
    rows[y] = reinterpret_cast<png_bytep>(out.pixels.data() + static_cast<std::size_t>(y) * width);
  }
  png_read_image(png, rows.data());
  // What follows the image data (IEND, late text chunks) is not needed.
  png_destroy_read_struct(&png, &info, nullptr);
  BytesToArgb(out.pixels);
  out.width = static_cast<int>(width);
  out.height = static_cast<int>(height);
  out.error = DecodeError::None;
}

// ---- everything else, through Qt ----

DecodedImage DecodeWithQt(std::string_view bytes) {
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  if (!reader.canRead()) return Failed(DecodeError::UnknownType);
  QSize size = reader.size();
  if (size.isValid() && SideTooLarge(size.width(), size.height())) {
    return Failed(DecodeError::TooLarge);
  }
  QImage image = reader.read();
  if (image.isNull()) return Failed(DecodeError::Corrupt);
  if (SideTooLarge(image.width(), image.height())) return Failed(DecodeError::TooLarge);
  image = image.convertToFormat(QImage::Format_ARGB32);
  DecodedImage out;
  out.width = image.width();
  out.height = image.height();
  out.pixels.resize(static_cast<std::size_t>(out.width) * out.height);
  for (int y = 0; y < out.height; ++y) {
    std::memcpy(out.pixels.data() + static_cast<std::size_t>(y) * out.width, image.constScanLine(y),
                static_cast<std::size_t>(out.width) * 4);
  }
  out.error = DecodeError::None;
  return out;
}

}  // namespace

DecodedImage DecodeImage(std::string_view bytes) {
  if (bytes.empty()) return Failed(DecodeError::Empty);
  DecodedImage out;
  if (IsJpeg(bytes)) {
    std::vector<unsigned char> row;
    DecodeJpegInto(bytes, out, row);
    return out;
  }
  if (IsPng(bytes)) {
    std::vector<png_bytep> rows;
    DecodePngInto(bytes, out, rows);
    return out;
  }
  return DecodeWithQt(bytes);
}

}  // namespace orvane
