#include <gtest/gtest.h>

#include "modecatalog_core.h"

namespace {

DisplayModeRecord Mode(std::uint32_t w, std::uint32_t h, std::uint32_t bpp = 32,
                       std::uint32_t hz = 60) {
  return {w, h, bpp, hz};
}

TEST(SizeList, OneEntryPerSizeAtItsFirstPlace) {
  const SizeList list = BuildSizeList(
      {Mode(1280, 720), Mode(1024, 768, 16, 60), Mode(1024, 768, 32, 75), Mode(1280, 720, 16),
       Mode(800, 600), Mode(1024, 768, 32, 60)},
      {1, 1});
  EXPECT_EQ((SizeList{{1280, 720}, {1024, 768}, {800, 600}}), list);
}

TEST(SizeList, KeepsLandscapeSizesOfAtLeast800By600) {
  const SizeList list = BuildSizeList({Mode(640, 480), Mode(720, 576), Mode(768, 1024),
                                       Mode(800, 480), Mode(800, 600), Mode(1280, 1024),
                                       Mode(600, 600), Mode(1000, 1000)},
                                      {1, 1});
  EXPECT_EQ((SizeList{{800, 600}, {1280, 1024}, {1000, 1000}}), list);
}

TEST(SizeList, DisplayWithoutAnOfferedSizeFallsBackToTheSizeInForce) {
  EXPECT_EQ((SizeList{{640, 480}}), BuildSizeList({Mode(640, 480), Mode(480, 640)}, {640, 480}));
  EXPECT_EQ((SizeList{{1024, 768}}), BuildSizeList({}, {1024, 768}));
}

TEST(SizeList, AbsurdDriverSizesAreNotTurnedNegative) {
  const SizeList list = BuildSizeList({Mode(0x80000000u, 900), Mode(1600, 900)}, {1, 1});
  EXPECT_EQ((SizeList{{1600, 900}}), list);
}

TEST(SizeList, LookupsByIndexAndSize) {
  const SizeList list{{1920, 1080}, {1280, 720}, {800, 600}};
  ASSERT_NE(nullptr, SizeAt(list, 2));
  EXPECT_EQ(800, SizeAt(list, 2)->width);
  EXPECT_EQ(nullptr, SizeAt(list, 3));
  EXPECT_EQ(nullptr, SizeAt(list, -1));
  EXPECT_EQ(nullptr, SizeAt(SizeList{}, 0));
  EXPECT_EQ(1, IndexOfCurrentSize(list, 1280, 720));
  EXPECT_EQ(0, IndexOfCurrentSize(list, 640, 480)) << "a size not offered puts the slider at 0";
  EXPECT_EQ(0, IndexOfCurrentSize(SizeList{}, 640, 480));
  EXPECT_EQ(-1, FindSize(list, 720, 1280));
}

TEST(FullHd, OnlyAt32BitsButAtAnyRefreshRate) {
  EXPECT_TRUE(HasFullHdMode({Mode(1280, 720), Mode(1920, 1080, 32, 24)}));
  EXPECT_FALSE(HasFullHdMode({Mode(1920, 1080, 16), Mode(1920, 1080, 24)}));
  EXPECT_FALSE(HasFullHdMode({Mode(1080, 1920, 32), Mode(1920, 1200, 32)}));
  EXPECT_FALSE(HasFullHdMode({}));
}

}  // namespace
