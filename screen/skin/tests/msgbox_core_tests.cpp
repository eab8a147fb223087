#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "msgbox_core.h"

namespace {

using msgbox::KeyAction;

TEST(MessageBoxLook, FontByLanguage) {
  const msgbox::MessageFont english = msgbox::MessageFontFor("English");
  EXPECT_EQ(-21, english.height);
  EXPECT_EQ(400, english.weight);
  EXPECT_EQ(1, english.charset);
  EXPECT_EQ(-20, msgbox::MessageFontFor("dutch").height) << "names are compared without case";
  const msgbox::MessageFont turkish = msgbox::MessageFontFor("Turkish");
  EXPECT_EQ(-20, turkish.height);
  EXPECT_EQ(162, turkish.charset);
  const msgbox::MessageFont korean = msgbox::MessageFontFor("Korean");
  EXPECT_EQ(-21, korean.height);
  EXPECT_EQ(700, korean.weight);
  EXPECT_EQ(129, korean.charset) << "Hangul, as the captions: the texts are in code page 949";
  EXPECT_EQ(128, msgbox::MessageFontFor("Japanese").charset);
  EXPECT_EQ(700, msgbox::MessageFontFor("TChinese").weight);
  EXPECT_EQ(-21, msgbox::MessageFontFor(nullptr).height);
}

TEST(MessageBoxLook, RightToLeftSwapsTheAnswersAndAlignsRight) {
  const msgbox::ButtonOrder ltr = msgbox::ButtonOrderFor(false);
  EXPECT_STREQ("Yes", ltr.leftCaption);
  EXPECT_EQ(1, ltr.leftResult);
  EXPECT_STREQ("No", ltr.rightCaption);
  EXPECT_EQ(2, ltr.rightResult);
  EXPECT_EQ(1057, ltr.focusedId);
  const msgbox::ButtonOrder rtl = msgbox::ButtonOrderFor(true);
  EXPECT_STREQ("No", rtl.leftCaption);
  EXPECT_EQ(2, rtl.leftResult);
  EXPECT_STREQ("Yes", rtl.rightCaption);
  EXPECT_EQ(1, rtl.rightResult);
  EXPECT_EQ(1056, rtl.focusedId) << "\"No\" comes first either way";
  EXPECT_EQ(0x15u, msgbox::MessageFormat(false));
  EXPECT_EQ(0x16u, msgbox::MessageFormat(true));
}

TEST(MessageBoxKeys, LeftAndRightMoveBetweenTheAnswersEnterPressesUpAndDownDoNothing) {
  for (unsigned key : {13u, 37u, 38u, 39u, 40u, 98u, 100u, 102u, 104u}) EXPECT_TRUE(msgbox::IsBoxKey(key)) << key;
  for (unsigned key : {27u, 9u, 32u, 97u, 65u}) EXPECT_FALSE(msgbox::IsBoxKey(key)) << key;

  EXPECT_EQ(KeyAction::PressLeft, msgbox::KeyActionFor(13, 1056));
  EXPECT_EQ(KeyAction::FocusRight, msgbox::KeyActionFor(39, 1056));
  EXPECT_EQ(KeyAction::FocusRight, msgbox::KeyActionFor(102, 1056));
  EXPECT_EQ(KeyAction::None, msgbox::KeyActionFor(37, 1056));
  EXPECT_EQ(KeyAction::PressRight, msgbox::KeyActionFor(13, 1057));
  EXPECT_EQ(KeyAction::FocusLeft, msgbox::KeyActionFor(37, 1057));
  EXPECT_EQ(KeyAction::FocusLeft, msgbox::KeyActionFor(100, 1057));
  EXPECT_EQ(KeyAction::None, msgbox::KeyActionFor(39, 1057));
  for (unsigned key : {38u, 40u, 98u, 104u}) {
    EXPECT_EQ(KeyAction::None, msgbox::KeyActionFor(key, 1056)) << key;
    EXPECT_EQ(KeyAction::None, msgbox::KeyActionFor(key, 1057)) << key;
  }
  EXPECT_EQ(KeyAction::None, msgbox::KeyActionFor(13, 1016)) << "focus on neither answer";
  EXPECT_EQ(KeyAction::None, msgbox::KeyActionFor(13, 0));
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
  const char text[] = "ab\x95\x5C\x83\x7C\x95\x5C";
  EXPECT_EQ(6u, msgbox::CopyText(out, sizeof out, text, &ShiftJisLead));
  EXPECT_EQ(std::string("ab\x95\x5C\x83\x7C"), out);
  const char broken[] = "abc\x95";  // a lead byte with nothing after it
  EXPECT_EQ(3u, msgbox::CopyText(out, sizeof out, broken, &ShiftJisLead));
}

TEST(MessageBoxTexts, CountsFillOnlyFormatsWithOneIntegerPlaceholder) {
  char out[64];
  EXPECT_TRUE(msgbox::FormatCount("Press button within %lu sec.", 16, out, sizeof out));
  EXPECT_STREQ("Press button within 16 sec.", out);
  EXPECT_TRUE(msgbox::FormatCount("%% %u %%", 3, out, sizeof out));
  EXPECT_STREQ("% 3 %", out);
  EXPECT_TRUE(msgbox::FormatCount("[%3d]", 7, out, sizeof out));
  EXPECT_STREQ("[  7]", out);
  for (const char* odd : {"%s seconds", "%lu of %lu", "no number", "%n", "100%", "%*d", "%p", "%hu"}) {
    EXPECT_FALSE(msgbox::FormatCount(odd, 16, out, sizeof out)) << odd;
    EXPECT_STREQ("", out) << odd;
  }
  char small[6];
  EXPECT_TRUE(msgbox::FormatCount("within %lu sec.", 16, small, sizeof small));
  EXPECT_STREQ("withi", small);
}

TEST(TimedQuestion, CountsDownFromSixteenAndPressesAt15999) {
  EXPECT_EQ(16u, msgbox::InitialSeconds(msgbox::kTimeoutMs));
  EXPECT_EQ(16u, msgbox::SecondsLeft(15999, 0));
  EXPECT_EQ(15u, msgbox::SecondsLeft(15999, 1000));
  EXPECT_EQ(1u, msgbox::SecondsLeft(15999, 15000));
  EXPECT_EQ(1u, msgbox::SecondsLeft(15999, 15600)) << "never 0 before the time is up";
  EXPECT_FALSE(msgbox::IsTimeUp(15999, 15998));
  EXPECT_TRUE(msgbox::IsTimeUp(15999, 15999));
  EXPECT_EQ(1000u, msgbox::NextTickMs(15999, 0));
  EXPECT_EQ(990u, msgbox::NextTickMs(15999, 1010));
  EXPECT_EQ(999u, msgbox::NextTickMs(15999, 15000)) << "the last tick is the time-out itself";
  EXPECT_EQ(10u, msgbox::NextTickMs(15999, 15995));
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
}

}  // namespace
