// CContourBitmap under Wine: sizes, drawing, and regions checked pixel by pixel
// against the bitmap they came from.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "contour.h"
#include "gdi_objects.h"

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);
constexpr COLORREF kInk = RGB(20, 120, 60);

// A 32-bit top-down DIB section whose pixels the test fills.
HBITMAP MakeDib(int w, int h, int bits, void** pixels) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = static_cast<WORD>(bits);
  info.bmiHeader.biCompression = BI_RGB;
  return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, pixels, nullptr, 0);
}

DWORD Word(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

constexpr COLORREF kNearKey = RGB(254, 0, 255);

// A display-format bitmap (as LoadBitmapA gives) drawn from rows: '#' key, '.' ink,
// '~' one step from the key, any other letter a colour of its own.
HBITMAP Picture(const std::vector<std::string>& rows, COLORREF key = kKey) {
  const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
  void* bits = nullptr;
  HBITMAP dib = MakeDib(w, h, 32, &bits);
  auto* p = static_cast<DWORD*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const char c = rows[y][x];
      p[y * w + x] = c == '#'   ? Word(key)
                     : c == '.' ? Word(kInk)
                     : c == '~' ? Word(kNearKey)
                                : Word(RGB(c, 200, 7));
    }
  HDC screen = GetDC(nullptr);
  HBITMAP ddb = CreateCompatibleBitmap(screen, w, h);
  HDC from = CreateCompatibleDC(screen), to = CreateCompatibleDC(screen);
  HGDIOBJ a = SelectObject(from, dib), b = SelectObject(to, ddb);
  BitBlt(to, 0, 0, w, h, from, 0, 0, SRCCOPY);
  SelectObject(from, a);
  SelectObject(to, b);
  DeleteDC(from);
  DeleteDC(to);
  ReleaseDC(nullptr, screen);
  DeleteObject(dib);
  return ddb;
}

// Every pixel of the bitmap lies in the region exactly when it is not the key.
::testing::AssertionResult RegionIsShape(HRGN region, HBITMAP bitmap, COLORREF key) {
  if (!region) return ::testing::AssertionFailure() << "no region";
  BITMAP bm{};
  GetObjectA(bitmap, sizeof(bm), &bm);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  int wrong = 0;
  std::string first;
  for (int y = -1; y <= bm.bmHeight; ++y)
    for (int x = -1; x <= bm.bmWidth; ++x) {
      const bool inside = x >= 0 && y >= 0 && x < bm.bmWidth && y < bm.bmHeight;
      const bool expected = inside && GetPixel(dc, x, y) != key;
      if (expected != (PtInRegion(region, x, y) != FALSE) && wrong++ == 0)
        first = std::to_string(x) + "," + std::to_string(y);
    }
  SelectObject(dc, old);
  DeleteDC(dc);
  if (wrong) return ::testing::AssertionFailure() << wrong << " pixels wrong, first at " << first;
  return ::testing::AssertionSuccess();
}

struct Region {
  explicit Region(HRGN r) : h(r) {}
  ~Region() {
    if (h) DeleteObject(h);
  }
  HRGN h;
};

TEST(ContourBitmap, SizeAndDrawing) {
  CContourBitmap bitmap;
  EXPECT_EQ(0, bitmap.GetSize().cx);
  EXPECT_EQ(0, bitmap.GetSize().cy);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_FALSE(bitmap.Draw(dc, 0, 0)) << "nothing attached";
  EXPECT_EQ(nullptr, bitmap.CreateContourRegion());
  EXPECT_EQ(nullptr, bitmap.CreateContourRegionAt(0, 0));

  bitmap.Attach(Picture({"A.#", "..B"}));
  EXPECT_EQ(3, bitmap.GetSize().cx);
  EXPECT_EQ(2, bitmap.GetSize().cy);
  EXPECT_FALSE(bitmap.Draw(nullptr, 0, 0));
  void* bits = nullptr;
  HBITMAP target = MakeDib(8, 6, 32, &bits);
  HGDIOBJ old = SelectObject(dc, target);
  EXPECT_TRUE(bitmap.Draw(dc, 4, 3));
  EXPECT_EQ(RGB('A', 200, 7), GetPixel(dc, 4, 3));
  EXPECT_EQ(kKey, GetPixel(dc, 6, 3));
  EXPECT_EQ(RGB('B', 200, 7), GetPixel(dc, 6, 4));
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 7, 4)) << "nothing beyond the bitmap";
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 3, 3));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(target);
}

