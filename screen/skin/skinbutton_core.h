// What a skinned button decides without asking the system: its kind from the
// template's style, its caption font from the language, which of its images a
// state shows, which owner call a control id stands for, and the walk over a
// radio group.
#pragma once

#include <cstdint>
#include <functional>

// What a button is for; it decides caption font, mouse handling and the calls
// into the owner. Unset until the skin is loaded.
enum class SkinRole : std::int32_t {
  Unset = -1,
  Plain = 0,        // the coloured keys: images only
  Captioned = 1,    // size-list entries, message box buttons: white caption
  Picture = 2,      // the shadow over the preview: ignores the mouse, alpha-blended
  SliderThumb = 3,  // dragged; reports the pointer's moves to the owner
  Preset = 4,       // white caption; shows its down image while the owner selects it
};

// How the button takes a click, from the template's button style.
enum class ButtonKind : std::int32_t { Push = 0, CheckBox = 2, Radio = 4 };

namespace skinbutton {

// Button style bits (the low byte of a window style), as the system defines them.
constexpr std::uint32_t kTypeMask = 0x0F;
constexpr std::uint32_t kOwnerDrawType = 0x0B;

ButtonKind KindFromStyle(std::uint32_t style);

// The style made owner-drawn. Only the type bits are replaced: OR-ing the
// owner-draw type into a radio (4) or three-state type would give 0x0F, a type
// that is not owner-drawn.
constexpr std::uint32_t OwnerDrawStyle(std::uint32_t style) {
  return (style & ~kTypeMask) | kOwnerDrawType;
}

// The caption font of the Captioned and Preset roles for a language name
// (compared without regard to case; null counts as English).
struct CaptionFont {
  std::int32_t height;  // logical units, negative: character height
  std::int32_t weight;
  std::uint8_t charset;
};
constexpr const char* kCaptionFace = "Arial Black";
CaptionFont CaptionFontFor(const char* language);

bool HasCaptionFont(SkinRole role);

// The images a button may hold. None means no image: the button-face colour.
enum class Image { None, Normal, Down, Over, Focus, Disabled };

// How the caption is drawn over the image.
enum class Caption {
  Plain,     // centred in the caption rectangle, in the caption colour and font
  Shifted,   // the same, one pixel right and down (pushed or checked)
  Embossed,  // disabled: highlight colour, then grey one pixel up-left; no font
};

struct ButtonState {
  SkinRole role = SkinRole::Unset;
  bool disabled = false;          // ODS_DISABLED
  bool pushed = false;            // ODS_SELECTED
  bool focusItem = false;         // ODS_FOCUS
  bool checked = false;           // check state of a check box or radio
  bool hovering = false;          // pointer over it with leave tracking armed
  bool pressed = false;           // left button went down on it and is not up yet
  bool hasKeyboardFocus = false;  // it is the focus window now
  bool selected = false;          // the owner's latch (Preset only)
  bool haveNormal = false, haveDown = false, haveOver = false, haveFocus = false,
       haveDisabled = false;
};

struct DrawPlan {
  Image image;
  Caption caption;
};

// The first drawing rule that applies. An image the rules ask for but the button
// does not hold gives the button-face colour.
DrawPlan PlanDrawing(const ButtonState& s);

// The check a click (release over the button) or the space key asks for:
// -1 none (push buttons), else the new check state.
int CheckRequestOnClick(ButtonKind kind, bool checked);

// What hovering over a control tells the owner.
struct HoverNotice {
  enum Call { None, PreviewKind, HoveredSizeButton } call;
  std::int32_t argument;
};
HoverNotice HoverNoticeFor(std::int32_t controlId);

// The DPI preset a preset key selects on release: 0, 1, 2, or -1 for no preset key.
std::int32_t PresetIndexFor(std::int32_t controlId);

// The owner's right panel, redrawn at once when a thumb is hovered
// (client coordinates, right and bottom exclusive).
struct PanelRect {
  std::int32_t left, top, right, bottom;
};
constexpr PanelRect kThumbHoverPanel{697, 82, 987, 437};

// Walks a cyclic group of controls from `start`: `next` gives the member after
// one (0 for none), `visit` is called for each member met. The walk ends when it
// returns to the start, yields none, or comes round to a member already met: the
// last happens when the start itself is not part of the cycle (a hidden or
// disabled control is skipped by the system's walk), and would otherwise never end.
void WalkGroupFrom(std::uintptr_t start, const std::function<std::uintptr_t(std::uintptr_t)>& next,
                   const std::function<void(std::uintptr_t)>& visit);

}  // namespace skinbutton
