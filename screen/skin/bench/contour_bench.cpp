// How fast the window region of the main dialog's frame is made. One run times:
//   ours     CContourBitmap::CreateContourRegion
//   per-pixel the plain way, kept here only as the reference: GetPixel for every
//            pixel and one region subtracted per run of key pixels
//   floor    one GetDIBits read of all the frame's pixels, which any way of
//            looking at every pixel must pay: into a buffer that is already
//            there (the strict floor), and into a new one (what a single read
//            of a frame costs in practice)
// and prints the figures. The regions must be equal; the times never fail the run.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "clock.h"
#include "contour.h"

namespace {

constexpr int kFrameBitmap = 101;

double Now() { return test_support::NowMs(); }

// Best and median of `runs` timings in ms. The best is the figure compared: the
// machine may be busy with other work, which only ever adds time.
struct Timing {
  double best, median;
};
Timing Summary(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return Timing{times.front(), times[times.size() / 2]};
}
template <class F>
Timing Measure(int runs, F&& f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const double start = Now();
    f();
    times.push_back(Now() - start);
  }
  return Summary(times);
}

HRGN PerPixelRegion(HBITMAP bitmap, COLORREF key) {
  BITMAP bm{};
  GetObjectA(bitmap, sizeof(bm), &bm);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  HRGN region = CreateRectRgn(0, 0, bm.bmWidth, bm.bmHeight);
  for (int y = 0; y < bm.bmHeight; ++y) {
    bool inRun = false;
    int start = 0;
    for (int x = 0; x <= bm.bmWidth; ++x) {
      const bool match = x < bm.bmWidth && GetPixel(dc, x, y) == key;
      if (match && !inRun) {
        inRun = true;
        start = x;
      } else if (!match && inRun) {
        HRGN run = CreateRectRgn(start, y, x, y + 1);
        CombineRgn(region, region, run, RGN_DIFF);
        DeleteObject(run);
        inRun = false;
      }
    }
  }
  SelectObject(dc, previous);
  DeleteDC(dc);
  return region;
}

void ReadAllPixels(HBITMAP bitmap, std::vector<DWORD>& pixels) {
  BITMAP bm{};
  GetObjectA(bitmap, sizeof(bm), &bm);
  pixels.resize(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = bm.bmWidth;
  info.bmiHeader.biHeight = bm.bmHeight;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
}

TEST(ContourBench, FrameRegionOursPerPixelAndFloor) {
  CContourBitmap frame;
  // Loaded as the main dialog loads its frame: a bitmap resource of the program.
  ASSERT_TRUE(frame.Attach(LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kFrameBitmap))));
  const SIZE size = frame.GetSize();
  ASSERT_EQ(1024, size.cx);
  ASSERT_EQ(576, size.cy);

  HRGN mine = frame.CreateContourRegion();
  HRGN reference = PerPixelRegion(frame, kContourKeyColour);
  ASSERT_TRUE(mine);
  ASSERT_TRUE(reference);
  EXPECT_TRUE(EqualRgn(mine, reference)) << "the regions differ";
  RECT box{};
  EXPECT_EQ(COMPLEXREGION, GetRgnBox(mine, &box));
  const DWORD rects = GetRegionData(mine, 0, nullptr);
  DeleteObject(mine);
  DeleteObject(reference);

  // Floor and ours alternate, so that other work on the machine falls on both alike.
  std::vector<DWORD> pixels;
  std::vector<double> floorTimes, freshTimes, ourTimes;
  for (int i = 0; i < 101; ++i) {
    floorTimes.push_back(Measure(1, [&] { ReadAllPixels(frame, pixels); }).best);
    freshTimes.push_back(Measure(1, [&] {
      std::vector<DWORD> fresh;
      ReadAllPixels(frame, fresh);
    }).best);
    ourTimes.push_back(Measure(1, [&] { DeleteObject(frame.CreateContourRegion()); }).best);
  }
  const Timing floor = Summary(floorTimes);
  const Timing fresh = Summary(freshTimes);
  const Timing ours = Summary(ourTimes);
  const Timing perPixel =
      Measure(5, [&] { DeleteObject(PerPixelRegion(frame, kContourKeyColour)); });

  std::printf("frame 1024 x 576, region data %lu bytes; best (median) of the runs\n",
              static_cast<unsigned long>(rects));
  std::printf("floor, one read of all pixels: %8.3f ms (%8.3f)\n", floor.best, floor.median);
  std::printf("  the same into a new buffer:   %8.3f ms (%8.3f)\n", fresh.best, fresh.median);
  std::printf("ours, CreateContourRegion:     %8.3f ms (%8.3f) = %.2f x floor (goal 1.5), "
              "%.2f x a read into a new buffer\n",
              ours.best, ours.median, ours.best / floor.best, ours.best / fresh.best);
  std::printf("per-pixel reference:           %8.3f ms (%8.3f) = %.1f x floor = %.1f x ours\n",
              perPixel.best, perPixel.median, perPixel.best / floor.best,
              perPixel.best / ours.best);
  RecordProperty("floor_ms", std::to_string(floor.best));
  RecordProperty("fresh_read_ms", std::to_string(fresh.best));
  RecordProperty("ours_ms", std::to_string(ours.best));
  RecordProperty("per_pixel_ms", std::to_string(perPixel.best));
}

}  // namespace
