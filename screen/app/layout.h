// The main dialog's fixed layout: control ids and the three tables that place its
// skinned buttons, its painted texts and its background pieces (pixels, client
// coordinates).
#pragma once

#include <cstdint>

#include "skinbutton_core.h"

namespace ids {
constexpr int kDialog = 251;
constexpr int kIcon = 129;
constexpr int kHandCursor = 263;

constexpr int kEndAsOk = 1015;
constexpr int kDpiThumb = 1017;
constexpr int kPreviewPicture = 1018;
constexpr int kResolutionThumb = 1020;
constexpr int kPictureSizeThumb = 1021;
constexpr int kDpiCaption = 1022;
constexpr int kResolutionText = 1023;
constexpr int kTitle = 1024;
constexpr int kResolutionCaption = 1025;
constexpr int kPage1Text = 1026;
constexpr int kDpiScroll = 1027;
constexpr int kResolutionScroll = 1028;
constexpr int kRedLabel = 1029;
constexpr int kSlot1 = 1030;  // slots 1030..1035
constexpr int kSlot6 = 1035;
constexpr int kRedKey = 1036;
constexpr int kGreenKey = 1037;
constexpr int kYellowKey = 1038;
constexpr int kBlueKey = 1039;
constexpr int kGreenLabel = 1040;
constexpr int kYellowLabel = 1041;
constexpr int kBlueLabel = 1043;
constexpr int kQuickApply[6] = {1042, 1044, 1045, 1046, 1047, 1048};
constexpr int kBackgroundPreview = 1050;
constexpr int kDialogPreview = 1051;
constexpr int kPresetSmall = 1052;
constexpr int kPreviewText2 = 1053;
constexpr int kPresetMedium = 1054;
constexpr int kPresetLarge = 1055;
constexpr int kPictureSizeScroll = 1058;
constexpr int kFontText = 1070;
constexpr int kPreviewText1 = 1071;
constexpr int kPresets[3] = {kPresetSmall, kPresetMedium, kPresetLarge};
// The controls of the favourites' pages (2 and 3) alone: the slots and their
// quick-apply keys.
constexpr int kFavouritePages[12] = {kSlot1,        kSlot1 + 1,     kSlot1 + 2,     kSlot1 + 3,
                                     kSlot1 + 4,    kSlot6,         kQuickApply[0], kQuickApply[1],
                                     kQuickApply[2], kQuickApply[3], kQuickApply[4], kQuickApply[5]};
}  // namespace ids

struct PixelRect {
  int x, y, w, h;
  int right() const { return x + w; }
  int bottom() const { return y + h; }
  bool Contains(int px, int py) const { return px >= x && px < x + w && py >= y && py < y + h; }
};


struct SkinnedButtonRow {
  int id;
  PixelRect place;
  const char* normal;
  const char* down;
  const char* over;
  const char* unavailable;
  SkinRole role;
};
constexpr int kSkinnedButtonCount = 17;
extern const SkinnedButtonRow kSkinnedButtons[kSkinnedButtonCount];

struct TextLabelRow {
  int id;
  PixelRect place;
  std::uint32_t colour;  // COLORREF
};
constexpr int kTextLabelCount = 10;
extern const TextLabelRow kTextLabels[kTextLabelCount];

struct BackgroundPieceRow {
  PixelRect place;
  int bitmapId;
  bool everyPage;
};
constexpr int kBackgroundPieceCount = 12;
extern const BackgroundPieceRow kBackgroundPieces[kBackgroundPieceCount];

// Places of the right panel, repainted as a whole when its focus or slider moves.
constexpr PixelRect kRightPanel{697, 82, 290, 355};     // (697, 82)-(987, 437)
constexpr PixelRect kDpiHalf{697, 82, 290, 176};        // (697, 82)-(987, 258)
constexpr PixelRect kResolutionHalf{697, 258, 290, 176};  // (697, 258)-(987, 434)

// The preview area and the dialog picture inside it.
constexpr PixelRect kBackgroundPreviewPlace{43, 80, 628, 357};
constexpr PixelRect kDialogPreviewPlace{123, 125, 548, 312};

// Hidden scroll bars that hold the slider positions.
constexpr PixelRect kDpiScrollPlace{729, 154, 208, 32};
constexpr PixelRect kResolutionScrollPlace{725, 332, 184, 32};
constexpr PixelRect kPictureSizeScrollPlace{729, 353, 208, 32};

// Background pieces by bitmap id.
namespace pieces {
constexpr int kFrame = 1049;
constexpr int kDpiHighlight = 290;
constexpr int kResolutionHighlight = 291;
constexpr int kTrackFill = 280;
constexpr int kPictureTrack = 294;
constexpr int kPicturePanel = 295;
}  // namespace pieces

const SkinnedButtonRow* FindSkinnedButton(int id);
const BackgroundPieceRow* FindBackgroundPiece(int bitmapId);
