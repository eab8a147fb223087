#include "images.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "gdi.h"
#include "gdiplus_late.h"
#include "images_core.h"

// GDI+ through its flat interface.
namespace gp = gdiplus_late;

namespace {

// A device context of the whole display, deleted at the end of the scope.
class DisplayDC {
 public:
  DisplayDC() : m_hDC(CreateDCA("DISPLAY", nullptr, nullptr, nullptr)) {}
  ~DisplayDC() {
    if (m_hDC) DeleteDC(m_hDC);
  }
  DisplayDC(const DisplayDC&) = delete;
  DisplayDC& operator=(const DisplayDC&) = delete;
  operator HDC() const { return m_hDC; }

 private:
  HDC m_hDC;
};

// Owners of the GDI+ objects one operation makes.
struct GpImageOwner {
  Gdiplus::GpImage* p = nullptr;
  ~GpImageOwner() {
    if (p) gp::GdipDisposeImage(p);
  }
};
struct GpBitmapOwner {
  Gdiplus::GpBitmap* p = nullptr;
  ~GpBitmapOwner() {
    if (p) gp::GdipDisposeImage(p);
  }
};
struct GpGraphicsOwner {
  Gdiplus::GpGraphics* p = nullptr;
  ~GpGraphicsOwner() {
    if (p) gp::GdipDeleteGraphics(p);
  }
};

bool BitmapSize(HBITMAP bitmap, BITMAP* bm) {
  *bm = BITMAP{};
  return bitmap && GetObjectA(bitmap, sizeof(*bm), bm) == sizeof(*bm);
}

// The largest file a raw bitmap can come from: the largest picture at 32 bits,
// its header and some slack.
constexpr std::uint64_t kMaxRawFileBytes =
    static_cast<std::uint64_t>(images::kMaxPixels) * 4 + images::kHeaderBytes;

// The leading bytes of a regular file that the header checks look at; a bitmap
// file ("BM") is read whole, since an uncompressed one needs no decoder at all.
// False when it cannot be read.
bool ReadFileStart(const char* path, std::vector<std::uint8_t>* out) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) size.QuadPart = 0;
  const std::uint64_t total = static_cast<std::uint64_t>(size.QuadPart);
  out->resize(static_cast<std::size_t>(std::min<std::uint64_t>(total, images::kHeaderBytes)));
  DWORD got = 0;
  BOOL ok = out->empty() || ReadFile(file, out->data(), static_cast<DWORD>(out->size()), &got, nullptr);
  out->resize(ok ? got : 0);
  if (ok && out->size() >= 2 && (*out)[0] == 'B' && (*out)[1] == 'M' && total > out->size() &&
      total <= kMaxRawFileBytes) {
    const std::size_t have = out->size();
    out->resize(static_cast<std::size_t>(total));
    ok = ReadFile(file, out->data() + have, static_cast<DWORD>(total - have), &got, nullptr);
    out->resize(ok ? have + got : have);
  }
  CloseHandle(file);
  return ok != FALSE;
}

// An uncompressed bitmap read straight into a new 32-bit DIB, pixel for pixel as
// the decoder would hand it over; null when `bytes` are not such a file.
HBITMAP RawBitmapFrom(const std::vector<std::uint8_t>& bytes) {
  const images::RawBitmap layout = images::ReadRawBitmap(bytes.data(), bytes.size());
  if (!layout.usable) return nullptr;
  HBITMAP bitmap = nullptr;
  void* bits = nullptr;
  // Bottom-up, as the decoder's bitmaps are.
  if (!CreateDib32(layout.width, layout.height, &bitmap, &bits) || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return nullptr;
  }
  auto* out = static_cast<std::uint32_t*>(bits);
  for (std::int32_t y = 0; y < layout.height; ++y) {
    const std::int32_t fileRow = layout.topDown ? y : layout.height - 1 - y;
    images::ConvertRawRow(layout, bytes.data() + layout.pixelOffset +
                                      static_cast<std::size_t>(fileRow) * layout.stride,
                          out + static_cast<std::size_t>(layout.height - 1 - y) * layout.width);
  }
  return bitmap;
}

}  // namespace

