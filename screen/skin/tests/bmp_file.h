// The bytes of a 24-bit bottom-up BMP file, for tests that write their own images.
#pragma once

#include <windows.h>

#include <vector>

namespace test_bmp {

using Bytes = std::vector<unsigned char>;

inline void Le16(Bytes& b, unsigned v) {
  b.push_back(static_cast<unsigned char>(v));
  b.push_back(static_cast<unsigned char>(v >> 8));
}
inline void Le32(Bytes& b, unsigned v) {
  Le16(b, v & 0xFFFF);
  Le16(b, v >> 16);
}

// w x h pixels, the colour of each from colourAt(x, y) (y = 0 is the top row).
template <class ColourAt>
Bytes Bmp24(int w, int h, ColourAt colourAt) {
  const int rowBytes = (w * 3 + 3) & ~3;
  Bytes b = {'B', 'M'};
  for (unsigned v : {54u + static_cast<unsigned>(rowBytes * h), 0u, 54u, 40u,
                     static_cast<unsigned>(w), static_cast<unsigned>(h)})
    Le32(b, v);
  Le16(b, 1);
  Le16(b, 24);
  for (unsigned v : {0u, static_cast<unsigned>(rowBytes * h), 2835u, 2835u, 0u, 0u}) Le32(b, v);
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const COLORREF c = colourAt(x, y);
      b.insert(b.end(), {GetBValue(c), GetGValue(c), GetRValue(c)});
    }
    b.resize(b.size() + (rowBytes - w * 3), 0);
  }
  return b;
}

}  // namespace test_bmp
