// The image helpers under Wine's GDI+: files the tests write themselves (BMP bytes
// by hand, PNG and JPEG through the GDI+ encoders), bad files of every kind, and
// the bitmap operations checked by their pixels.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bmp_file.h"
#include "files.h"
#include "gdi_objects.h"
#include "images.h"

namespace gp = Gdiplus::DllExports;

namespace {

using test_bmp::Bytes;

GdiplusRuntime g_gdiplus;

class GdiplusEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_TRUE(g_gdiplus.Start()); }
  void TearDown() override { g_gdiplus.Stop(); }
};
const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

// A folder of this test run under %TEMP%.
std::string Folder() {
  static std::string folder;
  if (folder.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "pio_images_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  return folder;
}

std::string WriteFile(const std::string& name, const Bytes& bytes) {
  const std::string path = Folder() + name;
  test_support::WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
  return path;
}

Bytes ReadFile(const std::string& path) {
  const std::string bytes = test_support::ReadWholeFile(path);
  return Bytes(bytes.begin(), bytes.end());
}

// The test picture: w x h, four quadrants red, green, blue, white.
COLORREF Quadrant(int x, int y, int w, int h) {
  const bool right = x >= w / 2, bottom = y >= h / 2;
  if (!right && !bottom) return RGB(255, 0, 0);
  if (right && !bottom) return RGB(0, 255, 0);
  if (!right) return RGB(0, 0, 255);
  return RGB(255, 255, 255);
}

// A 24-bit bottom-up BMP file of the test picture.
Bytes BmpFile(int w, int h) {
  return test_bmp::Bmp24(w, h, [w, h](int x, int y) { return Quadrant(x, y, w, h); });
}

// A w x h picture of 0xAARRGGBB pixels through a GDI+ encoder ("image/png",
// "image/jpeg"); the file's path, or "" when it could not be written.
template <class ArgbAt>
std::string EncodeWithGdiplus(const std::string& name, const wchar_t* mime, int w, int h,
                              ArgbAt argbAt) {
  UINT count = 0, size = 0;
  gp::GdipGetImageEncodersSize(&count, &size);
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  gp::GdipGetImageEncoders(count, size, codecs);
  const CLSID* encoder = nullptr;
  for (UINT i = 0; i < count; ++i)
    if (wcscmp(codecs[i].MimeType, mime) == 0) encoder = &codecs[i].Clsid;
  if (!encoder) return "";
  Gdiplus::GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) gp::GdipBitmapSetPixel(bitmap, x, y, argbAt(x, y));
  const std::string path = Folder() + name;
  std::wstring wide(path.begin(), path.end());
  const Gdiplus::GpStatus saved = gp::GdipSaveImageToFile(bitmap, wide.c_str(), encoder, nullptr);
  gp::GdipDisposeImage(bitmap);
  return saved == Gdiplus::Ok ? path : "";
}

// The quadrant picture through a GDI+ encoder.
std::string EncodeWithGdiplus(const std::string& name, const wchar_t* mime, int w, int h) {
  return EncodeWithGdiplus(name, mime, w, h, [w, h](int x, int y) {
    const COLORREF c = Quadrant(x, y, w, h);
    return static_cast<Gdiplus::ARGB>(0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) |
                                      GetBValue(c));
  });
}

COLORREF PixelOf(HBITMAP bitmap, int x, int y) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return c;
}

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
         std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
         std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

BITMAP Info(HBITMAP bitmap) {
  BITMAP bm{};
  GetObjectA(bitmap, sizeof(bm), &bm);
  return bm;
}

using test_support::LiveGdiObjects;

// A 32-bit DIB of the quadrant picture, made without any of the code under test.
HBITMAP QuadrantDib(int w, int h) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  auto* p = static_cast<DWORD*>(bits);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const COLORREF c = Quadrant(x, y, w, h);
      p[y * w + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  return dib;
}