bool GdiplusRuntime::Start() {
  CSingleLock lock(m_lock);
  if (m_token) return true;
  const gdiplus_late::Entries* gdiplus = gdiplus_late::Bound();
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, thread and codecs on
  ULONG_PTR token = 0;
  if (!gdiplus || gdiplus->GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  m_token = token;
  return true;
}

void GdiplusRuntime::Stop() {
  CSingleLock lock(m_lock);
  if (!m_token) return;
  gdiplus_late::Bound()->GdiplusShutdown(m_token);
  m_token = 0;
}

bool GdiplusRuntime::IsRunning() const {
  CSingleLock lock(m_lock);
  return m_token != 0;
}

// A bottom-up copy, whatever the source's row order.
HBITMAP CopyDib32(HBITMAP source) {
  DIBSECTION ds{};
  if (GetObjectA(source, sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBitsPixel != 32) return nullptr;
  HBITMAP copy = nullptr;
  void* bits = nullptr;
  if (!ds.dsBm.bmBits || !CreateDib32(ds.dsBm.bmWidth, ds.dsBm.bmHeight, &copy, &bits) || !bits)
    return nullptr;
  // Row by row into the copy's bottom-up order: a skin hands out many copies at
  // start-up, and reading each through a device context costs more.
  ::GdiFlush();
  const std::size_t stride = static_cast<std::size_t>(ds.dsBm.bmWidth) * 4;
  const int rows = ds.dsBm.bmHeight;
  const bool sourceBottomUp = ds.dsBmih.biHeight > 0;
  const auto* from = static_cast<const std::uint8_t*>(ds.dsBm.bmBits);
  auto* to = static_cast<std::uint8_t*>(bits);
  for (int y = 0; y < rows; ++y) {
    const std::size_t sourceRow = static_cast<std::size_t>(sourceBottomUp ? y : rows - 1 - y);
    std::memcpy(to + y * stride, from + sourceRow * ds.dsBm.bmWidthBytes, stride);
  }
  return copy;
}

namespace {

thread_local ImageDecodeScope* t_decodeScope = nullptr;

HBITMAP DecodeImage(const char* path) {
  if (!path || !*path || std::strlen(path) >= MAX_PATH) return nullptr;
  const DWORD attributes = GetFileAttributesA(path);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return nullptr;  // GDI+ is not touched
  }
  std::vector<std::uint8_t> head;
  if (!ReadFileStart(path, &head) || !images::MayDecode(head.data(), head.size())) {
    return nullptr;
  }
  if (HBITMAP raw = RawBitmapFrom(head)) return raw;

  wchar_t widePath[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH)) return nullptr;

  GpImageOwner image;
  if (gp::GdipLoadImageFromFile(widePath, &image.p) != Gdiplus::Ok || !image.p) return nullptr;
  UINT width = 0, height = 0;
  gp::GdipGetImageWidth(image.p, &width);
  gp::GdipGetImageHeight(image.p, &height);
  if (!images::IsAcceptableSize(width, height)) return nullptr;

  // A picture without transparency is handed over as decoded: drawn at its own
  // size onto a transparent canvas it would come out the same, at the cost of a
  // pass over every pixel.
  Gdiplus::ImageType type = Gdiplus::ImageTypeUnknown;
  Gdiplus::PixelFormat format = 0;
  if (gp::GdipGetImageType(image.p, &type) == Gdiplus::Ok && type == Gdiplus::ImageTypeBitmap &&
      gp::GdipGetImagePixelFormat(image.p, &format) == Gdiplus::Ok &&
      !(format & (PixelFormatAlpha | PixelFormatPAlpha | PixelFormatIndexed))) {
    HBITMAP direct = nullptr;
    if (gp::GdipCreateHBITMAPFromBitmap(reinterpret_cast<Gdiplus::GpBitmap*>(image.p), &direct, 0) ==
        Gdiplus::Ok) {
      return direct;
    }
  }

  GpBitmapOwner canvas;
  if (gp::GdipCreateBitmapFromScan0(static_cast<INT>(width), static_cast<INT>(height), 0,
                                    PixelFormat32bppARGB, nullptr, &canvas.p) != Gdiplus::Ok) {
    return nullptr;
  }
  Gdiplus::GpStatus drawn = Gdiplus::GenericError;
  {
    GpGraphicsOwner graphics;
    if (gp::GdipGetImageGraphicsContext(canvas.p, &graphics.p) == Gdiplus::Ok) {
      gp::GdipSetInterpolationMode(graphics.p, Gdiplus::InterpolationModeHighQualityBicubic);
      drawn = gp::GdipDrawImageRectI(graphics.p, image.p, 0, 0, static_cast<INT>(width),
                                     static_cast<INT>(height));
    }
  }
  HBITMAP result = nullptr;
  if (drawn == Gdiplus::Ok &&
      gp::GdipCreateHBITMAPFromBitmap(canvas.p, &result, 0) != Gdiplus::Ok) {
    result = nullptr;
  }
  return result;
}

}  // namespace

