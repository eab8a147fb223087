// The shape of a keyed frame bitmap as rectangles: every pixel that is not the key
// colour, as horizontal runs, with runs of equal rows joined into one rectangle.
// The rectangles come out in the banded order a window region keeps internally
// (top to bottom, then left to right, bands never overlapping), so the system
// builds the region from them in one pass.
#pragma once

#include <cstdint>
#include <vector>

namespace contour {

struct Rect {
  std::int32_t left, top, right, bottom;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// Pixels are 32-bit words as a 32-bit DIB holds them: 0xXXRRGGBB. The top byte
// (alpha or padding) never takes part in a comparison.
constexpr std::uint32_t kAllColourBits = 0x00FFFFFF;
// Bitmaps of 16 bits per pixel or fewer keep only the upper bits of each channel;
// compared through this mask, a key colour matches its own quantised value.
constexpr std::uint32_t kHighColourBits = 0x00F8F8F8;

// A COLORREF (0x00BBGGRR) as the pixel word it is stored as.
constexpr std::uint32_t PixelFromColorRef(std::uint32_t colorref) {
  return ((colorref & 0xFFu) << 16) | (colorref & 0xFF00u) | ((colorref >> 16) & 0xFFu);
}

// The colour mask to compare pixels of a bitmap of that depth with.
constexpr std::uint32_t CompareMaskForDepth(int bitsPerPixel) {
  return bitsPerPixel > 0 && bitsPerPixel <= 16 ? kHighColourBits : kAllColourBits;
}

// Fed row by row, top to bottom, so a large bitmap can be read in strips.
class ShapeBuilder {
 public:
  ShapeBuilder(std::int32_t width, std::uint32_t keyPixel, std::uint32_t mask = kAllColourBits);

  // The next row: `width` pixels. The previous row must still be readable (it is
  // compared with this one), unless NewStrip was called in between.
  void AddRow(const std::uint32_t* row);
  // The rows added so far are gone (a strip buffer is refilled).
  void NewStrip() { m_previous = nullptr; }
  // Closes the last band; the rectangles of all rows added.
  const std::vector<Rect>& Finish();

 private:
  void CloseBand();

  std::int32_t m_width;
  std::uint32_t m_key;
  std::uint32_t m_mask;
  const std::uint32_t* m_previous = nullptr;  // the row before, while the caller keeps it
  std::int32_t m_y = 0;
  std::int32_t m_bandTop = 0;
  std::vector<std::int32_t> m_band;  // runs of the open band: start, end, start, end...
  std::vector<std::int32_t> m_row;   // runs of the row being read
  std::vector<Rect> m_rects;
};

// The whole bitmap at once. `stride` is the distance between rows in pixels.
std::vector<Rect> ShapeRects(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                             std::int32_t stride, std::uint32_t keyPixel,
                             std::uint32_t mask = kAllColourBits);

}  // namespace contour