TEST(ImageFile, BmpPngAndJpegLoadAtTheirOwnSize) {
  struct Case {
    std::string path;
    int tolerance;
  };
  const std::vector<Case> cases = {
      {WriteFile("quad.bmp", BmpFile(40, 30)), 0},
      {EncodeWithGdiplus("quad.png", L"image/png", 40, 30), 0},
      {EncodeWithGdiplus("quad.jpg", L"image/jpeg", 40, 30), 40},
      {WriteFile("png-named.bmp", ReadFile(Folder() + "quad.png")), 0},  // contents decide
  };
  for (const Case& c : cases) {
    ASSERT_FALSE(c.path.empty());
    HBITMAP bitmap = LoadImageAsBitmap(c.path.c_str());
    ASSERT_TRUE(bitmap) << c.path;
    const BITMAP bm = Info(bitmap);
    EXPECT_EQ(40, bm.bmWidth) << c.path;
    EXPECT_EQ(30, bm.bmHeight) << c.path;
    EXPECT_EQ(32, bm.bmBitsPixel) << c.path;
    for (POINT p : {POINT{2, 2}, POINT{37, 2}, POINT{2, 27}, POINT{37, 27}}) {
      EXPECT_TRUE(Near(Quadrant(p.x, p.y, 40, 30), PixelOf(bitmap, p.x, p.y), c.tolerance))
          << c.path << " at " << p.x << "," << p.y;
    }
    DeleteObject(bitmap);
  }
}

// Within a decode scope one file is decoded once: every load is still a bitmap of
// its own with the picture's pixels, and the scope's copies go with it.
TEST(ImageFile, DecodeScopeHandsOutSeparateCopiesAndFreesItsOwn) {
  const std::string path = WriteFile("scoped.bmp", BmpFile(40, 30));
  {  // One round first: a process's first bitmaps and device contexts leave
     // objects of the system's own behind, which are not the scope's.
    ImageDecodeScope warm;
    DeleteObject(LoadImageAsBitmap(path.c_str()));
    DeleteObject(LoadImageAsBitmap(path.c_str()));
  }
  const int before = LiveGdiObjects();
  {
    ImageDecodeScope scope;
    HBITMAP first = LoadImageAsBitmap(path.c_str());
    WriteFile("scoped.bmp", BmpFile(8, 8));  // not looked at again in this scope
    HBITMAP second = LoadImageAsBitmap(path.c_str());
    ASSERT_TRUE(first && second);
    EXPECT_NE(first, second);
    EXPECT_EQ(40, Info(second).bmWidth);
    for (POINT p : {POINT{2, 2}, POINT{37, 27}})
      EXPECT_EQ(PixelOf(first, p.x, p.y), PixelOf(second, p.x, p.y));
    DeleteObject(first);
    EXPECT_EQ(Quadrant(2, 2, 40, 30), PixelOf(second, 2, 2)) << "copies are independent";
    DeleteObject(second);
    EXPECT_EQ(nullptr, LoadImageAsBitmap((Folder() + "missing.bmp").c_str()));
  }
  EXPECT_EQ(before, LiveGdiObjects()) << "the scope frees what it kept";
  HBITMAP fresh = LoadImageAsBitmap(path.c_str());
  EXPECT_EQ(8, Info(fresh).bmWidth) << "outside the scope the file is read again";
  DeleteObject(fresh);
}

// Copies made ahead on another thread are handed out first, as they are; then the
// scope makes new ones, and it frees the made-ahead copies nobody took.
TEST(ImageFile, DecodeScopeHandsOutCopiesMadeAheadFirst) {
  const std::string path = WriteFile("ahead.bmp", BmpFile(12, 10));
  HBITMAP decoded = LoadImageAsBitmap(path.c_str());
  ASSERT_TRUE(decoded);
  struct Copies {
    HBITMAP source, made[3];
  } copies{decoded, {}};
  HANDLE thread = CreateThread(
      nullptr, 0,
      [](LPVOID p) -> DWORD {
        auto* c = static_cast<Copies*>(p);
        for (HBITMAP& made : c->made) made = CopyDib32(c->source);
        return 0;
      },
      &copies, 0, nullptr);
  ASSERT_TRUE(thread);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  HBITMAP ahead1 = copies.made[0], ahead2 = copies.made[1], leftOver = copies.made[2];
  ASSERT_TRUE(ahead1 && ahead2 && leftOver);
  EXPECT_EQ(PixelOf(decoded, 3, 2), PixelOf(ahead1, 3, 2));
  EXPECT_EQ(nullptr, CopyDib32(nullptr));
  const int before = LiveGdiObjects();
  std::vector<HBITMAP> handedOut;
  {
    ImageDecodeScope scope;
    scope.Keep(path.c_str(), decoded, {leftOver, ahead2, ahead1});
    for (int i = 0; i < 2; ++i) handedOut.push_back(LoadImageAsBitmap(path.c_str()));
    EXPECT_EQ((std::vector<HBITMAP>{ahead1, ahead2}), handedOut);
    scope.Keep("nothing decoded.bmp", nullptr, {CopyDib32(ahead1)});  // freed at once
  }
  // The scope freed the decoded picture and the copy left over: only the two
  // handed out remain of the four.
  EXPECT_EQ(before - 2, LiveGdiObjects());
  for (HBITMAP b : handedOut) DeleteObject(b);
}