HBITMAP LoadImageAsBitmap(const char* path) {
  ImageDecodeScope* scope = t_decodeScope;
  if (scope && path) {
    if (HBITMAP copy = scope->CopyOf(path)) return copy;
  }
  HBITMAP result = DecodeImage(path);
  if (scope && result) scope->Keep(path, CopyDib32(result));
  return result;
}

ImageLoadAhead::~ImageLoadAhead() {
  if (HBITMAP unused = Take()) DeleteObject(unused);
}

bool ImageLoadAhead::Start(const char* path) {
  if (HBITMAP unused = Take()) DeleteObject(unused);
  m_path = path ? path : "";
  m_pending = true;
  return m_thread.Start(&ImageLoadAhead::Run, this);
}

UINT ImageLoadAhead::Run(LPVOID self) {
  auto* load = static_cast<ImageLoadAhead*>(self);
  load->m_picture = LoadImageAsBitmap(load->m_path.c_str());
  return 0;
}

HBITMAP ImageLoadAhead::Take() {
  if (!m_pending) return nullptr;
  m_pending = false;
  if (m_thread.Handle()) {
    m_thread.Join();
    m_thread.Close();
  } else {
    m_picture = LoadImageAsBitmap(m_path.c_str());  // the thread could not be made
  }
  HBITMAP picture = m_picture;
  m_picture = nullptr;
  return picture;
}

ImageDecodeScope::ImageDecodeScope() : m_outer(t_decodeScope) { t_decodeScope = this; }

ImageDecodeScope::~ImageDecodeScope() {
  for (const Entry& e : m_decoded) {
    DeleteObject(e.picture);
    for (HBITMAP copy : e.ahead) DeleteObject(copy);
  }
  t_decodeScope = m_outer;
}

HBITMAP ImageDecodeScope::CopyOf(const char* path) {
  for (Entry& e : m_decoded) {
    if (e.path != path) continue;
    if (e.ahead.empty()) return CopyDib32(e.picture);
    HBITMAP copy = e.ahead.back();
    e.ahead.pop_back();
    return copy;
  }
  return nullptr;
}

void ImageDecodeScope::Keep(const char* path, HBITMAP decoded, std::vector<HBITMAP> copiesMadeAhead) {
  if (decoded) {
    m_decoded.push_back(Entry{path, decoded, std::move(copiesMadeAhead)});
  } else {
    for (HBITMAP copy : copiesMadeAhead) DeleteObject(copy);
  }
}

bool CreateDib32(int width, int height, HBITMAP* bitmap, void** bits) {
  if (bits) *bits = nullptr;
  if (!bitmap) return false;  // nobody to hand a DIB to
  HBITMAP made = nullptr;
  void* madeBits = nullptr;
  const std::int64_t rows = height < 0 ? -std::int64_t{height} : std::int64_t{height};
  if (images::IsAcceptableSize(width, rows)) {
    BITMAPINFO info{};
    BITMAPINFOHEADER& h = info.bmiHeader;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;  // negative: top-down
    h.biPlanes = 1;
    h.biBitCount = 32;
    h.biCompression = BI_RGB;
    h.biXPelsPerMeter = 100;
    h.biYPelsPerMeter = 100;
    // Colours given as RGB need no device context; making one of the display
    // for each bitmap would cost more than the bitmap.
    made = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &madeBits, nullptr, 0);
  }
  *bitmap = made;
  if (!made) {
    OutputDebugStringW(L"\n(TV Setting) memory not enough");
    return false;
  }
  if (bits) *bits = madeBits;
  return true;
}

