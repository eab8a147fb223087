// Language names are fixed English words ("French", "TChinese", "Poland", ...)
// that the program compares without regard to case. No <windows.h>: the portable
// decisions by language use these too.
#pragma once

#include <initializer_list>

// `a` and `b` name the same language; null counts as "English".
bool SameLanguageName(const char* a, const char* b);
// `language` is one of `names`.
bool IsOneOfLanguages(const char* language, std::initializer_list<const char*> names);
