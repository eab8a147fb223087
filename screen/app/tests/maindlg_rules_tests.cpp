#include <gtest/gtest.h>

#include <utility>

#include "maindlg_rules.h"

namespace {

Favourites Slots(std::initializer_list<int> used) {
  Favourites f;
  for (int i : used) f.used[i] = true;
  f.count = static_cast<int>(used.size());
  return f;
}

TEST(Pages, KeysFollowPageAdjustmentAndFavourites) {
  // "Load" is unavailable until something was saved.
  EXPECT_FALSE(DecidePageControls(1, false, Slots({})).greenEnabled);
  EXPECT_TRUE(DecidePageControls(1, false, Slots({2})).greenEnabled);
  EXPECT_FALSE(DecidePageControls(1, false, Slots({})).redEnabled);
  EXPECT_FALSE(DecidePageControls(4, true, Slots({})).yellowEnabled) << "nothing to load";
  EXPECT_TRUE(DecidePageControls(4, true, Slots({0})).yellowEnabled);
  EXPECT_TRUE(DecidePageControls(4, false, Slots({})).yellowEnabled);

  const PageControls p2 = DecidePageControls(2, true, Slots({1, 4}));
  EXPECT_FALSE(p2.yellowEnabled) << "no page 1 to go to without adjustment";
  EXPECT_TRUE(DecidePageControls(2, false, Slots({})).yellowEnabled);
  EXPECT_EQ((std::vector<bool>{false, true, false, false, true, false}),
            std::vector<bool>(p2.slotEnabled, p2.slotEnabled + 6));
  for (bool e : DecidePageControls(3, false, Slots({})).slotEnabled) EXPECT_TRUE(e) << "every slot takes a save";
}

TEST(Pages, TitlesTellTheSaveAndTheFocusAvoidsDisabledSlots) {
  EXPECT_STREQ("Setting", DecidePageLabels(4, true, SaveState::None).title);
  EXPECT_STREQ("Advanced", DecidePageLabels(4, false, SaveState::None).title);
  EXPECT_STREQ("Save successfully", DecidePageLabels(3, false, SaveState::Saved).title);
  EXPECT_STREQ("Save failed", DecidePageLabels(3, false, SaveState::Failed).title);
  EXPECT_STREQ("Save", DecidePageLabels(3, false, SaveState::None).title);
  EXPECT_STREQ("Load", DecidePageLabels(3, true, SaveState::None).yellow);
  EXPECT_STREQ("Easy", DecidePageLabels(4, false, SaveState::None).yellow);

  const bool none[6] = {};
  const bool third[6] = {false, false, true, false, false, false};
  EXPECT_EQ(1032, DecideDefaultFocus(2, 0, third).controlId);
  EXPECT_EQ(0, DecideDefaultFocus(2, 0, none).controlId) << "the dialog itself";
  EXPECT_EQ(1054, DecideDefaultFocus(4, 1, none).controlId);
  const DefaultFocus noPreset = DecideDefaultFocus(4, -1, none);
  EXPECT_EQ(1020, noPreset.controlId);
  EXPECT_EQ(1, noPreset.previewKind);
}

TEST(Pages, GreenKeyOfPage4WantsAChange) {
  EXPECT_FALSE(GreenEnabledOnPage4(1280, 720, 1280, 720, 100, 96.0));
  EXPECT_TRUE(GreenEnabledOnPage4(1024, 768, 1280, 720, 100, 96.0));
  EXPECT_TRUE(GreenEnabledOnPage4(1280, 720, 1280, 720, 146, 96.0));
  EXPECT_FALSE(GreenEnabledOnPage4(1280, 720, 1280, 720, 146, 140.0)) << "146 % stands for 140";
}

TEST(Slots, CaptionsByDpiAndLanguage) {
  const SlotTexts texts{"Font :", "No", "No data"};
  EXPECT_EQ("Font : M\\1280*720", SlotCaption(1280, 720, 120, true, texts, false));
  EXPECT_EQ("Font :L\\1920*1080", SlotCaption(1920, 1080, 140, true, texts, true));
  EXPECT_EQ("Font : No\\800*600", SlotCaption(800, 600, 110, true, texts, false));
  EXPECT_EQ("", SlotCaption(0, 0, 0, true, texts, false));
  EXPECT_EQ("No data", SlotCaption(1024, 768, 74, false, texts, false));
}

TEST(Dpi, ChoicesAndPresets) {
  EXPECT_EQ(115, ChoiceOfDpi(110)) << "rounded, not cut";
  EXPECT_EQ(-1, PresetOfChoice(115));
  EXPECT_EQ(2, PresetOfChoice(146));
  EXPECT_EQ(1, PresetOfDpi(120.0));
  EXPECT_EQ(-1, PresetOfDpi(144.0));
}

TEST(Sliders, ScrollCodesStayOnTheBar) {
  EXPECT_EQ(0, ScrollPosition(kPageRight, 0, 0, 0, 9, 0, 10)) << "page step 9 / 10 = 0";
  EXPECT_EQ(0, ScrollPosition(kLineLeft, 0, 0, 0, 9, 0, 10));
  EXPECT_EQ(9, ScrollPosition(kLineRight, 0, 9, 0, 9, 0, 10));
  EXPECT_EQ(0, ScrollPosition(kPageLeft, 0, 2, 0, 30, 0, 10));
  EXPECT_EQ(30, ScrollPosition(kPageRight, 0, 29, 0, 30, 0, 10));
  EXPECT_EQ(116, ScrollPosition(kPageLeft, 0, 126, 75, 200, 0, 20)) << "DPI bar: max / 20";
  EXPECT_EQ(7, ScrollPosition(kThumbTrack, 7, 2, 0, 9, 0, 10));
  EXPECT_EQ(2, ScrollPosition(8 /* SB_ENDSCROLL */, 7, 2, 0, 9, 0, 10));
  EXPECT_EQ(18, ResolutionTrackExtra(12));
  EXPECT_EQ(0, ResolutionTrackExtra(13)) << "a full track from 13 sizes on";
}

TEST(Sliders, ResolutionThumbDrag) {
  // Track 0..200 for 10 sizes: 20 pixels a position.
  // A slow drag within one position moves the thumb freely.
  EXPECT_EQ(DragOutcome::kMoveThumbFreely, DragResolutionThumb(65, 129, 0, 200, 10, 3, 32, false).action);
  // Far past the right end while still on the selection: snap back.
  EXPECT_EQ(DragOutcome::kSnapBack, DragResolutionThumb(180, 244, 0, 200, 10, 9, 32, false).action);
  // A new position selects it.
  const DragOutcome next = DragResolutionThumb(81, 145, 0, 200, 10, 3, 32, false);
  EXPECT_EQ(DragOutcome::kSelect, next.action);
  EXPECT_EQ(4, next.position);
  // Released beyond the right end: the last size; beyond the left end: nothing.
  const DragOutcome right = DragResolutionThumb(260, 324, 0, 200, 10, 3, 32, true);
  EXPECT_EQ(DragOutcome::kSelect, right.action);
  EXPECT_EQ(9, right.position);
  EXPECT_EQ(DragOutcome::kNone, DragResolutionThumb(260, 324, 0, 200, 10, 3, 32, false).action);
  EXPECT_EQ(DragOutcome::kNone, DragResolutionThumb(-40, 24, 0, 200, 10, 3, 32, true).action);
  // Released on its own position: selected again (and the preview refreshed).
  EXPECT_EQ(DragOutcome::kSelect, DragResolutionThumb(61, 125, 0, 200, 10, 3, 32, true).action);
}

TEST(Sliders, PictureSizeThumbDragAndPlaces) {
  // Track 0..160, 16 steps: 10 pixels a step; the thumb's left is 13 px left of its value.
  EXPECT_EQ(DragOutcome::kMoveThumbFreely, DragPictureSizeThumb(38, 0, 160, 16, 5, false).action);
  EXPECT_EQ(15, DragPictureSizeThumb(300, 0, 160, 16, 5, true).position);
  EXPECT_EQ(DragOutcome::kSelect, DragPictureSizeThumb(-13, 0, 160, 16, 0, false).action)
      << "the ends always select";
  EXPECT_EQ(103, ResolutionThumbX(1, 2, 100, 106));
  EXPECT_EQ(100, ResolutionThumbX(0, 13, 100, 284)) << "leftmost: no track fill";
  EXPECT_EQ(736 + 150 - 13, PictureSizeThumbX(15, 16, 736, 896));
}

TEST(MouseHook, RebuildOnlyOffScreenAndAfterADiagonalMove) {
  EXPECT_TRUE(PreviewOffScreen(-5, 80, 623, 437, 1280, 720));
  EXPECT_TRUE(PreviewOffScreen(700, 400, 1328, 757, 1280, 720));
  EXPECT_FALSE(PreviewOffScreen(0, 0, 1280, 720, 1280, 720));
  EXPECT_TRUE(MovedFarEnough(111, 211, 100, 200)) << "11 pixels diagonally";
  EXPECT_FALSE(MovedFarEnough(120, 200, 100, 200)) << "20 pixels straight to the right";
  EXPECT_FALSE(MovedFarEnough(110, 230, 100, 200));
}

TEST(Preview, FontHeightsBackgroundSizeAndTheOrderOfPicturesMadeAhead) {
  EXPECT_EQ(-17, PreviewFontHeight(12.5, 100)) << "MulDiv(13, 96, 72) = 17";
  EXPECT_EQ(-25, PreviewFontHeight(12.5, 146)) << "MulDiv(13, 140, 72)";

  const PreviewScale full = ComputePreviewScale(1280, 720, 1920, 1080, 96.0);
  EXPECT_EQ(853, BackgroundPreviewSize(1280, 720, full).width) << "1280 x 2/3, rounded";
  EXPECT_EQ(480, BackgroundPreviewSize(1280, 720, full).height);
  const PreviewScale small = ComputePreviewScale(800, 600, 1600, 1200, 96.0);
  EXPECT_EQ(628, BackgroundPreviewSize(800, 600, small).width) << "never narrower than the preview";
  EXPECT_EQ(357, BackgroundPreviewSize(800, 600, small).height);

  EXPECT_EQ((std::vector<int>{3, 1, 4, 0, 5}), PrefetchOrder(6, 2, 10));
  EXPECT_EQ((std::vector<int>{1, 2}), PrefetchOrder(6, 0, 2));
  EXPECT_EQ((std::vector<int>{4, 3, 2}), PrefetchOrder(6, 5, 3));
  EXPECT_TRUE(PrefetchOrder(1, 0, 10).empty());
}

TEST(WindowPlace, TheTitleBandStaysReachableWhereverADragEnds) {
  // A 1280 x 720 work area, a window 1024 wide; 120 pixels of a 70 pixel title band stay on it.
  auto corner = [](int x, int y) {
    const WindowCorner c = KeepTitleReachable(x, y, 1024, 0, 0, 1280, 720, 70, 120);
    return std::make_pair(c.x, c.y);
  };
  EXPECT_EQ(std::make_pair(128, 72), corner(128, 72)) << "a place on the screen is kept";
  EXPECT_EQ(std::make_pair(-904, 0), corner(-1028, -441)) << "left edge, never above the screen";
  EXPECT_EQ(std::make_pair(1160, 650), corner(5000, 5000)) << "nor below it";
}

}  // namespace
