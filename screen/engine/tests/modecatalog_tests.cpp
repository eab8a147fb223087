// The catalogue against Wine's display driver, inside the test prefix's virtual
// desktop (1280 x 720), which offers 20 sizes at 8, 16 and 32 bits.
#include <gtest/gtest.h>

#include "modecatalog.h"

namespace {

TEST(DisplayModes, TwoPassEnumerationGivesWholeRecords) {
  const std::vector<DEVMODEA> modes = EnumeratePrimaryDisplayModes();
  ASSERT_FALSE(modes.empty());
  // (Wine rewrites dmSize to the size it filled; the records stay 156 bytes apart.)
  for (const DEVMODEA& m : modes) {
    EXPECT_GT(m.dmPelsWidth, 0u);
    EXPECT_GT(m.dmPelsHeight, 0u);
    EXPECT_GT(m.dmBitsPerPel, 0u);
  }
}

TEST(DisplayModes, VirtualDesktopGivesTheLandscapeSizesInDriverOrder) {
  const std::vector<DEVMODEA> modes = EnumeratePrimaryDisplayModes();
  if (modes.size() < 10) GTEST_SKIP() << "not inside Wine's virtual desktop";
  const SizeList list = BuildDisplaySizeList();
  SizeList expected;
  for (const DEVMODEA& m : modes) {
    const ScreenSize s{static_cast<std::int32_t>(m.dmPelsWidth),
                       static_cast<std::int32_t>(m.dmPelsHeight)};
    if (IsOfferedSize(m.dmPelsWidth, m.dmPelsHeight) && FindSize(expected, s.width, s.height) < 0)
      expected.push_back(s);
  }
  EXPECT_EQ(expected, list);
  EXPECT_NE(-1, FindSize(list, 1280, 720));
  EXPECT_NE(-1, FindSize(list, 800, 600));
  EXPECT_EQ(-1, FindSize(list, 640, 480));
  EXPECT_TRUE(DisplayHasFullHdMode());
}

TEST(CurrentMode, ReadsTheDisplayAndFollowsAModeChange) {
  CurrentDisplayMode mode;
  ASSERT_TRUE(ReadCurrentDisplayMode(mode, true));
  const CurrentDisplayMode before = mode;
  EXPECT_GT(mode.width, 0);
  EXPECT_GT(mode.dpi, 0.0);
  if (EnumeratePrimaryDisplayModes().size() < 10) GTEST_SKIP() << "no virtual desktop";

  DEVMODEA dm{};
  dm.dmSize = sizeof dm;
  dm.dmPelsWidth = 800;
  dm.dmPelsHeight = 600;
  dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsExA(nullptr, &dm, nullptr, 0, nullptr));
  mode.dpi = -1;
  ReadCurrentDisplayMode(mode, false);
  EXPECT_EQ(800, mode.width);
  EXPECT_EQ(600, mode.height);
  EXPECT_EQ(-1, mode.dpi) << "the DPI is read only when asked";
  ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);  // back to the registry's mode
  ReadCurrentDisplayMode(mode, false);
  EXPECT_EQ(before.width, mode.width);
}

}  // namespace
