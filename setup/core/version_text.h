// Component versions are plain texts compared byte by byte, as the installation
// record has always compared them ("1.10" sorts before "1.9").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace setup {

// The record's VERSION value holds at most this many characters.
constexpr std::size_t kRecordTextMax = 99;

// strcmp order on unsigned bytes; an empty recorded version is older than any
// non-empty one.
bool IsNewerVersion(std::string_view candidate, std::string_view recorded);

// A version longer than the record can hold is cut here, once, so that what is
// compared is what gets recorded: a package read again later compares equal.
std::string CutToRecordText(std::string_view text);

}  // namespace setup
