#include "screenconfig_core.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kMagnitudeLimit = 0x80000000u;  // |INT32_MIN|

bool IsCBlank(unsigned char c) {
  // isspace in the "C" locale, which is what atoi skips.
  return c == ' ' || (c >= '\t' && c <= '\r');
}

}  // namespace

bool operator==(const ScreenConfigRecord& a, const ScreenConfigRecord& b) {
  return std::equal(a.width, a.width + kScreenConfigSlots, b.width) &&
         std::equal(a.height, a.height + kScreenConfigSlots, b.height) &&
         std::equal(a.dpi, a.dpi + kScreenConfigSlots, b.dpi) && a.count == b.count;
}

std::int32_t CountUsedSlots(const ScreenConfigRecord& record) {
  std::int32_t used = 0;
  for (std::int32_t w : record.width) used += w > 0 ? 1 : 0;
  return used;
}

void ScreenConfigParser::Number::Put(unsigned char c) {
  const bool digit = c >= '0' && c <= '9';
  switch (state) {
    case kBlanks:
      if (IsCBlank(c)) return;
      if (c == '+' || c == '-') {
        negative = c == '-';
        state = kSign;
        return;
      }
      state = digit ? kDigits : kDone;
      break;
    case kSign:
      state = digit ? kDigits : kDone;
      break;
    case kDigits:
      if (!digit) state = kDone;
      break;
    case kDone:
      return;
  }
  if (state == kDigits) {
    const std::uint32_t d = static_cast<std::uint32_t>(c - '0');
    magnitude = magnitude > (kMagnitudeLimit - d) / 10 ? kMagnitudeLimit : magnitude * 10 + d;
  }
}

std::int32_t ScreenConfigParser::Number::Value() const {
  if (negative) {
    return magnitude >= kMagnitudeLimit ? INT32_MIN : -static_cast<std::int32_t>(magnitude);
  }
  return magnitude >= kMagnitudeLimit ? INT32_MAX : static_cast<std::int32_t>(magnitude);
}

void ScreenConfigParser::Value::Put(unsigned char c, bool characterStart) {
  // Each number reads from where its part of the value text starts; a separator
  // is itself read by the numbers before it (as a sign or as their end).
  for (int i = 0; i <= dashes; ++i) numbers[i].Put(c);
  if (c == '-' && characterStart && dashes < 2) ++dashes;
}

void ScreenConfigParser::Value::Store(ScreenConfigRecord& record, int slot) const {
  // Without a separator nothing is cut, and the same text is read again.
  const int heightPart = std::min(dashes, 1);
  record.width[slot] = numbers[0].Value();
  record.height[slot] = numbers[heightPart].Value();
  record.dpi[slot] = numbers[dashes].Value();
}

bool ScreenConfigParser::Search::Put(unsigned char c) {
  if (static_cast<unsigned char>(pattern[matched]) != c) {
    matched = 0;
    if (static_cast<unsigned char>(pattern[0]) != c) return false;
  }
  if (++matched < length) return false;
  matched = 0;
  return true;
}

ScreenConfigParser::ScreenConfigParser(const ScreenConfigRecord& start,
                                       const LeadByteTable* leadBytes)
    : m_record(start), m_leadBytes(leadBytes) {}

void ScreenConfigParser::Feed(const char* data, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) Put(static_cast<unsigned char>(data[i]));
}

void ScreenConfigParser::Put(unsigned char c) {
  if (c == '\n') {
    EndLine();
    return;
  }
  if (m_textEnded) return;
  if (c == '\0') {
    m_textEnded = true;
    return;
  }
  const bool characterStart = !m_trailByteNext;
  m_trailByteNext = characterStart && m_leadBytes && (*m_leadBytes)[c];

  if (!characterStart) {
    // A second byte of a character is no part of any key or marker.
    m_config.matched = m_comment.matched = m_key.matched = 0;
    m_keyDigitNext = false;
  } else if (!m_ignored) {
    if (m_keyDigitNext && c >= '1' && c <= '6') m_keys |= 1u << (c - '1');
    m_keyDigitNext = m_key.Put(c);
    if (m_config.Put(c) || m_comment.Put(c)) m_ignored = true;
  }
  if (m_ignored) return;

  m_wholeLine.Put(c, characterStart);
  if (m_sawEquals) {
    m_afterEquals.Put(c, characterStart);
  } else if (c == '=' && characterStart) {
    m_sawEquals = true;
  }
}

void ScreenConfigParser::EndLine() {
  if (!m_ignored && m_keys != 0) {
    int slot = 0;
    while ((m_keys & (1u << slot)) == 0) ++slot;
    (m_sawEquals ? m_afterEquals : m_wholeLine).Store(m_record, slot);
    if (m_lines < INT32_MAX) ++m_lines;
  }
  m_textEnded = m_trailByteNext = m_ignored = m_keyDigitNext = m_sawEquals = false;
  m_keys = 0;
  m_config.matched = m_comment.matched = m_key.matched = 0;
  m_wholeLine = Value{};
  m_afterEquals = Value{};
}

const ScreenConfigRecord& ScreenConfigParser::Finish() {
  EndLine();
  m_record.count = m_lines;
  return m_record;
}

void ParseScreenConfig(std::string_view text, ScreenConfigRecord& record,
                       const LeadByteTable* leadBytes) {
  ScreenConfigParser parser(record, leadBytes);
  parser.Feed(text.data(), text.size());
  record = parser.Finish();
}

std::string FormatScreenConfig(const ScreenConfigRecord& record) {
  std::string text = "[Config]\r\n";
  for (int i = 0; i < kScreenConfigSlots; ++i) {
    if (record.width[i] <= 0) continue;
    text += "    Information_";
    text += std::to_string(i + 1);
    text += " = ";
    text += std::to_string(record.width[i]);
    text += '-';
    text += std::to_string(record.height[i]);
    text += '-';
    text += std::to_string(record.dpi[i]);
    text += i + 1 < kScreenConfigSlots ? "\r\n\r\n" : "\r\n";
  }
  return text;
}

std::string ScreenConfigFolderUnder(std::string_view localAppData) {
  if (localAppData.empty()) return {};
  std::string folder(localAppData);
  if (folder.back() != '\\') folder += '\\';
  return folder + kScreenConfigSubfolder;
}
