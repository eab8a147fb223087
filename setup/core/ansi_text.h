// Texts in the ANSI code page, walked by character. In the double-byte code
// pages (932, 936, 949, 950) a lead byte starts a two-byte character whose
// second byte may well be 0x5C ("\") or 0x7C ("|"): code page 932 writes 表 as
// 95 5C and ポ as 83 7C. Such a byte belongs to its character; it is never a
// separator, a reserved character or a letter to fold.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

class CodePage {
 public:
  // A single-byte code page whose letters fold as ASCII's do.
  CodePage();

  void SetLeadByte(std::uint8_t byte, bool lead = true) { lead_[byte] = lead; }
  // The upper-case form of a single-byte character, for case-blind comparisons.
  void SetUpperCase(std::uint8_t byte, std::uint8_t upper) { upper_[byte] = upper; }

  bool IsLeadByte(char c) const { return lead_[static_cast<std::uint8_t>(c)]; }

  // Bytes of the character that starts at text[i]: 2 for a lead byte with its
  // second byte, otherwise 1 (also for a lead byte that ends the text).
  std::size_t CharLength(std::string_view text, std::size_t i) const {
    return IsLeadByte(text[i]) && i + 1 < text.size() && text[i + 1] != '\0' ? 2 : 1;
  }
  // False when a lead byte has no second byte: the text was cut inside a character.
  bool IsWellFormed(std::string_view text) const;

  // Position of the single-byte character c at or after `from`; npos when none.
  std::size_t Find(std::string_view text, char c, std::size_t from = 0) const;
  std::size_t FindLast(std::string_view text, char c) const;
  // The last character is the single-byte character c.
  bool EndsWith(std::string_view text, char c) const;

  // Equal but for the case of single-byte letters, as profile files compare
  // section names; two-byte characters compare byte for byte.
  bool SameIgnoringCase(std::string_view a, std::string_view b) const;

 private:
  std::array<bool, 256> lead_{};
  std::array<std::uint8_t, 256> upper_{};
};

}  // namespace setup
