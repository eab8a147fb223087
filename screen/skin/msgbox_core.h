// What the question boxes decide without asking the system: the box's layout and
// its look by language, which key does what, the cutting and filling of their
// texts, and the countdown of the timed question.
#pragma once

#include <cstddef>
#include <cstdint>

namespace msgbox {

// --- the general message box ----------------------------------------------------

constexpr int kTemplateId = 104;
constexpr int kLeftButtonId = 1056;
constexpr int kRightButtonId = 1057;
constexpr int kMessageId = 1016;
constexpr int kFrameBitmapId = 277;
constexpr int kStripBitmapId = 282;
constexpr int kHandCursorId = 263;

// Places in the box's client coordinates.
struct Place {
  std::int32_t x, y, width, height;
};
constexpr Place kStripPlace{22, 195, 359, 47};
constexpr Place kMessagePlace{30, 40, 340, 140};
constexpr Place kLeftButtonPlace{25, 197, 169, 43};
constexpr Place kRightButtonPlace{210, 197, 169, 43};
constexpr std::uint32_t kMessageColour = 0x373737;  // as a COLORREF
constexpr std::uint32_t kCaptionColour = 0xFFFFFF;

constexpr const char* kPopupFolder = "res\\DPI\\Middle\\popup\\";
constexpr const char* kButtonNormal = "POP_button_n.png";
constexpr const char* kButtonDown = "POP_button_d.png";
constexpr const char* kButtonOver = "POP_button_o.png";

// The message's font by language name (compared without regard to case).
struct MessageFont {
  std::int32_t height;  // negative: character height
  std::int32_t weight;
  std::uint8_t charset;
};
constexpr const char* kMessageFace = "Arial Black";
MessageFont MessageFontFor(const char* language);

// Which caption and result each button has. Right-to-left languages read the
// answers the other way round; "No" is brought forward either way.
constexpr int kResultYes = 1;  // IDOK
constexpr int kResultNo = 2;   // IDCANCEL
struct ButtonOrder {
  const char* leftCaption;
  int leftResult;
  const char* rightCaption;
  int rightResult;
  int focusedId;  // the button that has the focus when the box opens
};
ButtonOrder ButtonOrderFor(bool rightToLeft);

// DrawText flags of the message: centred, or right-aligned for right-to-left.
std::uint32_t MessageFormat(bool rightToLeft);

// Keys the box answers itself instead of the dialog navigation: Enter, the arrows
// and the keypad's 2, 4, 6 and 8.
bool IsBoxKey(std::uint32_t key);
// What a key does with the focus on control `focusedId`.
enum class KeyAction { None, PressLeft, PressRight, FocusLeft, FocusRight };
KeyAction KeyActionFor(std::uint32_t key, int focusedId);

// --- texts ------------------------------------------------------------------------

// The box's text buffers hold 260 bytes, as paths and formatted texts do.
constexpr std::size_t kTextSize = 260;

// Copies `text` into `out` of `size` bytes, cut at size - 1 and always ended;
// never splits a double-byte character of the ANSI code page (`isLeadByte`,
// null: single-byte). Returns the length written.
std::size_t CopyText(char* out, std::size_t size, const char* text,
                     bool (*isLeadByte)(unsigned char) = nullptr);

// Fills `format` with `value` into `out` when the format holds exactly one
// integer conversion (%u, %lu, %d, %i and their flags and width) and otherwise
// only "%%"; false, with `out` empty, for any other format, so that a translation
// with odd placeholders can never read arguments that are not there.
bool FormatCount(const char* format, unsigned long value, char* out, std::size_t size);

// --- the timed question -------------------------------------------------------------

// The countdown line, in English; the language binding translates it.
constexpr const char* kCountdownFormat = "Press button within %lu sec.";

// The box presses itself this long after it appeared.
constexpr std::uint32_t kTimeoutMs = 15999;

// The whole seconds shown when the box opens: 16 for the fixed time-out.
std::uint32_t InitialSeconds(std::uint32_t timeoutMs);
// The seconds shown `elapsedMs` after opening: (timeout - elapsed + 100) / 1000,
// never below 1 while the time is not up (a tick that comes a little early must
// not show 0 and then wait a whole second more).
std::uint32_t SecondsLeft(std::uint32_t timeoutMs, std::uint32_t elapsedMs);
bool IsTimeUp(std::uint32_t timeoutMs, std::uint32_t elapsedMs);
// Milliseconds until the next tick: the next whole second after opening, or the
// time-out itself when that comes first, so the box presses itself on time
// instead of at the first whole-second tick after it. At least `minimumMs`.
std::uint32_t NextTickMs(std::uint32_t timeoutMs, std::uint32_t elapsedMs,
                         std::uint32_t minimumMs = 10);

}  // namespace msgbox