HBITMAP ScaleBitmap(HBITMAP source, int width, int height) {
  BITMAP bm;
  if (!source || !BitmapSize(source, &bm)) return nullptr;
  if (!images::IsAcceptableSize(width, height)) return nullptr;
  HBITMAP target = nullptr;
  if (!CreateDib32(width, height, &target, nullptr)) return nullptr;

  Gdiplus::GpStatus drawn = Gdiplus::GenericError;
  {
    CMemoryDC targetDC(nullptr);
    ScopedSelect selectTarget(targetDC, target);
    GpBitmapOwner picture;
    GpGraphicsOwner graphics;
    if (targetDC &&
        gp::GdipCreateBitmapFromHBITMAP(source, nullptr, &picture.p) == Gdiplus::Ok &&
        gp::GdipCreateFromHDC(targetDC, &graphics.p) == Gdiplus::Ok) {
      gp::GdipSetInterpolationMode(graphics.p, Gdiplus::InterpolationModeLowQuality);
      drawn = gp::GdipDrawImageRectRectI(graphics.p, picture.p, 0, 0, width, height, 0, 0,
                                         bm.bmWidth, bm.bmHeight, Gdiplus::UnitPixel, nullptr,
                                         nullptr, nullptr);
    }
  }
  // A scaled picture that was never drawn is no picture: say so.
  if (drawn != Gdiplus::Ok) {
    DeleteObject(target);
    return nullptr;
  }
  return target;
}

PictureScaler::~PictureScaler() { Reset(nullptr); }

void PictureScaler::Reset(HBITMAP source) {
  if (m_picture) gp::GdipDisposeImage(static_cast<Gdiplus::GpBitmap*>(m_picture));
  m_picture = nullptr;
  m_source = nullptr;
  m_width = m_height = 0;
  BITMAP bm;
  Gdiplus::GpBitmap* picture = nullptr;
  if (!source || !BitmapSize(source, &bm) ||
      gp::GdipCreateBitmapFromHBITMAP(source, nullptr, &picture) != Gdiplus::Ok) {
    return;
  }
  m_picture = picture;
  m_source = source;
  m_width = bm.bmWidth;
  m_height = bm.bmHeight;
}

HBITMAP PictureScaler::ScaledAndCropped(int width, int height, int cropWidth,
                                        int cropHeight) const {
  if (!m_picture || !images::IsAcceptableSize(width, height) ||
      !images::CropFits(width, height, cropWidth, cropHeight)) {
    return nullptr;
  }
  HBITMAP target = nullptr;
  void* bits = nullptr;
  if (!CreateDib32(cropWidth, cropHeight, &target, &bits)) return nullptr;
  bool drawn = false;
  if (width == m_width && height == m_height) {
    // At its own size the decoder draws every pixel as it is, opaque.
    // Only the picture's top cropHeight rows are read: bottom-up, they are its
    // last scan lines, and the crop's rows in the same order.
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> top(static_cast<std::size_t>(width) * cropHeight);
    CMemoryDC dc(nullptr);
    if (dc && GetDIBits(dc, m_source, static_cast<UINT>(height - cropHeight),
                        static_cast<UINT>(cropHeight), top.data(), &info,
                        DIB_RGB_COLORS) == cropHeight) {
      auto* out = static_cast<std::uint32_t*>(bits);
      for (int y = 0; y < cropHeight; ++y) {
        const std::uint32_t* row = top.data() + static_cast<std::size_t>(y) * width;
        for (int x = 0; x < cropWidth; ++x) out[y * cropWidth + x] = row[x] | 0xFF000000u;
      }
      drawn = true;
    }
  } else {
    // Drawn onto a target of the crop's size: the decoder computes each pixel from
    // its own place alone, so the pixels kept are those of the whole scaled picture.
    CMemoryDC targetDC(nullptr);
    ScopedSelect selectTarget(targetDC, target);
    GpGraphicsOwner graphics;
    if (targetDC && gp::GdipCreateFromHDC(targetDC, &graphics.p) == Gdiplus::Ok) {
      gp::GdipSetInterpolationMode(graphics.p, Gdiplus::InterpolationModeLowQuality);
      drawn = gp::GdipDrawImageRectRectI(graphics.p, static_cast<Gdiplus::GpBitmap*>(m_picture), 0,
                                         0, width, height, 0, 0, m_width, m_height,
                                         Gdiplus::UnitPixel, nullptr, nullptr,
                                         nullptr) == Gdiplus::Ok;
    }
  }
  if (!drawn) {
    DeleteObject(target);
    return nullptr;
  }
  return target;
}

