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

}  // namespace images
