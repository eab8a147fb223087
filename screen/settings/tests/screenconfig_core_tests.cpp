#include <gtest/gtest.h>

#include <string>

#include "screenconfig_core.h"

namespace {

ScreenConfigRecord Parse(std::string_view text, const LeadByteTable* leadBytes = nullptr) {
  ScreenConfigRecord record;
  ParseScreenConfig(text, record, leadBytes);
  return record;
}

struct Slot {
  std::int32_t width, height, dpi;
  bool operator==(const Slot& o) const {
    return width == o.width && height == o.height && dpi == o.dpi;
  }
};
std::ostream& operator<<(std::ostream& os, const Slot& s) {
  return os << s.width << "x" << s.height << "@" << s.dpi;
}
Slot SlotOf(const ScreenConfigRecord& r, int n) {
  return {r.width[n - 1], r.height[n - 1], r.dpi[n - 1]};
}

ScreenConfigRecord WithSlot(ScreenConfigRecord r, int n, Slot s) {
  r.width[n - 1] = s.width;
  r.height[n - 1] = s.height;
  r.dpi[n - 1] = s.dpi;
  return r;
}

TEST(ScreenConfigWriter, GivesTheExactTextOfFilledSlotsOnly) {
  ScreenConfigRecord r = WithSlot({}, 1, {1024, 600, 96});
  r = WithSlot(r, 3, {800, 480, 120});
  r = WithSlot(r, 2, {0, 768, 96});     // width 0: empty
  r = WithSlot(r, 4, {-5, 768, 96});    // negative width: empty
  EXPECT_EQ(
      "[Config]\r\n"
      "    Information_1 = 1024-600-96\r\n\r\n"
      "    Information_3 = 800-480-120\r\n\r\n",
      FormatScreenConfig(r));

  EXPECT_EQ("[Config]\r\n", FormatScreenConfig(ScreenConfigRecord{}));

  // The last slot has no empty line after it; numbers are signed decimals.
  const ScreenConfigRecord six = WithSlot({}, 6, {2147483647, -2147483647 - 1, -7});
  EXPECT_EQ("[Config]\r\n    Information_6 = 2147483647--2147483648--7\r\n",
            FormatScreenConfig(six));
}

TEST(ScreenConfigWriter, WrittenSlotsReadBackWithTheirCount) {
  ScreenConfigRecord r;
  for (int n = 1; n <= 6; ++n) r = WithSlot(r, n, {600 + n, 400 + n, 90 + n});
  r.width[4] = 0;  // slot 5 empty
  r.count = 99;    // not written
  const ScreenConfigRecord back = Parse(FormatScreenConfig(r));
  for (int n = 1; n <= 6; ++n) {
    if (n == 5) {
      EXPECT_EQ((Slot{0, 0, 0}), SlotOf(back, n));
    } else {
      EXPECT_EQ(SlotOf(r, n), SlotOf(back, n)) << "slot " << n;
    }
  }
  EXPECT_EQ(5, back.count);
  EXPECT_EQ(5, CountUsedSlots(back));
}

TEST(ScreenConfigWriter, NegativeHeightDoesNotReadBack) {
  // The sign's "-" is taken for the second separator.
  const ScreenConfigRecord back = Parse(FormatScreenConfig(WithSlot({}, 2, {800, -600, 96})));
  EXPECT_EQ((Slot{800, -600, 600}), SlotOf(back, 2));
}

TEST(ScreenConfigReader, KeyAndValueForms) {
  EXPECT_EQ((Slot{640, 480, 96}), SlotOf(Parse("Information_2=640-480-96"), 2))
      << "no blanks, no indent";
  EXPECT_EQ((Slot{640, 480, 96}), SlotOf(Parse("xx Information_2 junk = 640-480-96"), 2))
      << "the key may stand anywhere";

  const ScreenConfigRecord noEquals = Parse("Information_1 800-600-96\r\n");
  EXPECT_EQ((Slot{0, 600, 96}), SlotOf(noEquals, 1)) << "the whole line is the value";
  EXPECT_EQ(1, noEquals.count) << "counted although the slot stays empty";
  EXPECT_EQ(0, CountUsedSlots(noEquals));

  EXPECT_EQ((Slot{1280, 1280, 1280}), SlotOf(Parse("Information_4 = 1280"), 4))
      << "without a '-' nothing is cut";
  EXPECT_EQ((Slot{1280, 720, 720}), SlotOf(Parse("Information_4 = 1280-720"), 4));
  EXPECT_EQ((Slot{-1, 1, -2}), SlotOf(Parse("Information_3 = -1--2--3"), 3))
      << "a sign is also a separator";
  EXPECT_EQ((Slot{1024, 7, 8}), SlotOf(Parse("Information_3 =\t 1024 -+7-  8 dpi"), 3))
      << "atoi: blanks skipped, one sign, digits up to the first other byte";
  EXPECT_EQ((Slot{0, 0, 0}), SlotOf(Parse("Information_3 = x-y-z"), 3));
  EXPECT_EQ((Slot{1, 2, 3}), SlotOf(Parse("Information_3 = 1-2-3 = 4-5-6"), 3))
      << "the first '=' starts the value";
}

TEST(ScreenConfigReader, OrderOfTests) {
  EXPECT_EQ(0, Parse("    Information_1 = 800-600-96 ; old\r\n").count)
      << "a ';' anywhere hides the whole line";
  EXPECT_EQ(0, Parse(";Information_1 = 800-600-96").count);
  EXPECT_EQ(0, Parse("[Config] Information_1 = 800-600-96").count);
  EXPECT_EQ(0, Parse("information_1 = 800-600-96\nInformation_7 = 1-2-3\nInformation_ 1=1-1-1")
                   .count)
      << "keys are case-sensitive and only 1..6";

  // The first key in the order 1..6 that the line contains decides.
  const ScreenConfigRecord r = Parse("Information_5 Information_3 = 1-2-3\nInformation_12=4-5-6");
  EXPECT_EQ((Slot{1, 2, 3}), SlotOf(r, 3));
  EXPECT_EQ((Slot{4, 5, 6}), SlotOf(r, 1)) << "Information_12 contains Information_1";
  EXPECT_EQ((Slot{0, 0, 0}), SlotOf(r, 5));
  EXPECT_EQ(2, r.count);
}

TEST(ScreenConfigReader, LaterLineWinsAndEveryEntryLineCounts) {
  const ScreenConfigRecord r =
      Parse("[Config]\r\nInformation_5 = 1-2-3\r\n\r\nInformation_5 = 4-5-6\r\nnoise\r\n");
  EXPECT_EQ((Slot{4, 5, 6}), SlotOf(r, 5));
  EXPECT_EQ(2, r.count);
}

TEST(ScreenConfigReader, SlotsNotNamedKeepTheirValues) {
  ScreenConfigRecord start = WithSlot({}, 6, {1, 2, 3});
  start.count = 40;
  ParseScreenConfig("Information_2 = 4-5-6", start);
  EXPECT_EQ((Slot{1, 2, 3}), SlotOf(start, 6));
  EXPECT_EQ((Slot{4, 5, 6}), SlotOf(start, 2));
  EXPECT_EQ(1, start.count) << "count is the number of lines read, not added to";
}

TEST(ScreenConfigReader, LineEnds) {
  const std::string crlf = "[Config]\r\nInformation_1 = 800-600-96\r\n\r\nInformation_2 = 1-2-3\r\n";
  std::string lf = crlf;
  for (std::size_t p; (p = lf.find('\r')) != std::string::npos;) lf.erase(p, 1);
  EXPECT_EQ(Parse(crlf), Parse(lf));
  EXPECT_EQ(Parse(crlf), Parse(crlf.substr(0, crlf.size() - 2))) << "last line without LF";
  const ScreenConfigRecord lone = Parse("Information_1 = 1-1-1\rInformation_2 = 2-2-2");
  EXPECT_EQ((Slot{1, 1, 1}), SlotOf(lone, 1)) << "a lone CR does not end a line";
  EXPECT_EQ(1, lone.count);
  EXPECT_EQ(1, Parse("Information_1 = 8\r\r\r\n").count);
}

TEST(ScreenConfigReader, HugeNumbersStopAtThe32BitLimits) {
  const ScreenConfigRecord r = Parse(
      "Information_1 = 2147483647-2147483648-99999999999999999999999\n"
      "Information_2 = -99999999999\n"
      "Information_3 = 1- -0000000000000000000000000000002-3\n");
  EXPECT_EQ((Slot{INT32_MAX, INT32_MAX, INT32_MAX}), SlotOf(r, 1));
  EXPECT_EQ((Slot{INT32_MIN, INT32_MAX, INT32_MAX}), SlotOf(r, 2));
  EXPECT_EQ((Slot{1, -2, 2}), SlotOf(r, 3)) << "leading zeros are no overflow";
}

TEST(ScreenConfigReader, LinesOfAnyLengthInAnyPieces) {
  std::string text = "[Config]\n";
  text += std::string(3'000'000, 'x') + "Information_3" + std::string(100'000, ' ') + "=" +
          std::string(1'000'000, ' ') + "1280-" + std::string(500'000, '0') + "720-120\n";
  text += "Information_6 = 1-2-3";
  const ScreenConfigRecord whole = Parse(text);
  EXPECT_EQ((Slot{1280, 720, 120}), SlotOf(whole, 3));
  EXPECT_EQ((Slot{1, 2, 3}), SlotOf(whole, 6));
  EXPECT_EQ(2, whole.count);

  // Every cut of a small text gives the same result as reading it at once.
  const std::string small = "[Config]\r\n  Information_2=  640-480-96 \r\nInformation_1 x-1-2\n";
  for (std::size_t cut = 0; cut <= small.size(); ++cut) {
    ScreenConfigParser parser;
    parser.Feed(small.data(), cut);
    parser.Feed(small.data() + cut, small.size() - cut);
    EXPECT_EQ(Parse(small), parser.Finish()) << "cut at " << cut;
  }
}

TEST(ScreenConfigReader, NulEndsTheTextOfItsLine) {
  using namespace std::string_literals;
  const ScreenConfigRecord r = Parse("Information_1 = 1-2-3\0;\nInformation_2\0 = 4-5-6\n"s);
  EXPECT_EQ((Slot{1, 2, 3}), SlotOf(r, 1)) << "the ';' after the NUL is not seen";
  EXPECT_EQ((Slot{0, 0, 0}), SlotOf(r, 2)) << "the value after the NUL is not seen";
  EXPECT_EQ(2, r.count);
}

TEST(ScreenConfigReader, SecondBytesOfFarEastCharactersMatchNothing) {
  LeadByteTable shiftJis{};
  for (int c = 0x81; c <= 0x9F; ++c) shiftJis[c] = true;
  for (int c = 0xE0; c <= 0xFC; ++c) shiftJis[c] = true;

  // 0x82 0x49 is one character whose second byte is 'I'.
  const std::string hidden = "\x82Information_1 = 1-2-3\n\x82[Config]Information_2 = 4-5-6\n";
  const ScreenConfigRecord sjis = Parse(hidden, &shiftJis);
  EXPECT_EQ(1, sjis.count) << "only the second line is an entry";
  EXPECT_EQ((Slot{0, 0, 0}), SlotOf(sjis, 1));
  EXPECT_EQ((Slot{4, 5, 6}), SlotOf(sjis, 2)) << "its '[' is part of a character";
  // Read as single bytes, the first line is an entry and the second a header.
  const ScreenConfigRecord latin = Parse(hidden);
  EXPECT_EQ((Slot{1, 2, 3}), SlotOf(latin, 1));
  EXPECT_EQ(1, latin.count);

  // A character ending in '-' does not separate; a lead byte before LF ends nothing.
  EXPECT_EQ((Slot{7, 7, 7}), SlotOf(Parse("Information_1 = 7\x81-8", &shiftJis), 1));
  EXPECT_EQ((Slot{1, 2, 3}),
            SlotOf(Parse("x\x81\nInformation_1 = 1-2-3", &shiftJis), 1));
}

}  // namespace
