#include "contour_core.h"

#include <cstddef>

namespace contour {

ShapeBuilder::ShapeBuilder(std::int32_t width, std::uint32_t keyPixel, std::uint32_t mask)
    : m_width(width < 0 ? 0 : width), m_key(keyPixel & mask), m_mask(mask) {}

void ShapeBuilder::AddRow(const std::uint32_t* row) {
  m_row.clear();
  std::int32_t x = 0;
  while (x < m_width) {
    while (x < m_width && (row[x] & m_mask) == m_key) ++x;
    if (x == m_width) break;
    const std::int32_t start = x;
    while (x < m_width && (row[x] & m_mask) != m_key) ++x;
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
