// The skinned button's decisions: kind and style, caption font, image choice,
// owner calls by control id, the radio group walk.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "skinbutton_core.h"

using namespace skinbutton;

namespace {

TEST(ButtonStyle, KindFromTheTemplateStyle) {
  EXPECT_EQ(ButtonKind::Push, KindFromStyle(0x50000000));         // BS_PUSHBUTTON, child
  EXPECT_EQ(ButtonKind::Push, KindFromStyle(0x01));               // BS_DEFPUSHBUTTON
  EXPECT_EQ(ButtonKind::Push, KindFromStyle(0x02));               // BS_CHECKBOX
  EXPECT_EQ(ButtonKind::Push, KindFromStyle(0x04));               // BS_RADIOBUTTON
  EXPECT_EQ(ButtonKind::CheckBox, KindFromStyle(0x50010003));     // BS_AUTOCHECKBOX
  EXPECT_EQ(ButtonKind::CheckBox, KindFromStyle(0x0B));           // both bits: check box wins
  EXPECT_EQ(ButtonKind::Radio, KindFromStyle(0x09));              // BS_AUTORADIOBUTTON
  EXPECT_EQ(ButtonKind::Radio, KindFromStyle(0x0D));
  EXPECT_EQ(ButtonKind::Push, KindFromStyle(0x100));  // only the low byte counts
}

TEST(ButtonStyle, OwnerDrawReplacesEveryTypeAndKeepsOtherBits) {
  for (std::uint32_t type = 0; type <= 0x0F; ++type) {
    const std::uint32_t style = 0x50010000u | 0x2000u | type;  // child, visible, tabstop, BS_MULTILINE
    EXPECT_EQ(0x5001200Bu, OwnerDrawStyle(style)) << "type " << type;
  }
}

TEST(CaptionFontByLanguage, NamesCompareWithoutCaseButWhole) {
  // Height, weight and character set come from separate lists; each is consulted.
  const CaptionFont korean = CaptionFontFor("Korean");
  EXPECT_EQ(-21, korean.height);
  EXPECT_EQ(700, korean.weight);
  EXPECT_EQ(129, korean.charset) << "Hangul: the texts are in code page 949, not Johab's";
  const CaptionFont russian = CaptionFontFor("Russian");
  EXPECT_EQ(-20, russian.height);
  EXPECT_EQ(400, russian.weight);
  EXPECT_EQ(204, russian.charset);
  EXPECT_EQ(-16, CaptionFontFor("TURKISH").height);
  EXPECT_EQ(162, CaptionFontFor("turkish").charset);
  EXPECT_EQ(700, CaptionFontFor("korean").weight);
  EXPECT_EQ(-21, CaptionFontFor("Turk").height);
  EXPECT_EQ(-21, CaptionFontFor("Turkish ").height);
  EXPECT_EQ(-21, CaptionFontFor(nullptr).height);
}

ButtonState Idle(SkinRole role) {
  ButtonState s;
  s.role = role;
  s.haveNormal = s.haveDown = s.haveOver = s.haveFocus = s.haveDisabled = true;
  return s;
}

TEST(ImageChoice, DisabledPushedAndCheckedComeFirst) {
  ButtonState s = Idle(SkinRole::Preset);
  s.disabled = s.pushed = s.hovering = s.selected = true;
  EXPECT_EQ(Image::Disabled, PlanDrawing(s).image);
  EXPECT_EQ(Caption::Embossed, PlanDrawing(s).caption);

  s = Idle(SkinRole::Captioned);
  s.checked = s.hovering = s.hasKeyboardFocus = true;
  EXPECT_EQ(Image::Down, PlanDrawing(s).image);
  EXPECT_EQ(Caption::Shifted, PlanDrawing(s).caption);
  s.checked = false;
  s.pushed = true;
  EXPECT_EQ(Image::Down, PlanDrawing(s).image);
}

TEST(ImageChoice, MissingImagesGiveTheButtonFace) {
  ButtonState s = Idle(SkinRole::Plain);
  s.haveNormal = false;
  s.hovering = true;
  EXPECT_EQ(Image::None, PlanDrawing(s).image) << "no normal image: plain colour in every idle look";
  s = Idle(SkinRole::Plain);
  s.haveDown = false;
  s.pushed = true;
  EXPECT_EQ(Image::None, PlanDrawing(s).image);
  EXPECT_EQ(Caption::Shifted, PlanDrawing(s).caption);
  s = Idle(SkinRole::Plain);
  s.haveDisabled = false;
  s.disabled = true;
  EXPECT_EQ(Image::None, PlanDrawing(s).image);
  // A selected preset whose down image is missing must not draw a null image.
  s = Idle(SkinRole::Preset);
  s.haveDown = false;
  s.selected = true;
  EXPECT_EQ(Image::None, PlanDrawing(s).image);
}

TEST(ImageChoice, MissingOverImageKeepsTheNormalLook) {
  ButtonState s = Idle(SkinRole::Plain);
  s.haveOver = s.haveFocus = false;
  s.hovering = s.focusItem = true;
  EXPECT_EQ(Image::Normal, PlanDrawing(s).image);
}

TEST(ImageChoice, SelectedPresetShowsDownWhetherHoveredFocusedOrIdle) {
  for (int look = 0; look < 3; ++look) {
    ButtonState s = Idle(SkinRole::Preset);
    s.selected = true;
    s.hovering = look == 0;
    s.focusItem = s.hasKeyboardFocus = look == 1;
    EXPECT_EQ(Image::Down, PlanDrawing(s).image) << "look " << look;
    EXPECT_EQ(Caption::Plain, PlanDrawing(s).caption);
  }
  // The latch means nothing for another role.
  ButtonState s = Idle(SkinRole::Plain);
  s.selected = true;
  EXPECT_EQ(Image::Normal, PlanDrawing(s).image);
  s.focusItem = true;
  EXPECT_EQ(Image::Focus, PlanDrawing(s).image);
}

TEST(ImageChoice, HoveredCaptionedAndThumbFollowTheKeyboardFocus) {
  for (SkinRole role : {SkinRole::Captioned, SkinRole::SliderThumb}) {
    ButtonState s = Idle(role);
    s.hovering = true;
    s.hasKeyboardFocus = true;
    EXPECT_EQ(Image::Over, PlanDrawing(s).image);
    s.hasKeyboardFocus = false;
    s.focusItem = true;  // the hover rule wins over the focus rule
    EXPECT_EQ(Image::Normal, PlanDrawing(s).image);
  }
  ButtonState s = Idle(SkinRole::Plain);
  s.hovering = true;
  EXPECT_EQ(Image::Over, PlanDrawing(s).image) << "a coloured key shows its over look without focus";
}

TEST(ImageChoice, FocusedThumbHeldDownShowsDown) {
  ButtonState s = Idle(SkinRole::SliderThumb);
  s.focusItem = true;
  EXPECT_EQ(Image::Focus, PlanDrawing(s).image);
  s.pressed = true;
  EXPECT_EQ(Image::Down, PlanDrawing(s).image);
  s.role = SkinRole::Captioned;
  EXPECT_EQ(Image::Focus, PlanDrawing(s).image);
}

// A group as the system walks it: member -> next member (0: none).
std::vector<std::uintptr_t> Walk(std::uintptr_t start, std::map<std::uintptr_t, std::uintptr_t> next) {
  std::vector<std::uintptr_t> met;
  WalkGroupFrom(
      start, [&](std::uintptr_t m) { return next.count(m) ? next[m] : 0; },
      [&](std::uintptr_t m) { met.push_back(m); });
  return met;
}

TEST(RadioGroup, WalkVisitsEveryOtherMemberOnce) {
  EXPECT_EQ((std::vector<std::uintptr_t>{2, 3}), Walk(1, {{1, 2}, {2, 3}, {3, 1}}));
  EXPECT_EQ((std::vector<std::uintptr_t>{}), Walk(1, {{1, 1}})) << "alone in its group";
  EXPECT_EQ((std::vector<std::uintptr_t>{2}), Walk(1, {{1, 2}})) << "the walk yields none";
}

TEST(RadioGroup, WalkEndsWhenTheStartIsNotInTheCycle) {
  // The system's walk skips a hidden or disabled start and circles the others.
  EXPECT_EQ((std::vector<std::uintptr_t>{2, 3, 4}), Walk(1, {{1, 2}, {2, 3}, {3, 4}, {4, 2}}));
}

}  // namespace