// The picture as the decoder makes it, step by step with GDI+ and nothing of the
// code under test: decoded, drawn at its own size onto a 32-bit ARGB canvas,
// turned into a bitmap with a transparent black background.
HBITMAP DecodedByGdiplus(const std::string& path) {
  const std::wstring wide(path.begin(), path.end());
  Gdiplus::GpImage* image = nullptr;
  if (gp::GdipLoadImageFromFile(wide.c_str(), &image) != Gdiplus::Ok) return nullptr;
  UINT w = 0, h = 0;
  gp::GdipGetImageWidth(image, &w);
  gp::GdipGetImageHeight(image, &h);
  Gdiplus::GpBitmap* canvas = nullptr;
  gp::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &canvas);
  Gdiplus::GpGraphics* graphics = nullptr;
  gp::GdipGetImageGraphicsContext(canvas, &graphics);
  gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  gp::GdipDrawImageRectI(graphics, image, 0, 0, w, h);
  gp::GdipDeleteGraphics(graphics);
  HBITMAP result = nullptr;
  gp::GdipCreateHBITMAPFromBitmap(canvas, &result, 0);
  gp::GdipDisposeImage(canvas);
  gp::GdipDisposeImage(image);
  return result;
}

// Every pixel with its alpha byte, top row first.
std::vector<DWORD> AllPixels(HBITMAP bitmap) {
  const BITMAP bm = Info(bitmap);
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), bm.bmWidth, -bm.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<DWORD> pixels(static_cast<size_t>(bm.bmWidth) * bm.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteDC(dc);
  return pixels;
}

// Uncompressed bitmaps are read without the decoder (the skin is stored that way
// so that the program starts sooner): they must come out exactly as the decoder
// gives them, and a picture with transparency stored as a bitmap with an alpha
// mask exactly as the same picture decoded from a PNG file.
TEST(ImageFile, UncompressedBitmapsReadAsTheDecoderReadsThem) {
  auto colour = [](int x, int y) { return static_cast<DWORD>(0xFF000000u | (x * 37 % 256) << 16 | (y * 59 % 256) << 8 | ((x + y) * 11 % 256)); };
  struct Case {
    const char* name;
    Bytes bytes;
  };
  const Case opaque[] = {
      {"bottom-up-24.bmp", test_bmp::Bmp24(7, 5, [&](int x, int y) {
         const DWORD c = colour(x, y);
         return RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF);
       })},
      {"plain-32.bmp", test_bmp::Bmp32(6, 4, false, [&](int x, int y) { return (colour(x, y) & 0x00FFFFFFu) | (x * 40u << 24); })},
      {"top-down-32.bmp", test_bmp::Bmp32(5, -3, false, colour)},
  };
  for (const Case& c : opaque) {
    const std::string path = WriteFile(c.name, c.bytes);
    HBITMAP read = LoadImageAsBitmap(path.c_str());
    HBITMAP decoded = DecodedByGdiplus(path);
    ASSERT_TRUE(read && decoded) << c.name;
    EXPECT_EQ(AllPixels(decoded), AllPixels(read)) << c.name;
    DeleteObject(read);
    DeleteObject(decoded);
  }

  // Every colour level under every alpha.
  auto straight = [](int x, int y) { return static_cast<DWORD>(y) << 24 | static_cast<DWORD>(x) << 16 | (255u - x) << 8 | (x ^ y); };
  const std::string bmpPath = WriteFile("alpha.bmp", test_bmp::Bmp32(256, -256, true, straight));
  const std::string pngPath = EncodeWithGdiplus("alpha.png", L"image/png", 256, 256, straight);
  ASSERT_FALSE(pngPath.empty());

  HBITMAP read = LoadImageAsBitmap(bmpPath.c_str());
  HBITMAP decoded = DecodedByGdiplus(pngPath);
  ASSERT_TRUE(read && decoded);
  const std::vector<DWORD> got = AllPixels(read), want = AllPixels(decoded);
  ASSERT_EQ(want.size(), got.size());
  const size_t i = std::mismatch(want.begin(), want.end(), got.begin()).first - want.begin();
  EXPECT_EQ(want.size(), i) << "first at " << i % 256 << "," << i / 256 << ": " << std::hex
                            << got[i % want.size()] << " instead of " << want[i % want.size()];
  DeleteObject(read);
  DeleteObject(decoded);
}

