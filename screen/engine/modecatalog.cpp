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

std::vector<DEVMODEA> EnumeratePrimaryDisplayModes() {
  DEVMODEA probe = EmptyRecord();
  DWORD count = 0;
  while (count < kMaxModes && ::EnumDisplaySettingsA(nullptr, count, &probe)) {
    ++count;
    probe = EmptyRecord();
  }

  std::vector<DEVMODEA> modes(count + 1, EmptyRecord());
  DWORD filled = 0;
  while (filled < modes.size() && ::EnumDisplaySettingsA(nullptr, filled, &modes[filled])) {
    ++filled;
  }
  modes.resize(filled);
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
