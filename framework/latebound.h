// Functions of system libraries bound at their first use. Every library a
// program imports is loaded, with all that it imports in turn, before the
// program's first line runs; one that only a later step needs makes each start
// slower for nothing.
#pragma once

#include <windows.h>

// The address of `function` in `library` (looked for where the loader looks for
// an imported library), or null when either is missing. The library stays
// loaded.
inline FARPROC LateProc(const char* library, const char* function) {
  HMODULE module = ::LoadLibraryA(library);
  return module ? ::GetProcAddress(module, function) : nullptr;
}

// The same, typed: LateBound<decltype(&::timeGetTime)>("winmm.dll", "timeGetTime").
// Callers keep the result (a function-local static binds once, safely across
// threads) and handle null.
template <typename Fn>
Fn LateBound(const char* library, const char* function) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(LateProc(library, function)));
}
