#include <gtest/gtest.h>

#include <vector>

#include "fade_core.h"

namespace {

const fade::ToneTable kGrey = fade::MakeToneTable(fade::kTargetColour, fade::kStartColour);

std::uint32_t Faded(std::uint32_t pixel, int level) {
  std::uint32_t out = 0;
  fade::FadePixels(&pixel, &out, 1, level, kGrey);
  return out;
}

TEST(FadePixels, TheToneRunsFromBlackToTheTargetGreyAndKnownPixelsFadeToKnownColours) {
  EXPECT_EQ(0x000000u, kGrey.entries[0]);
  EXPECT_EQ(0x6F6F6Fu, kGrey.entries[255]);
  EXPECT_EQ(0x0000FEu, fade::MakeToneTable(0xFF8000, 0x0000FF).entries[0]) << "(255 * 255) >> 8";
  EXPECT_EQ(0xFEFEFEu, Faded(0xFFFFFF, 0)) << "level 0 is the picture as the blend rounds it";
  EXPECT_EQ(0x6E6E6Eu, Faded(0xFFFFFF, 100));
  EXPECT_EQ(0x8A0B0Bu, Faded(0xFF0000, 50));
  EXPECT_EQ(0x000000u, Faded(0xFF000000, 30)) << "the fourth byte is cleared";
}

TEST(FadePixels, FastFormEqualsThePerPixelFormEverywhere) {
  std::vector<std::uint32_t> source(1027);  // not a multiple of the vector width
  std::uint32_t x = 7;
  for (auto& p : source) p = (x = x * 1103515245u + 12345u);
  fade::ToneTable odd = kGrey;  // not a straight blend: looked up entry by entry
  odd.entries[200] = 0x00FF00;
  const fade::ToneTable tables[] = {kGrey, fade::MakeToneTable(0xC08040, 0x102030),
                                    fade::MakeToneTable(0xC0C0C0, 0x202020), odd};
  for (fade::VectorWidth width : {fade::VectorWidth::Sse2, fade::VectorWidth::Avx2}) {
    if (!fade::HasVectors(width)) continue;
    for (const fade::ToneTable& table : tables) {
      for (int level = -5; level <= 105; ++level) {
        std::vector<std::uint32_t> fast(source.size()), reference(source.size()), inPlace = source;
        fade::FadePixelsWith(width, source.data(), fast.data(), source.size(), level, table);
        fade::FadePixelsReference(source.data(), reference.data(), source.size(), level, table);
        ASSERT_EQ(reference, fast) << "level " << level;
        fade::FadePixelsWith(width, inPlace.data(), inPlace.data(), inPlace.size(), level, table);
        ASSERT_EQ(reference, inPlace) << "in place, level " << level;
      }
    }
  }
}

// The first step's time decides the step, so that the fade takes about a third of
// a second; 3 to 49 percent.
TEST(FadeSteps, FirstStepDecidesTheStep) {
  const std::pair<std::uint32_t, int> cases[] = {{0, 5}, {301, 5}, {15, 5}, {100, 33}, {200, 49}, {300, 49}, {1, 3}};
  for (const auto& c : cases) EXPECT_EQ(c.second, fade::StepPercent(c.first)) << c.first << " ms";
  EXPECT_EQ(147u, fade::StepSlotMs(49));
}

}  // namespace
