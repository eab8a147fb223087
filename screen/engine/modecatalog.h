// The primary display's modes and the mode in force, read from the system.
#pragma once

#include <windows.h>

#include <vector>

#include "modecatalog_core.h"

// The driver's records of 156 bytes, mode numbers 0, 1, 2, ... until a call fails.
std::vector<DEVMODEA> EnumeratePrimaryDisplayModes();

DisplayModeRecord ToModeRecord(const DEVMODEA& mode);
std::vector<DisplayModeRecord> ToModeRecords(const std::vector<DEVMODEA>& modes);

// The display mode in force, with the values it has before the first read.
struct CurrentDisplayMode {
  std::int32_t width = 1024;
  std::int32_t height = 768;
  std::uint32_t refreshRate = 60;
  std::uint32_t bitsPerPixel = 32;
  double dpi = 120.0;
};

// Reads width, height, refresh rate and colour depth of the mode in force and
// (when asked) the DPI of a "Display" device context. False, and `mode`
// unchanged, when no such context can be made.
bool ReadCurrentDisplayMode(CurrentDisplayMode& mode, bool includeDpi);

// The size list of the primary display (never empty: the size in force stands in
// when the display offers no size of at least 800 x 600).
SizeList BuildDisplaySizeList();

bool DisplayHasFullHdMode();
