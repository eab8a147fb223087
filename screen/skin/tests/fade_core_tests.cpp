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

TEST(FadeTone, RunsFromBlackToTheTargetGrey) {
  EXPECT_EQ(0x000000u, kGrey.entries[0]);
  EXPECT_EQ(0x383838u, kGrey.entries[128]);
  EXPECT_EQ(0x6F6F6Fu, kGrey.entries[255]);
  const fade::ToneTable warm = fade::MakeToneTable(0xFF8000, 0x0000FF);
  EXPECT_EQ(0x0000FEu, warm.entries[0]);  // (255 * 255) >> 8 of the start's blue
  EXPECT_EQ(0xFE7F00u, warm.entries[255]);
}

TEST(FadePixels, KnownPixelsAtKnownLevels) {
  EXPECT_EQ(0xFEFEFEu, Faded(0xFFFFFF, 0)) << "level 0 is the picture as the blend rounds it";
  EXPECT_EQ(0x6E6E6Eu, Faded(0xFFFFFF, 100));
  EXPECT_EQ(0x8A0B0Bu, Faded(0xFF0000, 50));
  EXPECT_EQ(0x000000u, Faded(0xFF000000, 30)) << "the fourth byte is cleared";
  EXPECT_EQ(0x000000u, Faded(0x000000, 100));
}

TEST(FadePixels, FastFormEqualsThePerPixelFormEverywhere) {
  std::vector<std::uint32_t> source(1027);  // not a multiple of the vector width
  std::uint32_t x = 7;
  for (auto& p : source) p = (x = x * 1103515245u + 12345u);
  const fade::ToneTable warm = fade::MakeToneTable(0xC08040, 0x102030);
  const fade::ToneTable greys = fade::MakeToneTable(0xC0C0C0, 0x202020);
  for (fade::VectorWidth width : {fade::VectorWidth::Sse2, fade::VectorWidth::Avx2}) {
    if (!fade::HasVectors(width)) continue;
    for (const fade::ToneTable* table : {&kGrey, &warm, &greys}) {
      for (int level = -5; level <= 105; ++level) {
        std::vector<std::uint32_t> fast(source.size()), reference(source.size());
        fade::FadePixelsWith(width, source.data(), fast.data(), source.size(), level, *table);
        fade::FadePixelsReference(source.data(), reference.data(), source.size(), level, *table);
        ASSERT_EQ(reference, fast) << "level " << level;
        std::vector<std::uint32_t> inPlace = source;
        fade::FadePixelsWith(width, inPlace.data(), inPlace.data(), inPlace.size(), level, *table);
        ASSERT_EQ(reference, inPlace) << "in place, level " << level;
      }
    }
  }
  // A table that is not a straight blend is looked up, entry by entry.
  fade::ToneTable odd = kGrey;
  odd.entries[200] = 0x00FF00;
  std::vector<std::uint32_t> fast(source.size()), reference(source.size());
  fade::FadePixels(source.data(), fast.data(), source.size(), 70, odd);
  fade::FadePixelsReference(source.data(), reference.data(), source.size(), 70, odd);
  EXPECT_EQ(reference, fast);
}

TEST(FadeSteps, FirstStepDecidesTheStepSoTheFadeTakesAboutAThirdOfASecond) {
  EXPECT_EQ(5, fade::StepPercent(0)) << "too quick to measure: 20 frames";
  EXPECT_EQ(5, fade::StepPercent(301)) << "slower than the whole fade: 20 frames";
  EXPECT_EQ(5, fade::StepPercent(15));
  EXPECT_EQ(33, fade::StepPercent(100));
  EXPECT_EQ(49, fade::StepPercent(200)) << "levels 0, 49, 98";
  EXPECT_EQ(49, fade::StepPercent(300));
  EXPECT_EQ(3, fade::StepPercent(1)) << "at least 3 percent";
  EXPECT_EQ(9u, fade::StepSlotMs(3));
  EXPECT_EQ(147u, fade::StepSlotMs(49));
}

}  // namespace
