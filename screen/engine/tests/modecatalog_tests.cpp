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

// Wine's virtual desktop offers 20 sizes from 320 x 200 to 1920 x 1080 at 8, 16
// and 32 bits; these are the landscape ones of at least 800 x 600, each once, in
// the driver's order (written out here, not rebuilt with the program's filter).
TEST(DisplayModes, VirtualDesktopGivesTheLandscapeSizesInDriverOrder) {
  ASSERT_EQ(60u, EnumeratePrimaryDisplayModes().size()) << "the tests run in Wine's virtual desktop";
  const SizeList expected{{800, 600},   {1024, 768},  {1152, 864},  {1280, 720},  {1280, 800},
                          {1280, 960},  {1280, 1024}, {1366, 768},  {1400, 1050}, {1440, 900},
                          {1600, 900},  {1680, 1050}, {1920, 1080}};
  EXPECT_EQ(expected, BuildDisplaySizeList());
  EXPECT_TRUE(DisplayHasFullHdMode());
}

TEST(CurrentMode, ReadsTheDisplayAndFollowsAModeChange) {
  CurrentDisplayMode mode;
  ASSERT_TRUE(ReadCurrentDisplayMode(mode, true));
  const CurrentDisplayMode before = mode;
  EXPECT_GT(mode.dpi, 0.0);
  ASSERT_EQ(1280, mode.width) << "the tests run in a 1280 x 720 virtual desktop";
  // The mode of the registry comes back whatever happens here.
  struct Restore {
    ~Restore() { ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr); }
  } restore;

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
