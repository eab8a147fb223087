#include "startup_phases.h"

#include <windows.h>

namespace startup_phases {
namespace {
Mark g_marks[48];
int g_count = 0;
}  // namespace

void MarkEnd(const char* phase) {
  if (g_count >= static_cast<int>(sizeof g_marks / sizeof g_marks[0])) return;
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  g_marks[g_count++] = Mark{phase, now.QuadPart};
}

int Count() { return g_count; }
const Mark* Marks() { return g_marks; }
void Clear() { g_count = 0; }

}  // namespace startup_phases
