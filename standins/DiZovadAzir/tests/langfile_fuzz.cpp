// Any bytes as a language file: the parser stays inside them, and every text it
// keeps can be filled with the arguments of its English text.
#include <cstdint>
#include <cstdlib>

#include "langfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const langfile::Table table = langfile::Parse(reinterpret_cast<const char*>(data), size);
  for (const auto& entry : table.texts) {
    if (entry.first.empty() || entry.second.empty()) std::abort();
    if (!langfile::SamePlaceholders(entry.first, entry.second)) std::abort();
    char out[16];
    const int n = langfile::CopyCut(entry.second.data(), entry.second.size(), out, sizeof(out));
    if (n < 0 || n > 15 || out[n] != '\0') std::abort();
  }
  char name[64] = {};
  for (std::size_t i = 0; i < size && i < sizeof(name) - 1; ++i) {
    name[i] = static_cast<char>(data[i]);
  }
  if (langfile::IsLanguageName(name)) {
    for (const char* p = name; *p; ++p)
      if (*p == '.' || *p == '\\' || *p == '/' || *p == ':') std::abort();
  }
  return 0;
}