HBITMAP CropBitmap(HBITMAP source, int width, int height) {
  BITMAP bm;
  if (!source || !BitmapSize(source, &bm)) return nullptr;
  if (!images::CropFits(bm.bmWidth, bm.bmHeight, width, height)) return nullptr;
  HBITMAP target = nullptr;
  if (!CreateDib32(width, height, &target, nullptr)) return nullptr;
  const int rows = height < 0 ? -height : height;
  BOOL copied = FALSE;
  {
    CMemoryDC sourceDC(nullptr), targetDC(nullptr);
    ScopedSelect selectSource(sourceDC, source);
    ScopedSelect selectTarget(targetDC, target);
    if (sourceDC && targetDC) {
      const int previousMode = SetStretchBltMode(targetDC, COLORONCOLOR);
      copied = StretchBlt(targetDC, 0, 0, width, rows, sourceDC, 0, 0, width, rows, SRCCOPY);
      SetStretchBltMode(targetDC, previousMode);
    }
  }
  if (!copied) {
    DeleteObject(target);
    return nullptr;
  }
  return target;
}

HBITMAP CopyBitmap(HBITMAP source) {
  BITMAP bm;
  if (!source || !BitmapSize(source, &bm)) return nullptr;
  CClientDC screen(nullptr);  // the screen's: far cheaper than a new display context
  HBITMAP target = CreateCompatibleBitmap(screen, bm.bmWidth, bm.bmHeight);
  if (!target) return nullptr;
  BOOL copied = FALSE;
  {
    CMemoryDC sourceDC(screen), targetDC(screen);
    ScopedSelect selectSource(sourceDC, source);
    ScopedSelect selectTarget(targetDC, target);
    if (sourceDC && targetDC) {
      copied = BitBlt(targetDC, 0, 0, bm.bmWidth, bm.bmHeight, sourceDC, 0, 0, SRCCOPY);
    }
  }
  if (!copied) {
    DeleteObject(target);
    return nullptr;
  }
  return target;
}

HBITMAP ComposeMaskedBitmap(HBITMAP image, HBITMAP mask, int width, int height) {
  if (!image || !mask || !images::IsAcceptableSize(width, height)) return nullptr;
  DisplayDC display;
  if (!display) return nullptr;
  HBITMAP target = CreateCompatibleBitmap(display, width, height);
  if (!target) return nullptr;
  BOOL ok = FALSE;
  {
    const int previousMode = SetBkMode(display, TRANSPARENT);
    CMemoryDC imageDC(display), maskDC(display), targetDC(display);
    ScopedSelect selectImage(imageDC, image);
    ScopedSelect selectMask(maskDC, mask);
    ScopedSelect selectTarget(targetDC, target);
    if (imageDC && maskDC && targetDC) {
      // Display, then image XOR, mask AND, image XOR: the image where the mask is
      // black, the display where it is white.
      ok = BitBlt(targetDC, 0, 0, width, height, display, 0, 0, SRCCOPY) &&
           BitBlt(targetDC, 0, 0, width, height, imageDC, 0, 0, SRCINVERT) &&
           BitBlt(targetDC, 0, 0, width, height, maskDC, 0, 0, SRCAND) &&
           BitBlt(targetDC, 0, 0, width, height, imageDC, 0, 0, SRCINVERT);
    }
    SetBkMode(display, previousMode);
  }
  if (!ok) {
    DeleteObject(target);
    return nullptr;
  }
  return target;
}
