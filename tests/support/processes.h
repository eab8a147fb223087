// The running programs of one program file, found by name as the system lists
// them (also one still starting, before it has a window), and ended.
#pragma once

#include <windows.h>

#include <vector>

namespace test_support {

// Process ids of every running program whose file is `exeName` (any case).
std::vector<DWORD> ProcessesNamed(const char* exeName);
// Ends each of them at once and waits (up to 5 s each) for its end.
void EndProcessesNamed(const char* exeName);

}  // namespace test_support
