// What the image helpers decide before GDI+ sees a file or GDI makes a bitmap.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "images_core.h"

using images::Format;
using images::ReadImageHeader;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Be32(Bytes& b, std::uint32_t v) {
  for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<std::uint8_t>(v >> s));
}
void Le16(Bytes& b, std::uint32_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Le32(Bytes& b, std::uint32_t v) {
  Le16(b, v & 0xFFFF);
  Le16(b, v >> 16);
}

Bytes Png(std::uint32_t w, std::uint32_t h) {
  Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  Be32(b, 13);
  b.insert(b.end(), {'I', 'H', 'D', 'R'});
  Be32(b, w);
  Be32(b, h);
  b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});  // depth, type, ..., CRC (unchecked)
  return b;
}

// A whole BMP file: header of `headerSize` bytes, then (for bit fields) the
// masks, then the rows as given.
Bytes RawBmp(std::int32_t w, std::int32_t h, int bits, std::uint32_t compression,
             std::uint32_t headerSize, std::vector<std::uint32_t> masks, const Bytes& rows) {
  Bytes b = {'B', 'M'};
  const std::uint32_t extra = headerSize == 40 ? static_cast<std::uint32_t>(masks.size() * 4) : 0;
  const std::uint32_t offset = 14 + headerSize + extra;
  for (std::uint32_t v : {offset + static_cast<std::uint32_t>(rows.size()), 0u, offset, headerSize,
                          static_cast<std::uint32_t>(w), static_cast<std::uint32_t>(h)})
    Le32(b, v);
  Le16(b, 1);
  Le16(b, static_cast<std::uint32_t>(bits));
  for (std::uint32_t v : {compression, static_cast<std::uint32_t>(rows.size()), 2835u, 2835u, 0u, 0u})
    Le32(b, v);
  for (std::uint32_t m : masks) Le32(b, m);
  b.resize(offset, 0);
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

// Just a header, of 40 bytes or `headerSize`.
Bytes Bmp(std::int32_t w, std::int32_t h, std::uint32_t headerSize = 40) {
  return RawBmp(w, h, 24, 0, headerSize, {}, Bytes(6, 0));
}

// Start of image, an APP0 segment, then a baseline frame header.
Bytes Jpeg(std::uint32_t w, std::uint32_t h) {
  Bytes b = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  b.insert(b.end(), {0xFF, 0xFF, 0xC0, 0x00, 0x11, 0x08});  // with one fill byte
  b.insert(b.end(), {static_cast<std::uint8_t>(h >> 8), static_cast<std::uint8_t>(h),
                     static_cast<std::uint8_t>(w >> 8), static_cast<std::uint8_t>(w)});
  b.insert(b.end(), {3, 1, 0x22, 0, 2, 0x11, 1, 3, 0x11, 1});
  return b;
}

TEST(ImageHeader, ReadsTheSizeOfEachKnownFormat) {
  Bytes core = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 26, 0, 0, 0, 12, 0, 0, 0, 0x2C, 0x01, 2, 0, 1, 0, 24, 0};
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 20, 0, 10, 0};
  const struct {
    Bytes bytes;
    Format format;
    std::uint32_t width, height;
  } cases[] = {
      {Png(1024, 576), Format::Png, 1024, 576}, {Bmp(33, 17), Format::Bmp, 33, 17},
      {Bmp(33, -17), Format::Bmp, 33, 17},      {core, Format::Bmp, 300, 2},  // 12-byte header
      {Bmp(5, 6, 124), Format::Bmp, 5, 6},      {Jpeg(640, 480), Format::Jpeg, 640, 480},
      {gif, Format::Gif, 20, 10},
  };
  for (const auto& c : cases) {
    const images::HeaderInfo info = ReadImageHeader(c.bytes.data(), c.bytes.size());
    EXPECT_EQ(c.format, info.format);
    EXPECT_TRUE(info.sizeKnown && !info.broken) << c.width;
    EXPECT_EQ(c.width, info.width);
    EXPECT_EQ(c.height, info.height);
  }
}

