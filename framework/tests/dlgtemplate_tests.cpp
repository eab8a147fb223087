#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "dlgtemplate.h"

namespace {

// An extended template written out field by field, as a resource compiler lays
// it out: a header with a font, then items each on a 4-byte boundary.
class TemplateBytes {
 public:
  std::vector<std::uint8_t> bytes;

  void Word(std::uint16_t v) {
    bytes.push_back(v & 0xFF);
    bytes.push_back(v >> 8);
  }
  void Dword(std::uint32_t v) {
    Word(v & 0xFFFF);
    Word(v >> 16);
  }
  void Text(const char* s) {
    while (*s) Word(static_cast<std::uint8_t>(*s++));
    Word(0);
  }
  void Align() {
    while (bytes.size() % 4) bytes.push_back(0);
  }
  void Header(std::uint16_t items) {
    Word(1), Word(0xFFFF), Dword(0), Dword(0), Dword(0x40 | 0x80000000);  // DS_SETFONT | WS_POPUP
    Word(items), Word(0), Word(0), Word(200), Word(100);
    Word(0), Word(0), Text("Title");  // no menu, the dialog class
    Word(9), Word(400), Word(0), Text("Arial");
  }
  // An item of a predefined class (an ordinal) or a named one; returns where it starts.
  std::size_t Item(std::uint32_t id, std::uint16_t classOrdinal, const char* className,
                   const char* title, std::uint32_t style = 0x50000000, std::uint32_t helpId = 0,
                   std::uint16_t extra = 0) {
    Align();
    const std::size_t start = bytes.size();
    Dword(helpId), Dword(0x20), Dword(style);
    Word(1), Word(2), Word(40), Word(20), Dword(id);
    if (classOrdinal) {
      Word(0xFFFF), Word(classOrdinal);
    } else {
      Text(className);
    }
    Text(title);
    Word(extra);
    for (std::uint16_t i = 0; i < extra; ++i) bytes.push_back(0xAB);
    return start;
  }
};

TemplateBytes ThreeControls(std::size_t (&starts)[3], std::uint32_t middleStyle = 0x50000000,
                            std::uint32_t middleHelp = 0, std::uint16_t lastExtra = 0) {
  TemplateBytes t;
  t.Header(3);
  starts[0] = t.Item(10, 0x80, nullptr, " ");
  starts[1] = t.Item(11, 0, "Static", "caption", middleStyle, middleHelp);
  starts[2] = t.Item(12, 0x84, nullptr, "", 0x50000000, 0, lastExtra);
  return t;
}

TEST(DialogTemplate, LeavesOutTheControlsAskedForAndKeepsTheRestByteForByte) {
  std::size_t starts[3];
  const TemplateBytes t = ThreeControls(starts);
  dlgtemplate::Split split;
  ASSERT_TRUE(dlgtemplate::SplitTemplate(t.bytes.data(), t.bytes.size(), {11, 99}, split));

  ASSERT_EQ(1u, split.later.size());
  const dlgtemplate::LaterControl& later = split.later[0];
  EXPECT_EQ(11u, later.id);
  EXPECT_EQ(0x50000000u, later.style);
  EXPECT_EQ(0x20u, later.exStyle);
  EXPECT_EQ(1, later.x);
  EXPECT_EQ(2, later.y);
  EXPECT_EQ(40, later.cx);
  EXPECT_EQ(20, later.cy);
  EXPECT_EQ(u"Static", later.windowClass.name);
  EXPECT_EQ(u"caption", later.title.name);
  EXPECT_TRUE(later.hasPrevious);
  EXPECT_EQ(10u, later.previousId);

  // The header with two items, then the first and the third as they were.
  std::vector<std::uint8_t> expected(t.bytes.begin(), t.bytes.begin() + starts[1]);
  expected[16] = 2;
  std::vector<std::uint8_t> third(t.bytes.begin() + starts[2], t.bytes.end());
  while (expected.size() % 4) expected.push_back(0);
  expected.insert(expected.end(), third.begin(), third.end());
  EXPECT_EQ(expected, split.made);

  // The first control has no control before it; nothing asked for: the same bytes.
  ASSERT_TRUE(dlgtemplate::SplitTemplate(t.bytes.data(), t.bytes.size(), {10}, split));
  EXPECT_FALSE(split.later.at(0).hasPrevious);
  EXPECT_EQ(0x80, split.later[0].windowClass.ordinal);
  EXPECT_STREQ("Button", dlgtemplate::PredefinedClassName(split.later[0].windowClass.ordinal));
  ASSERT_TRUE(dlgtemplate::SplitTemplate(t.bytes.data(), t.bytes.size(), {}, split));
  EXPECT_EQ(t.bytes, split.made);
}

TEST(DialogTemplate, ABrokenTemplateOrAControlThatCannotBeMadeLaterMakesTheDialogWhole) {
  std::size_t starts[3];
  const TemplateBytes t = ThreeControls(starts);
  dlgtemplate::Split split;
  // Cut anywhere: never read past the end.
  for (std::size_t size = 0; size < t.bytes.size(); ++size) {
    EXPECT_FALSE(dlgtemplate::SplitTemplate(t.bytes.data(), size, {11}, split)) << size;
    EXPECT_TRUE(split.made.empty());
  }
  std::vector<std::uint8_t> classic = t.bytes;
  classic[0] = 0;  // not an extended template
  EXPECT_FALSE(dlgtemplate::SplitTemplate(classic.data(), classic.size(), {11}, split));
  std::vector<std::uint8_t> messageFont = t.bytes;
  messageFont[42] = 0xFF, messageFont[43] = 0x7F;  // the font's size: the message box font
  EXPECT_FALSE(dlgtemplate::SplitTemplate(messageFont.data(), messageFont.size(), {11}, split));

  const TemplateBytes withHelp = ThreeControls(starts, 0x50000000, 7);
  EXPECT_FALSE(dlgtemplate::SplitTemplate(withHelp.bytes.data(), withHelp.bytes.size(), {11}, split));
  EXPECT_TRUE(dlgtemplate::SplitTemplate(withHelp.bytes.data(), withHelp.bytes.size(), {10}, split))
      << "a help id of a control made at once stays in the template";
  const TemplateBytes withData = ThreeControls(starts, 0x50000000, 0, 3);
  EXPECT_FALSE(dlgtemplate::SplitTemplate(withData.bytes.data(), withData.bytes.size(), {12}, split));
  EXPECT_TRUE(dlgtemplate::SplitTemplate(withData.bytes.data(), withData.bytes.size(), {11}, split));
  EXPECT_EQ(withData.bytes.size() - (starts[2] - starts[1]), split.made.size());

  TemplateBytes defaultButton;
  defaultButton.Header(1);
  defaultButton.Item(10, 0, "BUTTON", "OK", 0x50000001);  // BS_DEFPUSHBUTTON
  EXPECT_FALSE(dlgtemplate::SplitTemplate(defaultButton.bytes.data(), defaultButton.bytes.size(), {10}, split));
}

}  // namespace
