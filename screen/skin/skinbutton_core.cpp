#include "skinbutton_core.h"

#include <set>

#include "language_names.h"

namespace skinbutton {

namespace {

struct HeightRow {
  const char* language;
  std::int32_t height;
};
// Languages whose words run long get a smaller caption so that they fit.
constexpr HeightRow kHeights[] = {
    {"Russian", -20},   {"French", -20},    {"Thai", -20},       {"German", -18},
    {"Italian", -18},   {"Dutch", -18},     {"Danish", -18},     {"Poland", -18},
    {"Swedish", -17},   {"Hungarian", -17}, {"Portuguese", -17}, {"Turkish", -16},
};
constexpr std::int32_t kDefaultHeight = -21;

constexpr const char* kBoldLanguages[] = {"TChinese", "SChinese", "Korean"};

struct CharsetRow {
  const char* language;
  std::uint8_t charset;
};
constexpr CharsetRow kCharsets[] = {
    {"Japanese", 128},  // SHIFTJIS_CHARSET
    {"Russian", 204},   // RUSSIAN_CHARSET
    {"Thai", 222},      // THAI_CHARSET
    // HANGUL_CHARSET, not JOHAB_CHARSET (130): the texts come in the Korean ANSI
    // code page 949, and a Johab font makes the system read them as code page 1361,
    // which turns them into other syllables and question marks.
    {"Korean", 129},
    {"Turkish", 162},   // TURKISH_CHARSET
    {"Arabic", 178},    // ARABIC_CHARSET
};
constexpr std::uint8_t kDefaultCharset = 1;  // DEFAULT_CHARSET

Image Held(Image image, const ButtonState& s) {
  switch (image) {
    case Image::Normal: return s.haveNormal ? image : Image::None;
    case Image::Down: return s.haveDown ? image : Image::None;
    case Image::Over: return s.haveOver ? image : Image::None;
    case Image::Focus: return s.haveFocus ? image : Image::None;
    case Image::Disabled: return s.haveDisabled ? image : Image::None;
    case Image::None: break;
  }
  return Image::None;
}

}  // namespace

ButtonKind KindFromStyle(std::uint32_t style) {
  const std::uint32_t low = style & 0xFFu;
  if ((low & 0x03u) == 0x03u) return ButtonKind::CheckBox;
  if ((low & 0x09u) == 0x09u) return ButtonKind::Radio;
  return ButtonKind::Push;
}

CaptionFont CaptionFontFor(const char* language) {
  if (!language) language = "English";
  CaptionFont font{kDefaultHeight, 400, kDefaultCharset};
  for (const HeightRow& row : kHeights) {
    if (SameLanguageName(language, row.language)) {
      font.height = row.height;
      break;
    }
  }
  for (const char* bold : kBoldLanguages) {
    if (SameLanguageName(language, bold)) font.weight = 700;
  }
  for (const CharsetRow& row : kCharsets) {
    if (SameLanguageName(language, row.language)) {
      font.charset = row.charset;
      break;
    }
  }
  return font;
}

bool HasCaptionFont(SkinRole role) {
  return role == SkinRole::Captioned || role == SkinRole::Preset;
}

DrawPlan PlanDrawing(const ButtonState& s) {
  if (s.disabled) return {Held(Image::Disabled, s), Caption::Embossed};
  if (s.pushed || s.checked) return {Held(Image::Down, s), Caption::Shifted};
  if (!s.haveNormal) return {Image::None, Caption::Plain};

  const bool presetSelected = s.role == SkinRole::Preset && s.selected;
  Image image = Image::Normal;
  if (s.hovering && s.haveOver) {
    if (presetSelected) {
      image = Image::Down;
    } else if (s.role == SkinRole::Captioned || s.role == SkinRole::SliderThumb) {
      // Hovering moves the focus to these; one that lost it to the keyboard
      // since must not look like the focused one.
      image = s.hasKeyboardFocus ? Image::Over : Image::Normal;
    } else {
      image = Image::Over;
    }
  } else if (s.focusItem && s.haveFocus) {
    const bool thumbHeld = s.pressed && s.role == SkinRole::SliderThumb;
    image = thumbHeld || presetSelected ? Image::Down : Image::Focus;
  } else if (presetSelected) {
    image = Image::Down;
  }
  return {Held(image, s), Caption::Plain};
}

int CheckRequestOnClick(ButtonKind kind, bool checked) {
  switch (kind) {
    case ButtonKind::CheckBox: return checked ? 0 : 1;
    case ButtonKind::Radio: return 1;
    case ButtonKind::Push: break;
  }
  return -1;
}

HoverNotice HoverNoticeFor(std::int32_t id) {
  switch (id) {
    case 1017: case 1052: case 1054: case 1055:  // DPI thumb and the DPI presets
      return {HoverNotice::PreviewKind, 0};
    case 1020:  // resolution thumb
      return {HoverNotice::PreviewKind, 1};
    default:
      break;
  }
  if (id >= 1030 && id <= 1035) return {HoverNotice::HoveredSizeButton, id};
  return {HoverNotice::None, 0};
}

std::int32_t PresetIndexFor(std::int32_t id) {
  switch (id) {
    case 1052: return 0;
    case 1054: return 1;
    case 1055: return 2;
    default: return -1;
  }
}

void WalkGroupFrom(std::uintptr_t start, const std::function<std::uintptr_t(std::uintptr_t)>& next,
                   const std::function<void(std::uintptr_t)>& visit) {
  std::set<std::uintptr_t> met;
  for (std::uintptr_t member = next(start); member != 0 && member != start;
       member = next(member)) {
    if (!met.insert(member).second) break;
    visit(member);
  }
}

}  // namespace skinbutton
