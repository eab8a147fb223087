// The screen sizes offered on the resolution slider, decided from the display
// driver's mode list. Refresh rate and colour depth play no part here; they are
// chosen only when a size is applied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ScreenSize {
  std::int32_t width;
  std::int32_t height;
  bool operator==(const ScreenSize& o) const { return width == o.width && height == o.height; }
};

// What the catalogue reads of one enumerated display mode.
struct DisplayModeRecord {
  std::uint32_t width;
  std::uint32_t height;
  std::uint32_t bitsPerPixel;
  std::uint32_t frequency;
  bool interlaced = false;
};

using SizeList = std::vector<ScreenSize>;

// Landscape sizes of at least 800 x 600: 800 x 600 is offered, 640 x 480, 720 x 576
// and portrait modes are not.
bool IsOfferedSize(std::uint32_t width, std::uint32_t height);

// The offered sizes in the driver's order of first appearance, each once.
// A display that offers none of them still gets one entry, `fallback` (the size in
// force), so that every slider position names a size and applying it changes
// nothing.
SizeList BuildSizeList(const std::vector<DisplayModeRecord>& modes, ScreenSize fallback);

// The entry at `index`, or null outside the list.
const ScreenSize* SizeAt(const SizeList& list, int index);

// Index of the first entry of that size, or -1.
int FindSize(const SizeList& list, std::int32_t width, std::int32_t height);

// Index of the size in force for the slider: 0 when it is not in the list.
int IndexOfCurrentSize(const SizeList& list, std::int32_t width, std::int32_t height);

// True when some mode is 1920 x 1080 at 32 bits per pixel, at any refresh rate:
// the precondition of the TV picture size adjustment.
bool HasFullHdMode(const std::vector<DisplayModeRecord>& modes);