TEST(ContourBitmap, DrawAcrossPutsCopiesSideBySide) {
  CContourBitmap column;
  HDC dc = CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP target = MakeDib(12, 4, 32, &bits);
  HGDIOBJ old = SelectObject(dc, target);
  EXPECT_FALSE(column.DrawAcross(dc, 0, 0, 3)) << "nothing attached";
  column.Attach(Picture({"A", "B"}));  // one column, two rows
  EXPECT_TRUE(column.DrawAcross(dc, 3, 1, 5));
  for (int x = 3; x < 8; ++x) {
    EXPECT_EQ(RGB('A', 200, 7), GetPixel(dc, x, 1)) << x;
    EXPECT_EQ(RGB('B', 200, 7), GetPixel(dc, x, 2)) << x;
  }
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 2, 1)) << "nothing left of the first";
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 8, 1)) << "nor right of the last";
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 5, 3));
  EXPECT_TRUE(column.DrawAcross(dc, 9, 0, 0)) << "none to draw";
  EXPECT_EQ(RGB(0, 0, 0), GetPixel(dc, 9, 0));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(target);
}

TEST(ContourBitmap, RegionIsTheBitmapWithoutItsKeyPixels) {
  const std::vector<std::vector<std::string>> pictures = {
      {"....", "....", "...."},   // no key pixel: the full rectangle
      {"###", "###"},             // all key: empty
      {"....", "...#", "...."},   // key in the last column
      {"##A###"},                 // two runs one pixel apart leave that pixel
      {"##......##", "#........#", "...##.....", "...##..~..", "#........#", "##......##"},
  };
  for (const auto& rows : pictures) {
    CContourBitmap b(Picture(rows));
    Region r(b.CreateContourRegion());
    EXPECT_TRUE(RegionIsShape(r.h, b, kKey)) << rows[0];
  }
}

TEST(ContourBitmap, KeyFromAPixelAndPointsOutside) {
  CContourBitmap b(Picture({"GG.#", "G..G", "GGGG"}));
  Region r(b.CreateContourRegionAt(0, 0));
  EXPECT_TRUE(RegionIsShape(r.h, b, RGB('G', 200, 7))) << "top-left colour is the key";
  EXPECT_TRUE(PtInRegion(r.h, 3, 0)) << "magenta is an ordinary colour then";
  Region r2(b.CreateContourRegionAt(2, 1));
  EXPECT_TRUE(RegionIsShape(r2.h, b, kInk));
  for (POINT p : {POINT{-1, 0}, POINT{0, -1}, POINT{4, 0}, POINT{0, 3}}) {
    EXPECT_EQ(nullptr, b.CreateContourRegionAt(p.x, p.y)) << p.x << "," << p.y;
  }
}

TEST(ContourBitmap, SixteenBitPixelsStillMatchMagenta) {
  // A 16-bit DIB (5-5-5) cannot hold 255: magenta is stored as the nearest it has.
  void* bits = nullptr;
  CContourBitmap b(MakeDib(4, 1, 16, &bits));
  const WORD magenta = 0x7C1F, ink = 0x0340;
  auto* p = static_cast<WORD*>(bits);
  p[0] = p[3] = magenta;
  p[1] = p[2] = ink;
  Region r(b.CreateContourRegion());
  RECT box{};
  EXPECT_EQ(SIMPLEREGION, GetRgnBox(r.h, &box));
  EXPECT_EQ(1, box.left);
  EXPECT_EQ(3, box.right);
}

// Pictures larger than one read strip, against the per-pixel truth.
TEST(ContourBitmap, LargeRandomFrames) {
  std::mt19937 rng(3);
  for (const SIZE size : {SIZE{1024, 576}, SIZE{1500, 80}, SIZE{37, 900}}) {
    std::vector<std::string> rows(size.cy, std::string(size.cx, '.'));
    for (int blob = 0; blob < 60; ++blob) {
      const int x0 = rng() % size.cx, y0 = rng() % size.cy;
      const int w = 1 + rng() % 90, h = 1 + rng() % 40;
      for (int y = y0; y < std::min<int>(size.cy, y0 + h); ++y)
        for (int x = x0; x < std::min<int>(size.cx, x0 + w); ++x) rows[y][x] = blob % 5 ? '#' : 'Q';
    }
    CContourBitmap b(Picture(rows));
    Region r(b.CreateContourRegion());
    EXPECT_TRUE(RegionIsShape(r.h, b, kKey)) << size.cx << " x " << size.cy;
  }
}

TEST(ContourBitmap, RegionsLeaveNoGdiObjectsBehind) {
  auto count = [] { return test_support::LiveGdiObjects(); };
  std::vector<std::string> rows(40, std::string(40, '.'));
  for (int i = 0; i < 40; ++i) rows[i][i] = '#';  // 40 bands: several region pieces
  CContourBitmap b(Picture(rows));
  DeleteObject(b.CreateContourRegion());  // a process's first regions leave the system's own objects
  const int before = count();
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  ASSERT_EQ(before + 1, count()) << "the count sees one object more";
  DeleteObject(brush);
  for (int i = 0; i < 20; ++i) {
    DeleteObject(b.CreateContourRegion());
    DeleteObject(b.CreateContourRegionAt(1, 1));
  }
  EXPECT_EQ(before, count());
}

}  // namespace
