#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msgbox_core.h"

namespace {

using msgbox::KeyAction;

// Weight and character set come from the captions' table (tested with it); the
// message's own decision is the smaller height for languages with long sentences.
TEST(MessageBoxLook, FontByLanguage) {
  const msgbox::MessageFont english = msgbox::MessageFontFor("English");
  EXPECT_EQ(-21, english.height);
  EXPECT_EQ(400, english.weight);
  EXPECT_EQ(1, english.charset);
  EXPECT_EQ(-20, msgbox::MessageFontFor("dutch").height) << "names are compared without case";
  EXPECT_EQ(-20, msgbox::MessageFontFor("Turkish").height);
  EXPECT_EQ(129, msgbox::MessageFontFor("Korean").charset) << "Hangul: the texts are in code page 949";
  EXPECT_EQ(-21, msgbox::MessageFontFor(nullptr).height);
}

TEST(MessageBoxLook, RightToLeftSwapsTheAnswersAndAlignsRight) {
  const msgbox::ButtonOrder ltr = msgbox::ButtonOrderFor(false), rtl = msgbox::ButtonOrderFor(true);
  EXPECT_EQ((std::vector<std::string>{"Yes", "No"}), (std::vector<std::string>{ltr.leftCaption, ltr.rightCaption}));
  EXPECT_EQ((std::vector<int>{1, 2, 1057}), (std::vector<int>{ltr.leftResult, ltr.rightResult, ltr.focusedId}));
  EXPECT_EQ((std::vector<std::string>{"No", "Yes"}), (std::vector<std::string>{rtl.leftCaption, rtl.rightCaption}));
  EXPECT_EQ((std::vector<int>{2, 1, 1056}), (std::vector<int>{rtl.leftResult, rtl.rightResult, rtl.focusedId}))
      << "\"No\" has the focus either way";
  EXPECT_EQ(0x15u, msgbox::MessageFormat(false));
  EXPECT_EQ(0x16u, msgbox::MessageFormat(true));
}

TEST(MessageBoxKeys, LeftAndRightMoveBetweenTheAnswersEnterPressesUpAndDownDoNothing) {
  for (unsigned key : {13u, 37u, 38u, 39u, 40u, 98u, 100u, 102u, 104u}) EXPECT_TRUE(msgbox::IsBoxKey(key)) << key;
  for (unsigned key : {27u, 9u, 32u, 97u, 65u}) EXPECT_FALSE(msgbox::IsBoxKey(key)) << key;
  struct Case {
    unsigned key;
    int focused;
    KeyAction action;
  };
  const Case cases[] = {
      {13, 1056, KeyAction::PressLeft},  {39, 1056, KeyAction::FocusRight}, {102, 1056, KeyAction::FocusRight},
      {37, 1056, KeyAction::None},       {13, 1057, KeyAction::PressRight}, {37, 1057, KeyAction::FocusLeft},
      {100, 1057, KeyAction::FocusLeft}, {39, 1057, KeyAction::None},       {38, 1056, KeyAction::None},
      {98, 1057, KeyAction::None},       {13, 1016, KeyAction::None},       {13, 0, KeyAction::None},
  };
  for (const Case& c : cases) EXPECT_EQ(c.action, msgbox::KeyActionFor(c.key, c.focused)) << c.key << " on " << c.focused;
}

bool ShiftJisLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(MessageBoxTexts, CopiesAreCutToTheBufferAndNeverSplitACharacter) {
  char out[8];
  EXPECT_EQ(7u, msgbox::CopyText(out, sizeof out, "0123456789"));
  EXPECT_STREQ("0123456", out);
  EXPECT_EQ(0u, msgbox::CopyText(out, sizeof out, nullptr));
  EXPECT_STREQ("", out);
  EXPECT_EQ(0u, msgbox::CopyText(out, 0, "x")) << "no room at all: nothing written";
  // "ab" then three double-byte characters (the second byte of the first is a
  // backslash in code page 932): only whole characters fit in 7 bytes.
  EXPECT_EQ(6u, msgbox::CopyText(out, sizeof out, "ab\x95\x5C\x83\x7C\x95\x5C", &ShiftJisLead));
  EXPECT_EQ(std::string("ab\x95\x5C\x83\x7C"), out);
  EXPECT_EQ(3u, msgbox::CopyText(out, sizeof out, "abc\x95", &ShiftJisLead)) << "a lead byte at the end";
}

TEST(MessageBoxTexts, CountsFillOnlyFormatsWithOneIntegerPlaceholder) {
  char out[64];
  const std::pair<const char*, const char*> good[] = {
      {"Press button within %lu sec.", "Press button within 16 sec."}, {"%% %u %%", "% 16 %"}, {"[%3d]", "[ 16]"}};
  for (const auto& g : good) {
    EXPECT_TRUE(msgbox::FormatCount(g.first, 16, out, sizeof out)) << g.first;
    EXPECT_STREQ(g.second, out);
  }
  for (const char* odd : {"%s seconds", "%lu of %lu", "no number", "%n", "100%", "%*d", "%p", "%hu"}) {
    EXPECT_FALSE(msgbox::FormatCount(odd, 16, out, sizeof out)) << odd;
    EXPECT_STREQ("", out) << odd;
  }
  char small[6];
  EXPECT_TRUE(msgbox::FormatCount("within %lu sec.", 16, small, sizeof small));
  EXPECT_STREQ("withi", small);
}

// Timers that fire late by up to 16 ms, as the system's do: every number from
// 16 down to 1 is shown once, in order, and the press comes at 15999 ms, not a
// second later.
TEST(TimedQuestion, ATimerThatFiresLateStillShowsEachSecondOnceAndPressesOnTime) {
  for (std::uint32_t late : {0u, 1u, 7u, 15u, 16u}) {
    std::vector<std::uint32_t> shown{msgbox::InitialSeconds(msgbox::kTimeoutMs)};
    std::uint32_t now = 0;
    for (int tick = 0; tick < 100; ++tick) {
      now += msgbox::NextTickMs(msgbox::kTimeoutMs, now) + late;
      if (msgbox::IsTimeUp(msgbox::kTimeoutMs, now)) break;
      const std::uint32_t seconds = msgbox::SecondsLeft(msgbox::kTimeoutMs, now);
      if (seconds != shown.back()) shown.push_back(seconds);
    }
    const std::vector<std::uint32_t> expected{16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};
    EXPECT_EQ(expected, shown) << "late by " << late;
    EXPECT_GE(now, 15999u);
    EXPECT_LE(now, 15999u + late) << "late by " << late;
  }
  EXPECT_EQ(1u, msgbox::SecondsLeft(15999, 15600)) << "never 0 before the time is up";
  EXPECT_EQ(10u, msgbox::NextTickMs(15999, 15995)) << "at least the minimum";
}

}  // namespace
