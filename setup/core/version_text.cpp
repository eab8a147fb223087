#include "version_text.h"

namespace setup {

bool IsNewerVersion(std::string_view candidate, std::string_view recorded) {
  const std::size_t n = candidate.size() < recorded.size() ? candidate.size() : recorded.size();
  for (std::size_t i = 0; i < n; ++i) {
    const auto a = static_cast<unsigned char>(candidate[i]);
    const auto b = static_cast<unsigned char>(recorded[i]);
    if (a != b) return a > b;
  }
  return candidate.size() > recorded.size();
}

std::string CutToRecordText(std::string_view text) {
  return std::string(text.substr(0, kRecordTextMax));
}

}  // namespace setup
