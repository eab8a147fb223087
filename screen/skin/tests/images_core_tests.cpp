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
