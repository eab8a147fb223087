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

RawBitmap ReadRawBitmap(const std::uint8_t* d, std::size_t n) {
  RawBitmap r;
  if (!d || n < 54 || d[0] != 'B' || d[1] != 'M') return r;
  const std::uint32_t headerSize = Le32(d + 14);
  if (headerSize < 40 || headerSize > 1024 || 14 + std::size_t{headerSize} > n) return r;
  const std::int64_t width = static_cast<std::int32_t>(Le32(d + 18));
  const std::int64_t height = static_cast<std::int32_t>(Le32(d + 22));
  const std::uint32_t planes = Le16(d + 26), bits = Le16(d + 28), compression = Le32(d + 30);
  if (planes != 1 || height == 0) return r;
  const std::int64_t rows = height < 0 ? -height : height;
  if (!IsAcceptableSize(width, rows)) return r;
  constexpr std::uint32_t kRgb = 0, kBitFields = 3;
  if (bits == 24 && compression == kRgb) {
    r.alpha = false;
  } else if (bits == 32 && compression == kRgb) {
    r.alpha = false;  // the fourth byte is not alpha in a plain 32-bit file
  } else if (bits == 32 && compression == kBitFields) {
    // The masks follow a 40-byte header, or lie inside a larger one.
    const std::size_t masks = 14 + 40;
    if (masks + 12 > n) return r;
    if (Le32(d + masks) != 0x00FF0000u || Le32(d + masks + 4) != 0x0000FF00u ||
        Le32(d + masks + 8) != 0x000000FFu) {
      return r;
    }
    const bool hasAlphaMask = headerSize >= 56 && masks + 16 <= n;
    const std::uint32_t alphaMask = hasAlphaMask ? Le32(d + masks + 12) : 0;
    if (alphaMask != 0 && alphaMask != 0xFF000000u) return r;
    r.alpha = alphaMask != 0;
  } else {
    return r;
  }
  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  const std::uint32_t offset = Le32(d + 10);
  if (offset < 14 + headerSize || offset > n || stride * rows > n - offset) return r;
  r.usable = true;
  r.width = static_cast<std::int32_t>(width);
  r.height = static_cast<std::int32_t>(rows);
  r.topDown = height < 0;
  r.bitsPerPixel = static_cast<int>(bits);
  r.pixelOffset = offset;
  r.stride = static_cast<std::uint32_t>(stride);
  return r;
}

void ConvertRawRow(const RawBitmap& layout, const std::uint8_t* row, std::uint32_t* out) {
  if (layout.bitsPerPixel == 24) {
    for (std::int32_t x = 0; x < layout.width; ++x, row += 3)
      out[x] = 0xFF000000u | (std::uint32_t{row[2]} << 16) | (std::uint32_t{row[1]} << 8) | row[0];
    return;
  }
  for (std::int32_t x = 0; x < layout.width; ++x, row += 4) {
    const std::uint32_t a = layout.alpha ? row[3] : 255;
    std::uint32_t b = row[0], g = row[1], r = row[2];
    if (a != 255) {
      // Rounded to the nearest, as the decoder premultiplies.
      b = (b * a + 127) / 255;
      g = (g * a + 127) / 255;
      r = (r * a + 127) / 255;
    }
    out[x] = (a << 24) | (r << 16) | (g << 8) | b;
  }
}

bool MayDecode(const std::uint8_t* data, std::size_t size) {
  if (!data || size == 0) return false;
  const HeaderInfo info = ReadImageHeader(data, size);
  if (info.broken) return false;
  return !info.sizeKnown || IsAcceptableSize(info.width, info.height);
}

}  // namespace images