// Everything a skin folder could hold by mistake: each gives null, and the GDI
// objects of the process are as many after as before.
TEST(ImageFile, BadFilesGiveNullAndLeaveNoGdiObjects) {
  const Bytes bmp = BmpFile(64, 48);
  const std::string pngPath = EncodeWithGdiplus("good.png", L"image/png", 64, 48);
  const std::string jpgPath = EncodeWithGdiplus("good.jpg", L"image/jpeg", 64, 48);
  const Bytes png = ReadFile(pngPath), jpg = ReadFile(jpgPath);
  ASSERT_GT(png.size(), 60u);
  ASSERT_GT(jpg.size(), 200u);

  auto cut = [](const Bytes& b, size_t n) { return Bytes(b.begin(), b.begin() + n); };
  auto spoil = [](Bytes b, size_t from) {
    for (size_t i = from; i < b.size(); i += 3) b[i] ^= 0x5A;
    return b;
  };
  Bytes hugeBmp = cut(bmp, 54);  // claims 100000 x 100000, holds nothing
  hugeBmp[18] = 0xA0, hugeBmp[19] = 0x86, hugeBmp[20] = 0x01, hugeBmp[21] = 0;
  hugeBmp[22] = 0xA0, hugeBmp[23] = 0x86, hugeBmp[24] = 0x01, hugeBmp[25] = 0;
  Bytes hugePng = png;  // IHDR claims 60000 x 60000
  for (int i : {16, 20}) {
    hugePng[i] = 0, hugePng[i + 1] = 0, hugePng[i + 2] = 0xEA, hugePng[i + 3] = 0x60;
  }
  Bytes hugeJpg = jpg;  // every frame header claims 65535 x 65535
  for (size_t i = 2; i + 9 < hugeJpg.size(); ++i)
    if (hugeJpg[i] == 0xFF && hugeJpg[i + 1] >= 0xC0 && hugeJpg[i + 1] <= 0xC2)
      for (size_t k = i + 5; k < i + 9; ++k) hugeJpg[k] = 0xFF;
  // A bitmap within the header limits whose data runs out at once.
  Bytes bigEmptyBmp = cut(bmp, 54);
  bigEmptyBmp[18] = 0x00, bigEmptyBmp[19] = 0x10, bigEmptyBmp[22] = 0x00, bigEmptyBmp[23] = 0x10;

  std::vector<std::string> paths = {
      WriteFile("empty.png", {}),
      WriteFile("half.bmp", cut(bmp, bmp.size() / 2)),
      WriteFile("header.bmp", cut(bmp, 20)),
      WriteFile("half.png", cut(png, png.size() / 2)),
      WriteFile("sig.png", cut(png, 8)),
      WriteFile("half.jpg", cut(jpg, jpg.size() / 2)),
      WriteFile("soi.jpg", cut(jpg, 2)),
      WriteFile("spoilt.png", spoil(png, 33)),
      WriteFile("spoilt.jpg", spoil(jpg, 2)),
      WriteFile("spoilt.bmp", spoil(bmp, 2)),
      WriteFile("huge.bmp", hugeBmp),
      WriteFile("huge.png", hugePng),
      WriteFile("huge.jpg", hugeJpg),
      WriteFile("bigempty.bmp", bigEmptyBmp),
      WriteFile("text.png", Bytes{'h', 'e', 'l', 'l', 'o', '\r', '\n'}),
      Folder() + "missing.png",
      Folder(),                                // a folder
      Folder().substr(0, Folder().size() - 1),  // the same without its backslash
      Folder() + std::string(300, 'x') + ".png",
      "C:\\" + std::string(MAX_PATH - 3, 'y'),  // exactly MAX_PATH characters
      "",
  };
  const int before = LiveGdiObjects();
  for (int round = 0; round < 3; ++round) {
    for (const std::string& path : paths) {
      HBITMAP bitmap = LoadImageAsBitmap(path.c_str());
      EXPECT_EQ(nullptr, bitmap) << path.substr(0, 80);
      if (bitmap) DeleteObject(bitmap);
    }
    EXPECT_EQ(nullptr, LoadImageAsBitmap(nullptr));
    // The operations with what they cannot work on.
    EXPECT_EQ(nullptr, ScaleBitmap(nullptr, 10, 10));
    EXPECT_EQ(nullptr, CropBitmap(nullptr, 10, 10));
    EXPECT_EQ(nullptr, CopyBitmap(nullptr));
    EXPECT_EQ(nullptr, ComposeMaskedBitmap(nullptr, nullptr, 10, 10));
    HBITMAP small = QuadrantDib(4, 4);
    EXPECT_EQ(nullptr, ScaleBitmap(small, 0, 10));
    EXPECT_EQ(nullptr, ScaleBitmap(small, 100000, 100000));
    EXPECT_EQ(nullptr, CropBitmap(small, 5, 4));
    EXPECT_EQ(nullptr, ComposeMaskedBitmap(small, small, -1, 4));
    HBITMAP dib = reinterpret_cast<HBITMAP>(1);
    EXPECT_FALSE(CreateDib32(0, 4, &dib, nullptr));
    EXPECT_EQ(nullptr, dib);
    EXPECT_FALSE(CreateDib32(70000, -70000, &dib, nullptr));
    DeleteObject(small);
  }
  const int after = LiveGdiObjects();
  std::printf("GDI objects before the bad inputs: %d, after: %d\n", before, after);
  RecordProperty("gdi_objects_before", before);
  RecordProperty("gdi_objects_after", after);
  EXPECT_EQ(before, after);
}

