#include "ansi_text.h"

namespace setup {

CodePage::CodePage() {
  for (int b = 0; b < 256; ++b)
    upper_[b] = static_cast<std::uint8_t>(b >= 'a' && b <= 'z' ? b - 'a' + 'A' : b);
}

bool CodePage::IsWellFormed(std::string_view text) const {
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
    if (IsLeadByte(text[i]) && CharLength(text, i) == 1) return false;
  return true;
}

std::size_t CodePage::Find(std::string_view text, char c, std::size_t from) const {
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
    if (i >= from && text[i] == c && CharLength(text, i) == 1) return i;
  return std::string_view::npos;
}

std::size_t CodePage::FindLast(std::string_view text, char c) const {
  std::size_t found = std::string_view::npos;
  for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
    if (text[i] == c && CharLength(text, i) == 1) found = i;
  return found;
}

bool CodePage::EndsWith(std::string_view text, char c) const {
  return !text.empty() && FindLast(text, c) == text.size() - 1;
}

bool CodePage::SameIgnoringCase(std::string_view a, std::string_view b) const {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    const std::size_t n = CharLength(a, i);
    if (n != CharLength(b, j)) return false;
    if (n == 2) {
      if (a.substr(i, 2) != b.substr(j, 2)) return false;
    } else if (upper_[static_cast<std::uint8_t>(a[i])] != upper_[static_cast<std::uint8_t>(b[j])]) {
      return false;
    }
    i += n;
    j += n;
  }
  return i == a.size() && j == b.size();
}

}  // namespace setup
