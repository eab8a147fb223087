// Functions of system libraries bound at their first use. Every library a
// program imports is loaded, with all that it imports in turn, before the
// program's first line runs; one that only a later step needs makes each start
// slower for nothing.
#pragma once

#include <windows.h>

// The address of `function` in `module`, typed as Fn; null when either is missing.
template <typename Fn>
Fn LateBound(HMODULE module, const char* function) {
  return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, function)))
                : nullptr;
}

// The same in `library`, loaded first (looked for where the loader looks for an
// imported library) and left loaded:
// LateBound<decltype(&::timeGetTime)>("winmm.dll", "timeGetTime"). Callers keep
// the result (a function-local static binds once, safely across threads) and
// handle null.
template <typename Fn>
Fn LateBound(const char* library, const char* function) {
  return LateBound<Fn>(::LoadLibraryA(library), function);
}
