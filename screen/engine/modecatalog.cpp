#include "modecatalog.h"

static_assert(sizeof(DEVMODEA) == 156, "the driver's records are 156 bytes");

namespace {
// A driver that never reports the end of its list must not hang the program.
constexpr DWORD kMaxModes = 65536;

DEVMODEA EmptyRecord() {
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);
  return mode;
}
}  // namespace

// One pass, into records of 156 bytes, until the driver says there are no more.
// Each call is slow (under Wine, several requests to the window server while
// holding the display lock the window's thread also needs at start), so the
// list is not walked a first time just to count it.
std::vector<DEVMODEA> EnumeratePrimaryDisplayModes() {
  std::vector<DEVMODEA> modes;
  modes.reserve(64);
  DEVMODEA mode = EmptyRecord();
  while (modes.size() < kMaxModes &&
         ::EnumDisplaySettingsA(nullptr, static_cast<DWORD>(modes.size()), &mode)) {
    modes.push_back(mode);
    mode = EmptyRecord();
  }
  return modes;
}

DisplayModeRecord ToModeRecord(const DEVMODEA& mode) {
  return DisplayModeRecord{mode.dmPelsWidth, mode.dmPelsHeight, mode.dmBitsPerPel,
                           mode.dmDisplayFrequency,
                           (mode.dmFields & DM_DISPLAYFLAGS) && (mode.dmDisplayFlags & DM_INTERLACED)};
}

std::vector<DisplayModeRecord> ToModeRecords(const std::vector<DEVMODEA>& modes) {
  std::vector<DisplayModeRecord> records;
  records.reserve(modes.size());
  for (const DEVMODEA& mode : modes) records.push_back(ToModeRecord(mode));
  return records;
}

bool ReadCurrentDisplayMode(CurrentDisplayMode& mode, bool includeDpi) {
  // The driver's own record of the mode in force is right at once after a
  // change; a display context made just then may still describe the old mode.
  DEVMODEA current = EmptyRecord();
  const bool recorded =
      ::EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &current) &&
      (current.dmFields & (DM_PELSWIDTH | DM_PELSHEIGHT)) == (DM_PELSWIDTH | DM_PELSHEIGHT);
  // Every preview rebuild reads the mode: a display context only when needed.
  HDC dc = nullptr;
  if (!recorded || includeDpi) {
    dc = ::CreateDCA("Display", nullptr, nullptr, nullptr);
    if (!dc) return false;
  }
  if (recorded) {
    mode.width = static_cast<std::int32_t>(current.dmPelsWidth);
    mode.height = static_cast<std::int32_t>(current.dmPelsHeight);
    mode.refreshRate = current.dmDisplayFrequency;
    mode.bitsPerPixel = current.dmBitsPerPel;
  } else {
    mode.width = ::GetDeviceCaps(dc, HORZRES);
    mode.height = ::GetDeviceCaps(dc, VERTRES);
    mode.refreshRate = static_cast<std::uint32_t>(::GetDeviceCaps(dc, VREFRESH));
    mode.bitsPerPixel = static_cast<std::uint32_t>(::GetDeviceCaps(dc, BITSPIXEL));
  }
  if (includeDpi) mode.dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
  if (dc) ::DeleteDC(dc);
  return true;
}

SizeList BuildDisplaySizeList() {
  CurrentDisplayMode current;
  ReadCurrentDisplayMode(current, false);
  return BuildSizeList(ToModeRecords(EnumeratePrimaryDisplayModes()),
                       ScreenSize{current.width, current.height});
}

bool DisplayHasFullHdMode() {
  return HasFullHdMode(ToModeRecords(EnumeratePrimaryDisplayModes()));
}