TEST(BitmapOperations, CropAndCopyKeepThePixels) {
  HBITMAP source = QuadrantDib(10, 8);
  HBITMAP full = CropBitmap(source, 10, 8);
  HBITMAP copy = CopyBitmap(source);
  ASSERT_TRUE(full && copy);
  DIBSECTION ds{};
  EXPECT_EQ(static_cast<int>(sizeof(ds)), GetObjectA(full, sizeof(ds), &ds)) << "a DIB section";
  EXPECT_EQ(32, ds.dsBm.bmBitsPixel);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), Info(copy).bmBitsPixel) << "the display's format";
  ReleaseDC(nullptr, screen);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 10; ++x) {
      ASSERT_EQ(Quadrant(x, y, 10, 8), PixelOf(full, x, y));
      ASSERT_EQ(Quadrant(x, y, 10, 8), PixelOf(copy, x, y));
    }

  // Top-down (a negative height): the first row in memory is the source's top row.
  HBITMAP topDown = CropBitmap(source, 6, -3);
  ASSERT_TRUE(topDown);
  ASSERT_EQ(static_cast<int>(sizeof(ds)), GetObjectA(topDown, sizeof(ds), &ds));
  EXPECT_EQ(6, ds.dsBm.bmWidth);
  EXPECT_EQ(3, ds.dsBm.bmHeight);
  const auto* bits = static_cast<const DWORD*>(ds.dsBm.bmBits);
  EXPECT_EQ(0x00FF0000u, bits[4] & 0x00FFFFFF);
  EXPECT_EQ(0x0000FF00u, bits[5] & 0x00FFFFFF) << "x 5 of 10 is in the right quadrant";
  for (HBITMAP b : {source, full, copy, topDown}) DeleteObject(b);
}

TEST(BitmapOperations, ScaleAlwaysDrawsTheWholeSource) {
  HBITMAP source = QuadrantDib(40, 20);
  for (SIZE size : {SIZE{13, 57}, SIZE{200, 7}, SIZE{40, 20}, SIZE{628, 357}}) {
    HBITMAP scaled = ScaleBitmap(source, size.cx, size.cy);
    ASSERT_TRUE(scaled);
    const BITMAP bm = Info(scaled);
    EXPECT_EQ(size.cx, bm.bmWidth);
    EXPECT_EQ(size.cy, bm.bmHeight);
    EXPECT_EQ(32, bm.bmBitsPixel);
    // Each quadrant lands in the matching quarter of the target.
    for (POINT q : {POINT{10, 5}, POINT{30, 5}, POINT{10, 15}, POINT{30, 15}}) {
      const int x = q.x * size.cx / 40, y = q.y * size.cy / 20;
      EXPECT_TRUE(Near(Quadrant(q.x, q.y, 40, 20), PixelOf(scaled, x, y), 40)) << size.cx << "x" << size.cy;
    }
    DeleteObject(scaled);
  }
  DeleteObject(source);
}

