#include "layout.h"

namespace {
constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kCaptionBlue = 0xFFA820;  // RGB(32, 168, 255)

#define THUMB_IMAGES "button_n.png", "button_d.png", "button_o.png", ""
#define SLOT_IMAGES "no_name_n.png", "no_name_d.png", "no_name_o.png", "no_name_un.png"
}  // namespace

const SkinnedButtonRow kSkinnedButtons[kSkinnedButtonCount] = {
    {1036, {16, 450, 101, 101}, "red_n.bmp", "red_d.bmp", "red_o.bmp", "red_un.bmp", SkinRole::Plain},
    {1037, {268, 450, 101, 101}, "green_n.bmp", "green_d.bmp", "green_o.bmp", "green_un.bmp", SkinRole::Plain},
    {1038, {516, 450, 101, 101}, "yellow_n.bmp", "yellow_d.bmp", "yellow_o.bmp", "yellow_un.bmp", SkinRole::Plain},
    {1039, {765, 450, 101, 101}, "blue_n.bmp", "blue_d.bmp", "blue_o.bmp", "blue_un.bmp", SkinRole::Plain},
    {1030, {697, 82, 290, 60}, SLOT_IMAGES, SkinRole::Captioned},
    {1031, {697, 141, 290, 60}, SLOT_IMAGES, SkinRole::Captioned},
    {1032, {697, 199, 290, 60}, SLOT_IMAGES, SkinRole::Captioned},
    {1033, {697, 257, 290, 60}, SLOT_IMAGES, SkinRole::Captioned},
    {1034, {697, 316, 290, 60}, SLOT_IMAGES, SkinRole::Captioned},
    {1035, {697, 374, 290, 60}, SLOT_IMAGES, SkinRole::Captioned},
    {1017, {749, 137, 64, 49}, THUMB_IMAGES, SkinRole::SliderThumb},
    {1020, {749, 308, 64, 49}, THUMB_IMAGES, SkinRole::SliderThumb},
    {1021, {749, 224, 64, 49}, THUMB_IMAGES, SkinRole::SliderThumb},
    {1052, {697, 139, 99, 95}, "small_a_n.bmp", "small_a_d.bmp", "small_a_o.bmp", "", SkinRole::Preset},
    {1054, {792, 139, 99, 95}, "medium_a_n.bmp", "medium_a_d.bmp", "medium_a_o.bmp", "", SkinRole::Preset},
    {1055, {887, 139, 99, 95}, "big_a_n.bmp", "big_a_d.bmp", "big_a_o.bmp", "", SkinRole::Preset},
    {1018, {43, 80, 628, 357}, "shadow_Middle.png", "", "", "", SkinRole::Picture},
};

const TextLabelRow kTextLabels[kTextLabelCount] = {
    {1024, {688, 15, 304, 76}, kBlack},
    {1029, {116, 479, 150, 80}, kBlack},
    {1040, {368, 479, 150, 80}, kBlack},
    {1041, {616, 479, 170, 80}, kBlack},
    {1043, {865, 479, 150, 80}, kBlack},
    {1022, {697, 179, 290, 80}, kCaptionBlue},
    {1025, {697, 357, 290, 80}, kCaptionBlue},
    {1070, {712, 94, 210, 50}, kWhite},
    {1023, {712, 272, 210, 50}, kWhite},
    {1026, {707, 97, 275, 120}, kWhite},
};

const BackgroundPieceRow kBackgroundPieces[kBackgroundPieceCount] = {
    {{0, 0, 1024, 576}, 1049, true},  {{10, 10, 345, 72}, 273, true},
    {{43, 80, 628, 357}, 278, true},  {{697, 82, 290, 355}, 279, true},
    {{697, 82, 290, 176}, 290, false}, {{697, 262, 290, 176}, 291, false},
    {{711, 259, 262, 3}, 274, false},  {{724, 154, 236, 32}, 276, false},
    {{724, 332, 236, 32}, 275, false}, {{724, 354, 236, 32}, 294, false},
    {{707, 190, 280, 138}, 295, false}, {{709, 154, 1, 30}, 280, false},
};

const SkinnedButtonRow* FindSkinnedButton(int id) {
  for (const SkinnedButtonRow& row : kSkinnedButtons)
    if (row.id == id) return &row;
  return nullptr;
}

const BackgroundPieceRow* FindBackgroundPiece(int bitmapId) {
  for (const BackgroundPieceRow& row : kBackgroundPieces)
    if (row.bitmapId == bitmapId) return &row;
  return nullptr;
}
