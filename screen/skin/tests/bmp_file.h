// The bytes of BMP files, for tests that write their own images.
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

// w x h pixels of 32 bits, 0xAARRGGBB from argbAt(x, y) (y = 0 is the top row).
// With an alpha mask the file has a V4 header whose bit fields name the alpha
// byte (straight alpha); without one it is a plain 32-bit file whose fourth
// byte means nothing. A negative height writes the rows top-down.
template <class ArgbAt>
Bytes Bmp32(int w, int h, bool alphaMask, ArgbAt argbAt) {
  const int rows = h < 0 ? -h : h;
  const unsigned headerSize = alphaMask ? 108u : 40u;
  const unsigned pixels = static_cast<unsigned>(w * rows * 4);
  Bytes b = {'B', 'M'};
  for (unsigned v : {14u + headerSize + pixels, 0u, 14u + headerSize, headerSize,
                     static_cast<unsigned>(w), static_cast<unsigned>(h)})
    Le32(b, v);
  Le16(b, 1);
  Le16(b, 32);
  for (unsigned v : {alphaMask ? 3u : 0u, pixels, 2835u, 2835u, 0u, 0u}) Le32(b, v);
  if (alphaMask) {
    for (unsigned v : {0x00FF0000u, 0x0000FF00u, 0x000000FFu, 0xFF000000u, 0x73524742u}) Le32(b, v);
    b.resize(14 + headerSize, 0);
  }
  for (int i = 0; i < rows; ++i) {
    const int y = h < 0 ? i : rows - 1 - i;
    for (int x = 0; x < w; ++x) Le32(b, argbAt(x, y));
  }
  return b;
}

}  // namespace test_bmp
