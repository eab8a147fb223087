#include "contour.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "contour_core.h"

namespace {

// Pixels read per GetDIBits call. The pixels are read in strips into a buffer
// small enough to stay in the processor's cache (64 KB), where the shape builder
// finds them again at once; a whole frame in one buffer would cost a fresh 2 MB
// allocation and a second trip through memory.
constexpr std::int32_t kStripPixels = 1 << 14;
// Rectangles per ExtCreateRegion call. Some implementations (Wine's among them)
// add the rectangles of one call one by one, at a cost that grows with the square
// of their number; small pieces joined in pairs, as in a merge sort, keep the
// whole in n log n.
constexpr std::size_t kRectsPerPiece = 16;

HRGN RegionFromRects(const contour::Rect* rects, std::size_t count) {
  struct {
    RGNDATAHEADER header;
    RECT rects[kRectsPerPiece];
  } data;
  RGNDATAHEADER* header = &data.header;
  RECT* out = data.rects;
  RECT bound{rects[0].left, rects[0].top, rects[0].right, rects[0].bottom};
  for (std::size_t i = 0; i < count; ++i) {
    out[i] = RECT{rects[i].left, rects[i].top, rects[i].right, rects[i].bottom};
    bound.left = std::min(bound.left, out[i].left);
    bound.top = std::min(bound.top, out[i].top);
    bound.right = std::max(bound.right, out[i].right);
    bound.bottom = std::max(bound.bottom, out[i].bottom);
  }
  header->dwSize = sizeof(RGNDATAHEADER);
  header->iType = RDH_RECTANGLES;
  header->nCount = static_cast<DWORD>(count);
  header->nRgnSize = static_cast<DWORD>(count * sizeof(RECT));
  header->rcBound = bound;
  return ExtCreateRegion(nullptr, static_cast<DWORD>(sizeof(RGNDATAHEADER) + count * sizeof(RECT)),
                         reinterpret_cast<const RGNDATA*>(&data));
}

HRGN RegionFromRects(const std::vector<contour::Rect>& rects) {
  if (rects.empty()) return CreateRectRgn(0, 0, 0, 0);
  std::vector<HRGN> pieces;
  pieces.reserve(rects.size() / kRectsPerPiece + 1);
  bool failed = false;
  for (std::size_t first = 0; first < rects.size() && !failed; first += kRectsPerPiece) {
    HRGN piece = RegionFromRects(rects.data() + first,
                                 std::min(kRectsPerPiece, rects.size() - first));
    failed = !piece;
    if (piece) pieces.push_back(piece);
  }
  // Neighbours joined level by level; the first of each pair keeps the union.
  for (std::size_t step = 1; step < pieces.size() && !failed; step *= 2) {
    for (std::size_t i = 0; i + step < pieces.size(); i += 2 * step) {
      if (CombineRgn(pieces[i], pieces[i], pieces[i + step], RGN_OR) == ERROR) failed = true;
    }
  }
  for (std::size_t i = failed ? 0 : 1; i < pieces.size(); ++i) DeleteObject(pieces[i]);
  return failed ? nullptr : pieces[0];
}

}  // namespace

BOOL CContourBitmap::Draw(HDC dc, int x, int y) const {
  if (!dc || !m_hObject) return FALSE;
  const SIZE size = GetSize();
  CMemoryDC source(dc);
  if (!source) return FALSE;
  ScopedSelect select(source, m_hObject);
  return BitBlt(dc, x, y, size.cx, size.cy, source, 0, 0, SRCCOPY);
}

BOOL CContourBitmap::DrawAcross(HDC dc, int x, int y, int count) const {
  if (!dc || !m_hObject) return FALSE;
  if (count <= 0) return TRUE;
  const SIZE size = GetSize();
  CMemoryDC source(dc);
  if (!source) return FALSE;
  ScopedSelect select(source, m_hObject);
  BOOL drawn = TRUE;
  for (int i = 0; i < count; ++i)
    drawn = BitBlt(dc, x + i * size.cx, y, size.cx, size.cy, source, 0, 0, SRCCOPY) && drawn;
  return drawn;
}

HRGN CContourBitmap::CreateContourRegion() const { return BuildRegion(false, 0, 0); }

HRGN CContourBitmap::CreateContourRegionAt(int x, int y) const {
  return BuildRegion(true, x, y);
}

// Reads each pixel once, as 32-bit words, strip by strip, and hands the rows to
// the shape builder; the region is then made from its rectangles.
HRGN CContourBitmap::BuildRegion(bool keyFromPixel, int keyX, int keyY) const {
  BITMAP bm{};
  if (!m_hObject || !GetObjectA(m_hObject, sizeof(bm), &bm)) return nullptr;
  const std::int32_t width = bm.bmWidth;
  const std::int32_t height = bm.bmHeight;
  if (keyFromPixel && (keyX < 0 || keyY < 0 || keyX >= width || keyY >= height)) return nullptr;
  if (width <= 0 || height <= 0) return CreateRectRgn(0, 0, width, height);

  CMemoryDC dc(nullptr);
  if (!dc) return nullptr;
  const std::int32_t stripRows = std::max<std::int32_t>(1, kStripPixels / width);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) *
                                    std::min(stripRows, height));
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // bottom-up: scan line 0 is the last row
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;

  std::uint32_t key = contour::PixelFromColorRef(kContourKeyColour);
  if (keyFromPixel) {
    const UINT scan = static_cast<UINT>(height - 1 - keyY);
    if (GetDIBits(dc, static_cast<HBITMAP>(m_hObject), scan, 1, pixels.data(), &info,
                  DIB_RGB_COLORS) != 1) {
      return nullptr;
    }
    key = pixels[static_cast<std::size_t>(keyX)];
  }
  contour::ShapeBuilder builder(width, key, contour::CompareMaskForDepth(bm.bmBitsPixel));

  for (std::int32_t top = 0; top < height; top += stripRows) {
    const std::int32_t rows = std::min(stripRows, height - top);
    const UINT firstScan = static_cast<UINT>(height - top - rows);
    if (GetDIBits(dc, static_cast<HBITMAP>(m_hObject), firstScan, static_cast<UINT>(rows),
                  pixels.data(), &info, DIB_RGB_COLORS) != rows) {
      return nullptr;
    }
    // The buffer is bottom-up: its last row is the strip's top row.
    builder.NewStrip();
    for (std::int32_t r = rows - 1; r >= 0; --r) {
      builder.AddRow(pixels.data() + static_cast<std::size_t>(r) * width);
    }
  }
  return RegionFromRects(builder.Finish());
}
