#include "images_core.h"

#include <cstring>

namespace images {

namespace {

std::uint32_t Be16(const std::uint8_t* p) { return (std::uint32_t{p[0]} << 8) | p[1]; }
std::uint32_t Be32(const std::uint8_t* p) { return (Be16(p) << 16) | Be16(p + 2); }
std::uint32_t Le16(const std::uint8_t* p) { return (std::uint32_t{p[1]} << 8) | p[0]; }
std::uint32_t Le32(const std::uint8_t* p) { return (Le16(p + 2) << 16) | Le16(p); }

void SetSize(HeaderInfo& info, std::int64_t width, std::int64_t height) {
  if (width <= 0 || height <= 0) {
    info.broken = true;
    return;
  }
  info.sizeKnown = true;
  info.width = static_cast<std::uint32_t>(width);
  info.height = static_cast<std::uint32_t>(height);
}

void ReadPng(const std::uint8_t* d, std::size_t n, HeaderInfo& info) {
  // The first chunk must be IHDR: length 13, type, width, height (big-endian).
  if (n < 24 || Be32(d + 8) != 13 || std::memcmp(d + 12, "IHDR", 4) != 0) {
    info.broken = true;
    return;
  }
  const std::uint32_t w = Be32(d + 16), h = Be32(d + 20);
  if (w > 0x7FFFFFFFu || h > 0x7FFFFFFFu) {
    info.broken = true;
    return;
  }
  SetSize(info, w, h);
}

void ReadBmp(const std::uint8_t* d, std::size_t n, HeaderInfo& info) {
  if (n < 18) {
    info.broken = true;
    return;
  }
  const std::uint32_t headerSize = Le32(d + 14);
  if (headerSize == 12) {  // the old core header: 16-bit sizes
    if (n < 22) {
      info.broken = true;
      return;
    }
    SetSize(info, Le16(d + 18), Le16(d + 20));
    return;
  }
  if (headerSize < 40 || headerSize > 1024 || n < 26) {
    info.broken = true;
    return;
  }
  const std::int64_t w = static_cast<std::int32_t>(Le32(d + 18));
  std::int64_t h = static_cast<std::int32_t>(Le32(d + 22));
  if (h < 0) h = -h;  // top-down
  SetSize(info, w, h);
}

void ReadGif(const std::uint8_t* d, std::size_t n, HeaderInfo& info) {
  if (n < 10) {
    info.broken = true;
    return;
  }
  SetSize(info, Le16(d + 6), Le16(d + 8));
}

bool IsStartOfFrame(std::uint8_t m) {
  return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

// Walks the markers up to the first start of frame. Running out of bytes leaves
// the size unknown (the frame header may lie further on); a marker that cannot
// stand where it does breaks the file.
void ReadJpeg(const std::uint8_t* d, std::size_t n, HeaderInfo& info) {
  std::size_t pos = 2;
  while (pos < n) {
    if (d[pos] != 0xFF) {
      info.broken = true;
      return;
    }
    while (pos < n && d[pos] == 0xFF) ++pos;  // fill bytes
    if (pos >= n) return;
    const std::uint8_t marker = d[pos++];
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
    if (marker == 0x00 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA) {
      info.broken = true;  // no frame before the data or the end
      return;
    }
    if (pos + 2 > n) return;
    const std::size_t length = Be16(d + pos);
    if (length < 2) {
      info.broken = true;
      return;
    }
    if (IsStartOfFrame(marker)) {
      if (length < 8) {
        info.broken = true;
        return;
      }
      if (pos + 7 > n) return;
      const std::uint32_t h = Be16(d + pos + 3), w = Be16(d + pos + 5);
      if (w == 0) {
        info.broken = true;
      } else if (h != 0) {  // a height of 0 is given later in the file
        SetSize(info, w, h);
      }
      return;
    }
    pos += length;
  }
}

}  // namespace

bool IsAcceptableSize(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

bool CropFits(std::int32_t sourceWidth, std::int32_t sourceHeight, std::int32_t width,
              std::int32_t height) {
  const std::int64_t rows = height < 0 ? -std::int64_t{height} : std::int64_t{height};
  return width > 0 && rows > 0 && width <= sourceWidth && rows <= sourceHeight;
}

HeaderInfo ReadImageHeader(const std::uint8_t* data, std::size_t size) {
  HeaderInfo info;
  if (!data) return info;
  static const std::uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (size >= 8 && std::memcmp(data, kPng, 8) == 0) {
    info.format = Format::Png;
    ReadPng(data, size, info);
  } else if (size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) {
    info.format = Format::Jpeg;
    ReadJpeg(data, size, info);
  } else if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
    info.format = Format::Bmp;
    ReadBmp(data, size, info);
  } else if (size >= 6 && (std::memcmp(data, "GIF87a", 6) == 0 ||
                           std::memcmp(data, "GIF89a", 6) == 0)) {
    info.format = Format::Gif;
    ReadGif(data, size, info);
  }
  return info;
}

bool MayDecode(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0) return false;
  const HeaderInfo info = ReadImageHeader(data, size);
  if (info.broken) return false;
  return !info.sizeKnown || IsAcceptableSize(info.width, info.height);
}

}  // namespace images
