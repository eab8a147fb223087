#include "gdi_objects.h"

#include <windows.h>

namespace test_support {

int LiveGdiObjects() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported) return static_cast<int>(reported);
  int n = 0;
  for (ULONG_PTR i = 1; i < 0x10000; ++i) n += GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0;
  return n;
}

}  // namespace test_support
