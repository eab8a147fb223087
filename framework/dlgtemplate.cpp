#include "dlgtemplate.h"

#include <algorithm>

namespace dlgtemplate {
namespace {

constexpr std::uint32_t kSetFont = 0x40;     // DS_SETFONT (also part of DS_SHELLFONT)
constexpr std::size_t kItemCountOffset = 16;  // dlgVer, signature, helpID, exStyle, style

// Reads the template's little-endian fields; every read is checked against its end.
class Reader {
 public:
  Reader(const std::uint8_t* bytes, std::size_t size) : m_bytes(bytes), m_size(size) {}

  std::size_t Position() const { return m_pos; }
  bool Skip(std::size_t count) {
    if (count > m_size - m_pos) return false;
    m_pos += count;
    return true;
  }
  bool AlignToDword() { return Skip(((m_pos + 3) & ~std::size_t{3}) - m_pos); }
  bool Word(std::uint16_t& value) {
    if (m_size - m_pos < 2) return false;
    value = static_cast<std::uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
    m_pos += 2;
    return true;
  }
  bool Short(std::int16_t& value) {
    std::uint16_t word;
    if (!Word(word)) return false;
    value = static_cast<std::int16_t>(word);
    return true;
  }
  bool Dword(std::uint32_t& value) {
    std::uint16_t low, high;
    if (!Word(low) || !Word(high)) return false;
    value = low | (static_cast<std::uint32_t>(high) << 16);
    return true;
  }
  bool String(std::u16string& value) {
    value.clear();
    for (std::uint16_t c; Word(c);) {
      if (c == 0) return true;
      value.push_back(static_cast<char16_t>(c));
    }
    return false;  // no terminator before the end
  }
  // A name, an ordinal (0xFFFF and the number) or nothing (a single 0).
  bool NameOrOrdinal(dlgtemplate::NameOrOrdinal& value) {
    value = {};
    std::uint16_t first;
    if (!Word(first)) return false;
    if (first == 0xFFFF) return Word(value.ordinal);
    if (first == 0) return true;
    m_pos -= 2;
    return String(value.name);
  }

 private:
  const std::uint8_t* m_bytes;
  std::size_t m_size;
  std::size_t m_pos = 0;
};

bool IsButtonClass(const NameOrOrdinal& windowClass) {
  if (windowClass.ordinal) return windowClass.ordinal == 0x80;
  static const char16_t kButton[] = u"button";
  if (windowClass.name.size() != 6) return false;
  for (std::size_t i = 0; i < 6; ++i) {
    const char16_t c = windowClass.name[i];
    if ((c >= u'A' && c <= u'Z' ? c + 32 : c) != kButton[i]) return false;
  }
  return true;
}

}  // namespace

bool SplitTemplate(const void* data, std::size_t size, const std::vector<int>& laterIds, Split& out) {
  out = {};
  if (!data) return false;
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  Reader in(bytes, size);

  std::uint16_t version, signature, count;
  std::uint32_t helpId, exStyle, style;
  std::int16_t x, y, cx, cy;
  NameOrOrdinal menu, windowClass;
  std::u16string title;
  if (!in.Word(version) || !in.Word(signature) || version != 1 || signature != 0xFFFF) return false;
  if (!in.Dword(helpId) || !in.Dword(exStyle) || !in.Dword(style) || !in.Word(count)) return false;
  if (!in.Short(x) || !in.Short(y) || !in.Short(cx) || !in.Short(cy)) return false;
  if (!in.NameOrOrdinal(menu) || !in.NameOrOrdinal(windowClass) || !in.String(title)) return false;
  if (style & kSetFont) {
    std::uint16_t points, weight;
    std::u16string face;
    // 0x7FFF stands for the message box font, and the fields after it are then left
    // out by some compilers but not others: such a template is not split.
    if (!in.Word(points) || points == 0x7FFF) return false;
    if (!in.Word(weight) || !in.Skip(2) || !in.String(face)) return false;
  }
  if (!in.AlignToDword()) return false;

  Split split;
  split.made.assign(bytes, bytes + in.Position());
  std::uint16_t madeCount = 0;
  bool hasPrevious = false;
  std::uint32_t previousId = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    if (!in.AlignToDword()) return false;
    const std::size_t start = in.Position();
    LaterControl item;
    std::uint32_t itemHelpId;
    std::uint16_t extra;
    if (!in.Dword(itemHelpId) || !in.Dword(item.exStyle) || !in.Dword(item.style)) return false;
    if (!in.Short(item.x) || !in.Short(item.y) || !in.Short(item.cx) || !in.Short(item.cy)) return false;
    if (!in.Dword(item.id) || !in.NameOrOrdinal(item.windowClass) || !in.NameOrOrdinal(item.title)) return false;
    if (!in.Word(extra) || !in.Skip(extra)) return false;

    const bool later = std::find(laterIds.begin(), laterIds.end(), static_cast<int>(item.id)) != laterIds.end();
    if (later) {
      // What the dialog manager would do beyond creating the window is not replayed.
      const bool predefined = item.windowClass.ordinal == 0 || PredefinedClassName(item.windowClass.ordinal);
      const bool defaultButton = IsButtonClass(item.windowClass) && (item.style & 0xF) == 1;  // BS_DEFPUSHBUTTON
      if (itemHelpId != 0 || extra != 0 || item.title.ordinal != 0 || !predefined || defaultButton) return false;
      item.hasPrevious = hasPrevious;
      item.previousId = previousId;
      split.later.push_back(std::move(item));
    } else {
      split.made.resize((split.made.size() + 3) & ~std::size_t{3}, 0);
      split.made.insert(split.made.end(), bytes + start, bytes + in.Position());
      ++madeCount;
    }
    hasPrevious = true;
    previousId = item.id;
  }
  split.made[kItemCountOffset] = static_cast<std::uint8_t>(madeCount & 0xFF);
  split.made[kItemCountOffset + 1] = static_cast<std::uint8_t>(madeCount >> 8);
  out = std::move(split);
  return true;
}

const char* PredefinedClassName(std::uint16_t ordinal) {
  static const char* const kNames[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
  return ordinal >= 0x80 && ordinal <= 0x85 ? kNames[ordinal - 0x80] : nullptr;
}

}  // namespace dlgtemplate
