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

Bytes Bmp(std::int32_t w, std::int32_t h, std::uint32_t headerSize = 40) {
  Bytes b = {'B', 'M'};
  Le32(b, 0);
  Le32(b, 0);
  Le32(b, 54);
  Le32(b, headerSize);
  if (headerSize == 12) {
    Le16(b, static_cast<std::uint32_t>(w));
    Le16(b, static_cast<std::uint32_t>(h));
  } else {
    Le32(b, static_cast<std::uint32_t>(w));
    Le32(b, static_cast<std::uint32_t>(h));
  }
  b.resize(60, 0);
  return b;
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
  auto check = [](const Bytes& b, Format f, std::uint32_t w, std::uint32_t h) {
    const images::HeaderInfo info = ReadImageHeader(b.data(), b.size());
    EXPECT_EQ(f, info.format);
    EXPECT_FALSE(info.broken);
    EXPECT_TRUE(info.sizeKnown);
    EXPECT_EQ(w, info.width);
    EXPECT_EQ(h, info.height);
  };
  check(Png(1024, 576), Format::Png, 1024, 576);
  check(Bmp(33, 17), Format::Bmp, 33, 17);
  check(Bmp(33, -17), Format::Bmp, 33, 17);  // top-down
  check(Bmp(300, 2, 12), Format::Bmp, 300, 2);
  check(Bmp(5, 6, 124), Format::Bmp, 5, 6);
  check(Jpeg(640, 480), Format::Jpeg, 640, 480);
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a'};
  Le16(gif, 20);
  Le16(gif, 10);
  check(gif, Format::Gif, 20, 10);
}

TEST(ImageHeader, TurnsAwayEmptyBrokenAndAbsurdFiles) {
  const Bytes empty;
  EXPECT_FALSE(images::MayDecode(empty.data(), 0));
  EXPECT_FALSE(images::MayDecode(nullptr, 10));

  Bytes png = Png(100, 100);
  EXPECT_TRUE(images::MayDecode(png.data(), png.size()));
  EXPECT_FALSE(images::MayDecode(png.data(), 20)) << "cut inside the IHDR chunk";
  png[12] = 'X';
  EXPECT_FALSE(images::MayDecode(png.data(), png.size())) << "first chunk not IHDR";
  for (const Bytes& b : {Png(0, 10), Png(10, 0), Png(0x80000000u, 1), Bmp(0, 5), Bmp(-4, 5),
                         Bmp(4, 0), Bmp(4, 4, 7), Jpeg(0, 10)}) {
    EXPECT_FALSE(images::MayDecode(b.data(), b.size()));
  }
  for (const Bytes& b : {Png(60000, 60000), Png(16385, 1), Bmp(100000, 100000),
                         Bmp(8192, 8192), Jpeg(65535, 65535)}) {
    EXPECT_FALSE(images::MayDecode(b.data(), b.size())) << "absurdly large";
  }
  for (const Bytes& b : {Png(16384, 2048), Bmp(1920, 1080), Jpeg(4096, 4096)}) {
    EXPECT_TRUE(images::MayDecode(b.data(), b.size())) << "large but sane";
  }
  const Bytes jpeg = Jpeg(10, 10);
  const Bytes jpegCut(jpeg.begin(), jpeg.begin() + 22);
  EXPECT_TRUE(images::MayDecode(jpegCut.data(), jpegCut.size()))
      << "the frame header may lie beyond the bytes read: the decoder decides";
  const Bytes jpegNoFrame = {0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x08};
  EXPECT_FALSE(images::MayDecode(jpegNoFrame.data(), jpegNoFrame.size()));
  const Bytes jpegGarbage = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x04, 0x00, 0x00, 0x12, 0x34};
  EXPECT_FALSE(images::MayDecode(jpegGarbage.data(), jpegGarbage.size()));
  const Bytes other = {'I', 'I', '*', 0, 8, 0, 0, 0};
  EXPECT_TRUE(images::MayDecode(other.data(), other.size())) << "unknown formats go through";
}

