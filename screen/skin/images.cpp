#include "images.h"

// GDI+ through its flat interface; its C++ headers want the OLE types, which the
// lean Windows header leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "gdi.h"
#include "images_core.h"

namespace gp = Gdiplus::DllExports;

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

// The leading bytes of a regular file, or false when it cannot be read.
bool ReadFileStart(const char* path, std::vector<std::uint8_t>* out) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  out->resize(images::kHeaderBytes);
  DWORD got = 0;
  const BOOL ok = ReadFile(file, out->data(), static_cast<DWORD>(out->size()), &got, nullptr);
  CloseHandle(file);
  out->resize(ok ? got : 0);
  return ok != FALSE;
}

}  // namespace

bool GdiplusRuntime::Start() {
  if (m_token) return true;
  Gdiplus::GdiplusStartupInput input;  // version 1, no callback, thread and codecs on
  ULONG_PTR token = 0;
  if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return false;
  m_token = token;
  return true;
}

void GdiplusRuntime::Stop() {
  if (!m_token) return;
  Gdiplus::GdiplusShutdown(m_token);
  m_token = 0;
}

namespace {

thread_local ImageDecodeScope* t_decodeScope = nullptr;

// A new 32-bit DIB with the same pixels, or null for anything but a 32-bit DIB.
HBITMAP DuplicateDib32(HBITMAP source) {
  DIBSECTION ds{};
  if (GetObjectA(source, sizeof ds, &ds) != sizeof ds || ds.dsBm.bmBitsPixel != 32 ||
      !ds.dsBm.bmBits) {
    return nullptr;
  }
  HBITMAP copy = nullptr;
  void* bits = nullptr;
  if (!CreateDib32(ds.dsBm.bmWidth, ds.dsBmih.biHeight, &copy, &bits) || !bits) return nullptr;
  GdiFlush();
  std::memcpy(bits, ds.dsBm.bmBits,
              static_cast<std::size_t>(ds.dsBm.bmWidthBytes) * static_cast<std::size_t>(ds.dsBm.bmHeight));
  return copy;
}

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

  wchar_t widePath[MAX_PATH] = {};
  if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH)) return nullptr;

  GpImageOwner image;
  if (gp::GdipLoadImageFromFile(widePath, &image.p) != Gdiplus::Ok || !image.p) return nullptr;
  UINT width = 0, height = 0;
  gp::GdipGetImageWidth(image.p, &width);
  gp::GdipGetImageHeight(image.p, &height);
  if (!images::IsAcceptableSize(width, height)) return nullptr;

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
  if (scope && result) scope->Keep(path, DuplicateDib32(result));
  return result;
}

ImageDecodeScope::ImageDecodeScope() : m_outer(t_decodeScope) { t_decodeScope = this; }

ImageDecodeScope::~ImageDecodeScope() {
  for (const Entry& e : m_decoded) DeleteObject(e.picture);
  t_decodeScope = m_outer;
}

HBITMAP ImageDecodeScope::CopyOf(const char* path) const {
  for (const Entry& e : m_decoded)
    if (e.path == path) return DuplicateDib32(e.picture);
  return nullptr;
}

void ImageDecodeScope::Keep(const char* path, HBITMAP decoded) {
  if (decoded) m_decoded.push_back(Entry{path, decoded});
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
    DisplayDC display;
    made = CreateDIBSection(display, &info, DIB_RGB_COLORS, &madeBits, nullptr, 0);
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
    DisplayDC display;
    CMemoryDC targetDC(display);
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

HBITMAP CropBitmap(HBITMAP source, int width, int height) {
  BITMAP bm;
  if (!source || !BitmapSize(source, &bm)) return nullptr;
  if (!images::CropFits(bm.bmWidth, bm.bmHeight, width, height)) return nullptr;
  HBITMAP target = nullptr;
  if (!CreateDib32(width, height, &target, nullptr)) return nullptr;
  const int rows = height < 0 ? -height : height;
  BOOL copied = FALSE;
  {
    DisplayDC display;
    CMemoryDC sourceDC(display), targetDC(display);
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
  DisplayDC display;
  HBITMAP target = CreateCompatibleBitmap(display, bm.bmWidth, bm.bmHeight);
  if (!target) return nullptr;
  BOOL copied = FALSE;
  {
    CMemoryDC sourceDC(display), targetDC(display);
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
