// CContourBitmap: a frame bitmap that draws itself and gives the window region of
// its shape, the bitmap minus every pixel of a key colour.
#pragma once

#include <windows.h>

#include "gdi.h"

// The colour that marks what lies outside a frame.
constexpr COLORREF kContourKeyColour = RGB(255, 0, 255);

class CContourBitmap : public CBitmap {
 public:
  CContourBitmap() = default;
  explicit CContourBitmap(HBITMAP bitmap) : CBitmap(bitmap) {}

  // GetSize (from CBitmap): width and height, {0, 0} with no bitmap attached.

  // Copies the whole bitmap to `dc` with its top-left corner at (x, y).
  // False without drawing when `dc` is null or no bitmap is attached.
  BOOL Draw(HDC dc, int x, int y) const;
  // Draw at x, x + width, x + 2 width, ... `count` times, through one memory DC
  // (a slider's fill is a column drawn a few hundred times per paint).
  BOOL DrawAcross(HDC dc, int x, int y, int count) const;

  // A new region (the caller owns it) of every non-magenta pixel; null with no bitmap.
  HRGN CreateContourRegion() const;
  // The same with the colour of pixel (x, y) as key; null with no bitmap or when
  // (x, y) lies outside it.
  HRGN CreateContourRegionAt(int x, int y) const;

 private:
  HRGN BuildRegion(bool keyFromPixel, int x, int y) const;
};