TEST(ImageHeader, TurnsAwayEmptyBrokenAndAbsurdFiles) {
  EXPECT_FALSE(images::MayDecode(nullptr, 10));
  Bytes png = Png(100, 100), notIhdr = png, bmp7 = Bmp(4, 4);
  notIhdr[12] = 'X';
  bmp7[14] = 7;  // header size
  const Bytes jpeg = Jpeg(10, 10);
  const struct {
    Bytes bytes;
    bool may;
    const char* what;
  } cases[] = {
      {{}, false, "empty"},
      {Bytes(png.begin(), png.begin() + 20), false, "cut inside the IHDR chunk"},
      {notIhdr, false, "first chunk not IHDR"},
      {bmp7, false, "header of 7 bytes"},
      {Png(0, 10), false, "no width"}, {Png(10, 0), false, "no height"}, {Jpeg(0, 10), false, "no width"},
      {Png(0x80000000u, 1), false, "width above 2^31"}, {Bmp(-4, 5), false, "negative width"},
      {Bmp(0, 5), false, "no width"}, {Bmp(4, 0), false, "no height"},
      {Png(60000, 60000), false, "absurd"}, {Bmp(100000, 100000), false, "absurd"},
      {Jpeg(65535, 65535), false, "absurd"}, {Png(16385, 1), false, "too wide"},
      {Bmp(8192, 8192), false, "too many pixels"},
      {{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x08}, false, "no frame header before the scan"},
      {{0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, 0x12, 0x34}, false, "garbage after a segment"},
      {png, true, "sane"}, {Png(16384, 2048), true, "large but sane"},
      {Bmp(1920, 1080), true, "large but sane"}, {Jpeg(4096, 4096), true, "large but sane"},
      {Bytes(jpeg.begin(), jpeg.begin() + 22), true, "the frame header may lie beyond the bytes read"},
      {{'I', 'I', '*', 0, 8, 0, 0, 0}, true, "unknown formats go through"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.may, images::MayDecode(c.bytes.data(), c.bytes.size())) << c.what;
}

TEST(ImageLimits, SizesAndCrops) {
  EXPECT_TRUE(images::IsAcceptableSize(16384, 2048));
  EXPECT_FALSE(images::IsAcceptableSize(16384, 2049)) << "area above 32 M pixels";
  EXPECT_FALSE(images::IsAcceptableSize(0, 5));
  EXPECT_FALSE(images::IsAcceptableSize(5, -1));
  EXPECT_TRUE(images::CropFits(10, 8, 10, 8)) << "exactly the source";
  EXPECT_TRUE(images::CropFits(10, 8, 10, -8)) << "top-down";
  for (std::int32_t h : {9, -9, INT32_MIN, 0}) EXPECT_FALSE(images::CropFits(10, 8, 10, h)) << h;
  EXPECT_FALSE(images::CropFits(10, 8, 11, 8));
  EXPECT_FALSE(images::CropFits(10, 8, 0, 8));
}

constexpr std::uint32_t kBgraMasks[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

TEST(RawBitmap, TwentyFourBitRowsArePaddedAndBottomUpUnlessTheHeightIsNegative) {
  // 3 x 2: rows of 9 bytes padded to 12.
  Bytes rows(24, 0);
  rows[0] = 1, rows[1] = 2, rows[2] = 3;
  const Bytes bottomUp = RawBmp(3, 2, 24, 0, 40, {}, rows), topDown = RawBmp(3, -2, 24, 0, 40, {}, rows);
  const images::RawBitmap layout = images::ReadRawBitmap(bottomUp.data(), bottomUp.size());
  ASSERT_TRUE(layout.usable);
  EXPECT_EQ(12u, layout.stride);
  EXPECT_FALSE(layout.topDown);
  std::uint32_t out[3] = {};
  images::ConvertRawRow(layout, bottomUp.data() + layout.pixelOffset, out);
  EXPECT_EQ(0xFF030201u, out[0]) << "blue, green, red in the file; alpha 255";
  const images::RawBitmap down = images::ReadRawBitmap(topDown.data(), topDown.size());
  ASSERT_TRUE(down.usable);
  EXPECT_TRUE(down.topDown);
  EXPECT_EQ(2, down.height);
}

TEST(RawBitmap, ThirtyTwoBitsWithoutAnAlphaMaskAreOpaque) {
  const Bytes rows = {10, 20, 30, 0x00, 40, 50, 60, 0x7F};
  for (const Bytes& file : {RawBmp(2, 1, 32, 0, 40, {}, rows),
                            RawBmp(2, 1, 32, 3, 40, {0x00FF0000, 0x0000FF00, 0x000000FF}, rows)}) {
    const images::RawBitmap layout = images::ReadRawBitmap(file.data(), file.size());
    ASSERT_TRUE(layout.usable);
    EXPECT_FALSE(layout.alpha);
    std::uint32_t out[2] = {};
    images::ConvertRawRow(layout, file.data() + layout.pixelOffset, out);
    EXPECT_EQ(0xFF1E140Au, out[0]);
    EXPECT_EQ(0xFF3C3228u, out[1]) << "the fourth byte is not alpha";
  }
}

TEST(RawBitmap, AnAlphaMaskGivesPremultipliedColoursRoundedToTheNearest) {
  const std::vector<std::uint32_t> masks(std::begin(kBgraMasks), std::end(kBgraMasks));
  // (blue, green, red, alpha) of five pixels.
  const Bytes rows = {200, 255, 1, 128,   1, 1, 1, 127,   255, 0, 9, 1,
                      7, 8, 9, 0,         11, 12, 13, 255};
  const Bytes file = RawBmp(5, -1, 32, 3, 108, masks, rows);
  const images::RawBitmap layout = images::ReadRawBitmap(file.data(), file.size());
  ASSERT_TRUE(layout.usable);
  EXPECT_TRUE(layout.alpha);
  std::uint32_t out[5] = {};
  images::ConvertRawRow(layout, file.data() + layout.pixelOffset, out);
  EXPECT_EQ(0x80018064u, out[0]) << "200 x 128 / 255 = 100.4, 255 x 128 / 255 = 128, 1 x 128 / 255 = 0.502";
  EXPECT_EQ(0x7F000000u, out[1]) << "1 x 127 / 255 = 0.498";
  EXPECT_EQ(0x01000001u, out[2]);
  EXPECT_EQ(0x00000000u, out[3]) << "fully transparent: nothing of the colour";
  EXPECT_EQ(0xFF0D0C0Bu, out[4]);
}

TEST(RawBitmap, AnythingElseIsLeftToTheDecoder) {
  const Bytes rows(64, 0), whole = RawBmp(4, 4, 24, 0, 40, {}, Bytes(48, 0));
  Bytes badOffset = RawBmp(2, 2, 24, 0, 40, {}, Bytes(16, 0)), twoPlanes = badOffset;
  badOffset[10] = 20;  // pixels said to start inside the header
  twoPlanes[26] = 2;
  const struct {
    const char* what;
    Bytes file;
  } cases[] = {
      {"8 bits with a palette", RawBmp(4, 4, 8, 0, 40, {}, rows)},
      {"16 bits", RawBmp(4, 4, 16, 0, 40, {}, rows)},
      {"run-length coded", RawBmp(4, 4, 8, 1, 40, {}, rows)},
      {"bit fields in another order", RawBmp(2, 2, 32, 3, 108, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, rows)},
      {"alpha in the low byte", RawBmp(2, 2, 32, 3, 108, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, rows)},
      {"pixels inside the header", badOffset},
      {"two planes", twoPlanes},
      {"zero height", RawBmp(2, 0, 24, 0, 40, {}, rows)},
      {"absurd width", RawBmp(100000, 1, 24, 0, 40, {}, rows)},
      {"PNG bytes", Png(4, 4)},
  };
  for (const auto& c : cases) EXPECT_FALSE(images::ReadRawBitmap(c.file.data(), c.file.size()).usable) << c.what;
  EXPECT_FALSE(images::ReadRawBitmap(nullptr, 100).usable);
  // Every cut of a whole file, down to the last row's last byte.
  for (std::size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_FALSE(images::ReadRawBitmap(whole.data(), cut).usable) << cut;
  EXPECT_TRUE(images::ReadRawBitmap(whole.data(), whole.size()).usable);
}

}  // namespace
