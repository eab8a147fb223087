#include "language_names.h"

bool SameLanguageName(const char* a, const char* b) {
  if (!a) a = "English";
  if (!b) b = "English";
  for (;; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
    if (x == '\0') return true;
  }
}

bool IsOneOfLanguages(const char* language, std::initializer_list<const char*> names) {
  for (const char* name : names)
    if (SameLanguageName(language, name)) return true;
  return false;
}
