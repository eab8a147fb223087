// Prints what the program would offer on this display: the size list, the mode in
// force and whether a 1920 x 1080 32-bit mode exists.
#include <cstdio>

#include "modecatalog.h"

int main() {
  const std::vector<DEVMODEA> modes = EnumeratePrimaryDisplayModes();
  CurrentDisplayMode current;
  ReadCurrentDisplayMode(current, true);
  const SizeList sizes = BuildSizeList(ToModeRecords(modes), {current.width, current.height});
  std::printf("display modes: %u\n", static_cast<unsigned>(modes.size()));
  std::printf("size list (%u):", static_cast<unsigned>(sizes.size()));
  for (const ScreenSize& s : sizes) std::printf(" %ldx%ld", long(s.width), long(s.height));
  std::printf("\ncurrent: %ldx%ld, %lu bits, %lu Hz, %.0f DPI (slider index %d)\n",
              long(current.width), long(current.height), (unsigned long)current.bitsPerPixel,
              (unsigned long)current.refreshRate, current.dpi,
              IndexOfCurrentSize(sizes, current.width, current.height));
  std::printf("1920x1080 at 32 bits: %s\n", HasFullHdMode(ToModeRecords(modes)) ? "yes" : "no");
  return 0;
}