TEST(ImageLimits, SizesAndCrops) {
  EXPECT_TRUE(images::IsAcceptableSize(1, 1));
  EXPECT_TRUE(images::IsAcceptableSize(16384, 2048));
  EXPECT_FALSE(images::IsAcceptableSize(16384, 2049)) << "area above 32 M pixels";
  EXPECT_FALSE(images::IsAcceptableSize(16385, 1));
  EXPECT_FALSE(images::IsAcceptableSize(0, 5));
  EXPECT_FALSE(images::IsAcceptableSize(5, -1));

  EXPECT_TRUE(images::CropFits(10, 8, 10, 8)) << "exactly the source";
  EXPECT_TRUE(images::CropFits(10, 8, 10, -8)) << "top-down";
  EXPECT_FALSE(images::CropFits(10, 8, 11, 8));
  EXPECT_FALSE(images::CropFits(10, 8, 10, 9));
  EXPECT_FALSE(images::CropFits(10, 8, 10, -9)) << "rows counted without the sign";
  EXPECT_FALSE(images::CropFits(10, 8, 10, INT32_MIN));
  EXPECT_FALSE(images::CropFits(10, 8, 0, 8));
  EXPECT_FALSE(images::CropFits(10, 8, 3, 0));
}

}  // namespace

namespace {

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

constexpr std::uint32_t kBgraMasks[] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000};

}  // namespace

TEST(RawBitmap, TwentyFourBitRowsArePaddedAndBottomUpUnlessTheHeightIsNegative) {
  // 3 x 2: rows of 9 bytes padded to 12.
  Bytes rows(24, 0);
  rows[0] = 1, rows[1] = 2, rows[2] = 3;     // first row in the file
  rows[12] = 4, rows[13] = 5, rows[14] = 6;  // second row
  const Bytes bottomUp = RawBmp(3, 2, 24, 0, 40, {}, rows);
  const images::RawBitmap layout = images::ReadRawBitmap(bottomUp.data(), bottomUp.size());
  ASSERT_TRUE(layout.usable);
  EXPECT_EQ(3, layout.width);
  EXPECT_EQ(2, layout.height);
  EXPECT_EQ(12u, layout.stride);
  EXPECT_FALSE(layout.topDown);
  EXPECT_EQ(54u, layout.pixelOffset);

  std::uint32_t out[3] = {};
  images::ConvertRawRow(layout, bottomUp.data() + layout.pixelOffset, out);
  EXPECT_EQ(0xFF030201u, out[0]) << "blue, green, red in the file; alpha 255";

  const Bytes topDown = RawBmp(3, -2, 24, 0, 40, {}, rows);
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
  const Bytes rows(64, 0);
  const std::vector<std::uint32_t> masks(std::begin(kBgraMasks), std::end(kBgraMasks));
  struct Case {
    const char* what;
    Bytes file;
  };
  Bytes truncated = RawBmp(4, 4, 24, 0, 40, {}, Bytes(47, 0));  // one byte short of 4 rows of 12
  Bytes badOffset = RawBmp(2, 2, 24, 0, 40, {}, Bytes(16, 0));
  badOffset[10] = 20;  // pixels said to start inside the header
  Bytes twoPlanes = RawBmp(2, 2, 24, 0, 40, {}, Bytes(16, 0));
  twoPlanes[26] = 2;
  const Case cases[] = {
      {"8 bits with a palette", RawBmp(4, 4, 8, 0, 40, {}, rows)},
      {"16 bits", RawBmp(4, 4, 16, 0, 40, {}, rows)},
      {"run-length coded", RawBmp(4, 4, 8, 1, 40, {}, rows)},
      {"bit fields in another order", RawBmp(2, 2, 32, 3, 108, {0xFF, 0xFF00, 0xFF0000, 0xFF000000}, rows)},
      {"alpha in the low byte", RawBmp(2, 2, 32, 3, 108, {0xFF000000, 0xFF0000, 0xFF00, 0xFF}, rows)},
      {"rows cut short", truncated},
      {"pixels inside the header", badOffset},
      {"two planes", twoPlanes},
      {"zero height", RawBmp(2, 0, 24, 0, 40, {}, rows)},
      {"absurd width", RawBmp(100000, 1, 24, 0, 40, {}, rows)},
      {"PNG bytes", Png(4, 4)},
  };
  for (const Case& c : cases)
    EXPECT_FALSE(images::ReadRawBitmap(c.file.data(), c.file.size()).usable) << c.what;
  EXPECT_FALSE(images::ReadRawBitmap(nullptr, 100).usable);
  const Bytes whole = RawBmp(4, 4, 24, 0, 40, {}, Bytes(48, 0));
  for (std::size_t cut = 0; cut < whole.size(); ++cut)
    EXPECT_FALSE(images::ReadRawBitmap(whole.data(), cut).usable) << cut;
  EXPECT_TRUE(images::ReadRawBitmap(whole.data(), whole.size()).usable);
}
