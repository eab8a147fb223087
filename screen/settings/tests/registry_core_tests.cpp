// Which DPI values may reach the machine-wide setting.
#include <gtest/gtest.h>

#include <cstdint>

#include "registry_dpi.h"

TEST(UsableDpi, TheEveryDaySettingsAndTheEdgesAreUsable) {
  for (std::uint32_t dpi : {72u, 96u, 120u, 140u, 144u, 192u, 480u}) {
    EXPECT_TRUE(dpireg::IsUsableDpi(dpi)) << dpi;
  }
}

TEST(UsableDpi, NothingJustOutsideTheBoundsNorGarbageIsUsable) {
  // 0 is what a missing or unreadable number looks like; 0x00320031 is the text
  // "12" read as a number; the others are the neighbours of the bounds.
  for (std::uint32_t dpi : {0u, 1u, 71u, 481u, 1000000u, 0x00320031u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(dpireg::IsUsableDpi(dpi)) << dpi;
  }
}

TEST(RequestKey, KeepsItsTrailingBackslashInBothWidths) {
  const std::string narrow = dpireg::kRequestKeyA;
  const std::wstring wide = dpireg::kRequestKeyW;
  EXPECT_EQ('\\', narrow.back());
  EXPECT_EQ(std::wstring(narrow.begin(), narrow.end()), wide);
}
