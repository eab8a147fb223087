// What the image helpers decide before they hand anything to GDI or GDI+: which
// bitmap sizes are sane, and what the first bytes of an image file say about it.
// The decoder allocates the whole picture when it opens a file, so a file whose
// header claims an absurd size is turned away before the decoder sees it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace images {

// Largest side and largest area of any bitmap made here (128 MB at 32 bits).
constexpr std::int64_t kMaxSide = 16384;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 25;

// Width and height both positive and within the limits.
bool IsAcceptableSize(std::int64_t width, std::int64_t height);

// The top-left width x |height| of a source of that size exists (and is not empty).
bool CropFits(std::int32_t sourceWidth, std::int32_t sourceHeight, std::int32_t width,
              std::int32_t height);

enum class Format { Unknown, Png, Jpeg, Bmp, Gif };

struct HeaderInfo {
  Format format = Format::Unknown;
  bool sizeKnown = false;  // width and height were read from the header
  bool broken = false;     // a known format whose header cannot be a valid one
  std::uint32_t width = 0;
  std::uint32_t height = 0;
};

// Reads the leading bytes of a file (as many as it has, 64 KB are plenty).
HeaderInfo ReadImageHeader(const std::uint8_t* data, std::size_t size);

// Bytes that should go to the decoder: not empty, no broken header of a known
// format, no size beyond the limits. Formats we do not know go through; their
// size is checked once decoded.
bool MayDecode(const std::uint8_t* data, std::size_t size);

// How many leading bytes of a file MayDecode wants to see.
constexpr std::size_t kHeaderBytes = 64 * 1024;

// An uncompressed BMP that is read straight into a 32-bit bitmap, with no
// decoder: 24-bit, 32-bit without alpha, or 32-bit whose bit fields name an
// alpha byte (straight alpha, as the skin's pictures with transparency are
// stored). Anything else goes to the decoder.
struct RawBitmap {
  bool usable = false;
  std::int32_t width = 0;
  std::int32_t height = 0;       // rows, always positive
  bool topDown = false;          // the file's first row is the picture's top row
  int bitsPerPixel = 0;          // 24 or 32
  bool alpha = false;            // 32-bit with an alpha byte
  std::uint32_t pixelOffset = 0;
  std::uint32_t stride = 0;      // bytes per row in the file
};

// The layout of a whole file's bytes; usable only when every row lies inside
// `size` and the size is acceptable.
RawBitmap ReadRawBitmap(const std::uint8_t* data, std::size_t size);

// One row of such a file as the decoder hands pictures over: 32-bit pixels
// 0xAARRGGBB, alpha 255 where the file has none, colours premultiplied by the
// alpha where it has one.
void ConvertRawRow(const RawBitmap& layout, const std::uint8_t* row, std::uint32_t* out);

}  // namespace images
