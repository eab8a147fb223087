#include "modecatalog_core.h"

bool IsOfferedSize(std::uint32_t width, std::uint32_t height) {
  return width >= height && width >= 800 && height >= 600;
}

SizeList BuildSizeList(const std::vector<DisplayModeRecord>& modes, ScreenSize fallback) {
  SizeList list;
  for (const DisplayModeRecord& mode : modes) {
    if (!IsOfferedSize(mode.width, mode.height)) continue;
    // Sizes above INT32_MAX cannot be the 32-bit signed pairs of the list.
    if (mode.width > INT32_MAX) continue;
    const ScreenSize size{static_cast<std::int32_t>(mode.width),
                          static_cast<std::int32_t>(mode.height)};
    if (FindSize(list, size.width, size.height) < 0) list.push_back(size);
  }
  if (list.empty()) list.push_back(fallback);
  return list;
}

const ScreenSize* SizeAt(const SizeList& list, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= list.size()) return nullptr;
  return &list[static_cast<std::size_t>(index)];
}

int FindSize(const SizeList& list, std::int32_t width, std::int32_t height) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i].width == width && list[i].height == height) return static_cast<int>(i);
  }
  return -1;
}

int IndexOfCurrentSize(const SizeList& list, std::int32_t width, std::int32_t height) {
  const int index = FindSize(list, width, height);
  return index < 0 ? 0 : index;
}

bool HasFullHdMode(const std::vector<DisplayModeRecord>& modes) {
  for (const DisplayModeRecord& mode : modes) {
    if (mode.width == 1920 && mode.height == 1080 && mode.bitsPerPixel == 32) return true;
  }
  return false;
}
