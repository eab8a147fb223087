// GDI+'s flat functions, bound when GDI+ is first started instead of when the
// program starts: GDI+ brings the COM libraries with it, and loading them all
// before the program's first line cost every start about ten milliseconds.
// The forwarders bear the flat functions' names; when the library or one of its
// functions is missing, each fails as GDI+ does before it is started.
#pragma once

#include <windows.h>
// Its C++ headers want the OLE types, which the lean Windows header leaves out.
#include <objidl.h>
#include <gdiplus.h>

#include <utility>

#include "latebound.h"

namespace gdiplus_late {

#define PIO_GDIPLUS_FUNCTIONS(X)                                                            \
  X(GdipCreateBitmapFromHBITMAP) X(GdipCreateBitmapFromScan0) X(GdipCreateFromHDC)          \
  X(GdipCreateHBITMAPFromBitmap) X(GdipDeleteGraphics) X(GdipDisposeImage)                  \
  X(GdipDrawImageRectI) X(GdipDrawImageRectRectI) X(GdipGetImageGraphicsContext)            \
  X(GdipGetImageHeight) X(GdipGetImagePixelFormat) X(GdipGetImageType) X(GdipGetImageWidth) \
  X(GdipLoadImageFromFile) X(GdipSetInterpolationMode)

struct Entries {
#define PIO_GDIPLUS_ENTRY(name) decltype(&Gdiplus::DllExports::name) name;
  PIO_GDIPLUS_FUNCTIONS(PIO_GDIPLUS_ENTRY)
#undef PIO_GDIPLUS_ENTRY
  decltype(&Gdiplus::GdiplusStartup) GdiplusStartup;
  decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown;
};

// All of them, bound by the first call (once, whichever thread asks first); null
// when any is missing.
inline const Entries* Bound() {
  static const Entries* const bound = []() -> const Entries* {
    const HMODULE gdiplus = ::LoadLibraryA("gdiplus.dll");
    if (!gdiplus) return nullptr;
    static Entries entries{};
    bool all = true;
#define PIO_GDIPLUS_BIND(name) \
  all = (entries.name = LateBound<decltype(entries.name)>(gdiplus, #name)) && all;
    PIO_GDIPLUS_FUNCTIONS(PIO_GDIPLUS_BIND)
    PIO_GDIPLUS_BIND(GdiplusStartup)
    PIO_GDIPLUS_BIND(GdiplusShutdown)
#undef PIO_GDIPLUS_BIND
    return all ? &entries : nullptr;
  }();
  return bound;
}

#define PIO_GDIPLUS_FORWARD(name)                                                         \
  template <typename... Args>                                                             \
  Gdiplus::GpStatus name(Args&&... args) {                                                \
    const Entries* entries = Bound();                                                     \
    return entries ? entries->name(std::forward<Args>(args)...) : Gdiplus::GdiplusNotInitialized; \
  }
PIO_GDIPLUS_FUNCTIONS(PIO_GDIPLUS_FORWARD)
#undef PIO_GDIPLUS_FORWARD

}  // namespace gdiplus_late