// The scaler draws only what the crop keeps, and only copies at the source's own
// size; what it gives must be what scaling and then cropping give.
TEST(BitmapOperations, ScalerGivesWhatScalingThenCroppingGive) {
  HBITMAP dib = QuadrantDib(40, 20);
  {  // some alpha bytes that the decoder does not heed
    DIBSECTION ds{};
    GetObjectA(dib, sizeof ds, &ds);
    auto* p = static_cast<DWORD*>(ds.dsBm.bmBits);
    for (int i = 0; i < 40 * 20; i += 3) p[i] |= 0x80000000u;
  }
  HBITMAP ddb = CopyBitmap(dib);
  struct Case {
    int width, height, cropWidth, cropHeight;
  };
  const Case cases[] = {{40, 20, 40, 20}, {40, 20, 25, 10}, {80, 40, 60, 30},
                        {30, 15, 30, 15}, {100, 50, 40, 20}, {41, 21, 41, 21}};
  for (HBITMAP source : {dib, ddb}) {
    PictureScaler scaler;
    scaler.Reset(source);
    for (const Case& c : cases) {
      HBITMAP scaled = ScaleBitmap(source, c.width, c.height);
      HBITMAP expected = CropBitmap(scaled, c.cropWidth, c.cropHeight);
      HBITMAP got = scaler.ScaledAndCropped(c.width, c.height, c.cropWidth, c.cropHeight);
      ASSERT_TRUE(expected && got) << c.width << "x" << c.height;
      EXPECT_EQ(32, Info(got).bmBitsPixel);
      EXPECT_EQ(AllPixels(expected), AllPixels(got))
          << (source == dib ? "DIB " : "DDB ") << c.width << "x" << c.height << " cut to "
          << c.cropWidth << "x" << c.cropHeight;
      for (HBITMAP b : {scaled, expected, got}) DeleteObject(b);
    }
    EXPECT_EQ(nullptr, scaler.ScaledAndCropped(40, 20, 41, 20)) << "a crop larger than the picture";
  }
  PictureScaler empty;
  EXPECT_EQ(nullptr, empty.ScaledAndCropped(10, 10, 10, 10));
  DeleteObject(dib);
  DeleteObject(ddb);
}

TEST(BitmapOperations, MaskChoosesBetweenImageAndDisplay) {
  const int w = 12, h = 9;
  HBITMAP image = QuadrantDib(w, h);
  auto solid = [&](COLORREF c) {
    HBITMAP b = QuadrantDib(w, h);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, b);
    RECT r{0, 0, w, h};
    HBRUSH brush = CreateSolidBrush(c);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    return b;
  };
  HBITMAP black = solid(RGB(0, 0, 0)), white = solid(RGB(255, 255, 255));

  HBITMAP shown = ComposeMaskedBitmap(image, black, w, h);
  ASSERT_TRUE(shown);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(Quadrant(x, y, w, h), PixelOf(shown, x, y));

  // What the display shows at its top-left corner, read the same moment.
  HDC display = CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  HBITMAP screenCopy = CreateCompatibleBitmap(display, w, h);
  HDC dc = CreateCompatibleDC(display);
  HGDIOBJ old = SelectObject(dc, screenCopy);
  BitBlt(dc, 0, 0, w, h, display, 0, 0, SRCCOPY);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteDC(display);
  HBITMAP behind = ComposeMaskedBitmap(image, white, w, h);
  ASSERT_TRUE(behind);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) ASSERT_EQ(PixelOf(screenCopy, x, y), PixelOf(behind, x, y));
  EXPECT_EQ(w, Info(behind).bmWidth);
  for (HBITMAP b : {image, black, white, shown, screenCopy, behind}) DeleteObject(b);
}

}  // namespace
