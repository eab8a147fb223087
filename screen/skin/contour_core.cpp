#include "contour_core.h"

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace contour {

ShapeBuilder::ShapeBuilder(std::int32_t width, std::uint32_t keyPixel, std::uint32_t mask)
    : m_width(width < 0 ? 0 : width), m_key(keyPixel & mask & kAllColourBits),
      m_mask(mask & kAllColourBits) {}

namespace {

// The runs are found a block of pixels at a time; a frame's rows are mostly long
// runs, so the search is what costs. SSE2 (always there on x86-64) compares 16
// pixels at once; elsewhere two pixels share a 64-bit word: a pixel is the key
// exactly when its 24 colour bits, masked and XORed with the key, are all zero,
// and adding 0x00FFFFFF to such a 24-bit lane carries into bit 24 exactly when
// the lane is not zero, never into the next lane.
class RunFinder {
 public:
  RunFinder(std::uint32_t key, std::uint32_t mask)
      : m_key(key), m_mask(mask), m_key2((std::uint64_t{key} << 32) | key),
        m_mask2((std::uint64_t{mask} << 32) | mask) {}

  // The first pixel from x on that is not the key (or width).
  std::int32_t SkipKey(const std::uint32_t* row, std::int32_t x, std::int32_t width) const {
#if defined(__SSE2__)
    const __m128i m = _mm_set1_epi32(static_cast<int>(m_mask));
    const __m128i k = _mm_set1_epi32(static_cast<int>(m_key));
    while (x + 16 <= width) {
      const __m128i low = _mm_and_si128(Equal(row + x, m, k), Equal(row + x + 4, m, k));
      const __m128i high = _mm_and_si128(Equal(row + x + 8, m, k), Equal(row + x + 12, m, k));
      const __m128i all = _mm_and_si128(low, high);
      if (_mm_movemask_epi8(all) != 0xFFFF) break;
      x += 16;
    }
#endif
    while (x + 2 <= width && ((Pair(row + x) & m_mask2) ^ m_key2) == 0) x += 2;
    while (x < width && (row[x] & m_mask) == m_key) ++x;
    return x;
  }

  // The first key pixel from x on (or width).
  std::int32_t SkipOther(const std::uint32_t* row, std::int32_t x, std::int32_t width) const {
#if defined(__SSE2__)
    const __m128i m = _mm_set1_epi32(static_cast<int>(m_mask));
    const __m128i k = _mm_set1_epi32(static_cast<int>(m_key));
    while (x + 16 <= width) {
      const __m128i low = _mm_or_si128(Equal(row + x, m, k), Equal(row + x + 4, m, k));
      const __m128i high = _mm_or_si128(Equal(row + x + 8, m, k), Equal(row + x + 12, m, k));
      const __m128i any = _mm_or_si128(low, high);
      if (_mm_movemask_epi8(any) != 0) break;
      x += 16;
    }
#endif
    while (x + 2 <= width &&
           ((((Pair(row + x) & m_mask2) ^ m_key2) + kLaneCarry) & kLaneBits) == kLaneBits) {
      x += 2;
    }
    while (x < width && (row[x] & m_mask) != m_key) ++x;
    return x;
  }

 private:
  static constexpr std::uint64_t kLaneCarry = 0x00FFFFFF00FFFFFFull;
  static constexpr std::uint64_t kLaneBits = 0x0100000001000000ull;

  static std::uint64_t Pair(const std::uint32_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof(v));
    return v;
  }
#if defined(__SSE2__)
  static __m128i Equal(const std::uint32_t* p, __m128i mask, __m128i key) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return _mm_cmpeq_epi32(_mm_and_si128(v, mask), key);
  }
#endif

  std::uint32_t m_key, m_mask;
  std::uint64_t m_key2, m_mask2;
};

}  // namespace

void ShapeBuilder::AddRow(const std::uint32_t* row) {
  // A row equal to the one before has its runs; rows of a frame often repeat.
  if (m_previous && m_y > 0 &&
      std::memcmp(row, m_previous, static_cast<std::size_t>(m_width) * sizeof(*row)) == 0) {
    m_previous = row;
    ++m_y;
    return;
  }
  m_previous = row;

  const RunFinder finder(m_key, m_mask);
  const std::int32_t width = m_width;
  m_row.clear();
  std::int32_t x = 0;
  while (x < width) {
    x = finder.SkipKey(row, x, width);
    if (x == width) break;
    const std::int32_t start = x;
    x = finder.SkipOther(row, x, width);
    m_row.push_back(start);
    m_row.push_back(x);
  }
  // A row shaped like the one above only makes the open band taller.
  if (m_row != m_band) {
    CloseBand();
    m_band.swap(m_row);
    m_bandTop = m_y;
  }
  ++m_y;
}

void ShapeBuilder::CloseBand() {
  for (std::size_t i = 0; i + 1 < m_band.size(); i += 2) {
    m_rects.push_back(Rect{m_band[i], m_bandTop, m_band[i + 1], m_y});
  }
  m_band.clear();
}

const std::vector<Rect>& ShapeBuilder::Finish() {
  CloseBand();
  m_bandTop = m_y;
  return m_rects;
}

std::vector<Rect> ShapeRects(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                             std::int32_t stride, std::uint32_t keyPixel, std::uint32_t mask) {
  ShapeBuilder builder(width, keyPixel, mask);
  if (pixels && width > 0) {
    for (std::int32_t y = 0; y < height; ++y) {
      builder.AddRow(pixels + static_cast<std::ptrdiff_t>(y) * stride);
    }
  }
  return builder.Finish();
}

}  // namespace contour
