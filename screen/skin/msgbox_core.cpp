#include "msgbox_core.h"

#include <cstdio>

#include "language_names.h"
#include "skinbutton_core.h"

namespace msgbox {

namespace {

constexpr std::uint32_t kEnter = 13, kLeft = 37, kUp = 38, kRight = 39, kDown = 40;
constexpr std::uint32_t kPad2 = 98, kPad4 = 100, kPad6 = 102, kPad8 = 104;

}  // namespace

MessageFont MessageFontFor(const char* language) {
  if (!language) language = "English";
  // Weight and character set follow the button captions' table.
  const skinbutton::CaptionFont caption = skinbutton::CaptionFontFor(language);
  MessageFont font{-21, caption.weight, caption.charset};
  // Languages whose sentences run long get a smaller message font.
  if (IsOneOfLanguages(language, {"Dutch", "Finnish", "Hungarian", "Norwegian", "Poland", "Slovak",
                                   "Turkish"}))
    font.height = -20;
  return font;
}

ButtonOrder ButtonOrderFor(bool rightToLeft) {
  if (rightToLeft) return {"No", kResultNo, "Yes", kResultYes, kLeftButtonId};
  return {"Yes", kResultYes, "No", kResultNo, kRightButtonId};
}

std::uint32_t MessageFormat(bool rightToLeft) {
  // DT_CENTER 0x01 or DT_RIGHT 0x02, with DT_VCENTER 0x04 and DT_WORDBREAK 0x10.
  return rightToLeft ? 0x16 : 0x15;
}

bool IsBoxKey(std::uint32_t key) {
  switch (key) {
    case kEnter: case kLeft: case kUp: case kRight: case kDown:
    case kPad2: case kPad4: case kPad6: case kPad8:
      return true;
    default:
      return false;
  }
}

KeyAction KeyActionFor(std::uint32_t key, int focusedId) {
  const bool enter = key == kEnter;
  const bool left = key == kLeft || key == kPad4;
  const bool right = key == kRight || key == kPad6;
  if (focusedId == kLeftButtonId) {
    if (enter) return KeyAction::PressLeft;
    if (right) return KeyAction::FocusRight;
  } else if (focusedId == kRightButtonId) {
    if (enter) return KeyAction::PressRight;
    if (left) return KeyAction::FocusLeft;
  }
  return KeyAction::None;
}

std::size_t CopyText(char* out, std::size_t size, const char* text,
                     bool (*isLeadByte)(unsigned char)) {
  if (!out || size == 0) return 0;
  std::size_t n = 0;
  if (text) {
    while (text[n] && n + 1 < size) {
      const bool lead = isLeadByte && isLeadByte(static_cast<unsigned char>(text[n]));
      if (lead) {
        // Both bytes, or neither: half a character would join with what follows.
        if (!text[n + 1] || n + 2 >= size) break;
        out[n] = text[n];
        ++n;
      }
      out[n] = text[n];
      ++n;
    }
  }
  out[n] = '\0';
  return n;
}

bool FormatCount(const char* format, unsigned long value, char* out, std::size_t size) {
  if (!out || size == 0) return false;
  out[0] = '\0';
  if (!format) return false;
  int conversions = 0;
  int longs = 0;
  bool isSigned = false;
  for (const char* p = format; *p; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p == '-' || *p == '+' || *p == ' ' || *p == '0' || *p == '#') ++p;
    while (*p >= '0' && *p <= '9') ++p;
    int l = 0;
    while (*p == 'l' && l < 2) { ++p; ++l; }
    if (*p == 'u' || *p == 'd' || *p == 'i') {
      isSigned = *p != 'u';
      longs = l;
      ++conversions;
    } else {
      return false;  // '*' widths, strings, pointers, '%n', a lone '%' at the end ...
    }
  }
  if (conversions != 1) return false;
  // The value is a count of seconds: it fits every integer type the format may name.
  int written;
  if (longs == 2) {
    written = isSigned ? std::snprintf(out, size, format, static_cast<long long>(value))
                       : std::snprintf(out, size, format, static_cast<unsigned long long>(value));
  } else if (longs == 1) {
    written = isSigned ? std::snprintf(out, size, format, static_cast<long>(value))
                       : std::snprintf(out, size, format, value);
  } else {
    written = isSigned ? std::snprintf(out, size, format, static_cast<int>(value))
                       : std::snprintf(out, size, format, static_cast<unsigned>(value));
  }
  if (written < 0) {
    out[0] = '\0';
    return false;
  }
  return true;
}

std::uint32_t InitialSeconds(std::uint32_t timeoutMs) { return (timeoutMs + 1) / 1000; }

bool IsTimeUp(std::uint32_t timeoutMs, std::uint32_t elapsedMs) { return elapsedMs >= timeoutMs; }

std::uint32_t SecondsLeft(std::uint32_t timeoutMs, std::uint32_t elapsedMs) {
  if (IsTimeUp(timeoutMs, elapsedMs)) return 0;
  const std::uint32_t seconds = (timeoutMs - elapsedMs + 100) / 1000;
  return seconds < 1 ? 1 : seconds;
}

std::uint32_t NextTickMs(std::uint32_t timeoutMs, std::uint32_t elapsedMs, std::uint32_t minimumMs) {
  if (IsTimeUp(timeoutMs, elapsedMs)) return minimumMs;
  std::uint32_t next = (elapsedMs / 1000 + 1) * 1000;
  if (next > timeoutMs) next = timeoutMs;
  const std::uint32_t wait = next - elapsedMs;
  return wait < minimumMs ? minimumMs : wait;
}

}  // namespace msgbox
