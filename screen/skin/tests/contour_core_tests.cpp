// The shape of a keyed bitmap as banded rectangles.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "contour_core.h"

using contour::Rect;
using contour::ShapeRects;

namespace {

constexpr std::uint32_t K = 0x00FF00FF;  // magenta as a pixel word
constexpr std::uint32_t A = 0x00102030;
constexpr std::uint32_t B = 0x00FE00FF;  // one step from magenta: not the key

// Rows drawn as text: '#' key, '.' other.
std::vector<std::uint32_t> Picture(const std::vector<std::string>& rows) {
  std::vector<std::uint32_t> pixels;
  for (const std::string& row : rows) {
    for (char c : row) pixels.push_back(c == '#' ? K : A);
  }
  return pixels;
}

std::vector<Rect> Shape(const std::vector<std::string>& rows) {
  const std::vector<std::uint32_t> p = Picture(rows);
  const auto w = static_cast<std::int32_t>(rows[0].size());
  return ShapeRects(p.data(), w, static_cast<std::int32_t>(rows.size()), w, K);
}

TEST(ContourShape, CutsEveryKeyRunAndJoinsEqualRowsIntoBands) {
  EXPECT_EQ((std::vector<Rect>{{0, 0, 4, 3}}), Shape({"....", "....", "...."}));
  EXPECT_TRUE(Shape({"###", "###"}).empty());
  EXPECT_EQ((std::vector<Rect>{{0, 0, 4, 1}, {0, 1, 3, 2}, {0, 2, 4, 3}}),
            Shape({"....", "...#", "...."}))
      << "a key pixel in the last column is cut (the run closes at the edge)";
  EXPECT_EQ((std::vector<Rect>{{2, 0, 3, 1}}), Shape({"##.###"}));
  const std::vector<Rect> expected = {
      {1, 0, 5, 1},
      {0, 1, 1, 4}, {2, 1, 4, 4}, {5, 1, 6, 4},
      {1, 4, 5, 6},
  };
  EXPECT_EQ(expected, Shape({"#....#", ".#..#.", ".#..#.", ".#..#.", "#....#", "#....#"}));
  std::uint32_t one = A;
  EXPECT_TRUE(ShapeRects(nullptr, 10, 10, 10, K).empty());
  EXPECT_TRUE(ShapeRects(&one, -3, 1, 1, K).empty());
}

TEST(ContourShape, ComparesColourOnlyAndHonoursTheDepthMask) {
  // The top byte (alpha or padding) is not part of the colour.
  std::vector<std::uint32_t> row = {K | 0xFF000000u, A, B, K | 0x12000000u};
  EXPECT_EQ((std::vector<Rect>{{1, 0, 3, 1}}), ShapeRects(row.data(), 4, 1, 4, K));

  // A 16-bit bitmap holds magenta as 0xF800F8: the mask lets the key match it,
  // and B, which quantises to the same value, goes with it.
  std::vector<std::uint32_t> quantised = {0x00F800F8, A, 0x00F800F8};
  const std::uint32_t mask = contour::CompareMaskForDepth(16);
  EXPECT_EQ((std::vector<Rect>{{1, 0, 2, 1}}), ShapeRects(quantised.data(), 3, 1, 3, K, mask));
  EXPECT_EQ((std::vector<Rect>{{0, 0, 3, 1}}), ShapeRects(quantised.data(), 3, 1, 3, K))
      << "exact comparison at 32 bits";
  EXPECT_EQ(contour::kAllColourBits, contour::CompareMaskForDepth(24));
  EXPECT_EQ(contour::kAllColourBits, contour::CompareMaskForDepth(32));

  EXPECT_EQ(K, contour::PixelFromColorRef(0x00FF00FF));
  EXPECT_EQ(0x00010203u, contour::PixelFromColorRef(0x00030201));  // RGB(1, 2, 3)
}

// Every pixel is covered by exactly one rectangle when it is not the key, by none
// when it is; bands never interleave. Random pictures, wide enough for the block
// comparisons, with random top bytes and a row stride wider than the picture,
// so reading past a row would show.
TEST(ContourShape, RandomPicturesAreCoveredExactly) {
  std::mt19937 rng(7);
  for (int round = 0; round < 1000; ++round) {
    const int w = 1 + static_cast<int>(rng() % 90), h = 1 + static_cast<int>(rng() % 30);
    const int stride = w + 3;
    const unsigned density = rng() % 5;  // from none to mostly key
    std::vector<std::uint32_t> p(static_cast<size_t>(stride) * h, K);
    for (int y = 0; y < h; ++y) {
      // Repeat the row above now and then, so bands form.
      if (y > 0 && rng() % 3 == 0) {
        std::copy(p.begin() + (y - 1) * stride, p.begin() + y * stride, p.begin() + y * stride);
        continue;
      }
      // Runs of one kind, as frames have them, so blocks of key and of others occur.
      for (int x = 0; x < w;) {
        const std::uint32_t kind = rng() % 4 < density ? K : (rng() % 2 ? A : B);
        for (int n = 1 + static_cast<int>(rng() % 40); n > 0 && x < w; --n, ++x)
          p[y * stride + x] = kind | (rng() % 3 == 0 ? (rng() << 24) : 0u);
      }
    }
    const std::vector<Rect> rects = ShapeRects(p.data(), w, h, stride, K);
    std::vector<int> cover(static_cast<size_t>(w) * h, 0);
    for (size_t i = 0; i < rects.size(); ++i) {
      const Rect& r = rects[i];
      ASSERT_TRUE(r.left >= 0 && r.left < r.right && r.right <= w);
      ASSERT_TRUE(r.top >= 0 && r.top < r.bottom && r.bottom <= h);
      if (i > 0) {
        const Rect& q = rects[i - 1];
        const bool sameBand = q.top == r.top && q.bottom == r.bottom && q.right < r.left;
        ASSERT_TRUE(sameBand || q.bottom <= r.top) << "rectangles out of band order";
      }
      for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) ++cover[y * w + x];
    }
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ((p[y * stride + x] & 0x00FFFFFF) == K ? 0 : 1, cover[y * w + x])
            << "round " << round << " pixel " << x << "," << y;
  }
}

TEST(ContourShape, RowByRowAndThroughOneReusedStripBuffer) {
  const std::vector<std::string> rows = {"#..#", "#..#", "....", "....", "##..", "#..#"};
  const std::vector<std::uint32_t> p = Picture(rows);
  contour::ShapeBuilder direct(4, K);
  for (int y = 0; y < 6; ++y) direct.AddRow(p.data() + y * 4);
  EXPECT_EQ(Shape(rows), direct.Finish());

  // Each row read into the same buffer, as strips of one row would be: the
  // builder must not take the refilled buffer for a repeat of the row before.
  contour::ShapeBuilder strips(4, K);
  std::vector<std::uint32_t> buffer(4);
  for (int y = 0; y < 6; ++y) {
    std::copy(p.begin() + y * 4, p.begin() + y * 4 + 4, buffer.begin());
    strips.NewStrip();
    strips.AddRow(buffer.data());
  }
  EXPECT_EQ(Shape(rows), strips.Finish());
}

}  // namespace
