// Stand-in for the graphics vendor's display library atipdlxx.dll: the ten entry
// points over one simulated TV display, set up by atipdlxx.ini beside the DLL and
// recorded line by line in atipdlxx.log beside it (README.md gives both formats).
// For test and demo folders only: a program that loads "atipdlxx.dll" by name
// would take this one instead of the vendor's.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>

namespace {

constexpr int kDisplayNumbers = 20;
constexpr int kConfigurationConnectedDisplays = 8;
constexpr int kCapabilityBytes = 24;

HMODULE g_self = nullptr;

struct Capability {
  int size;
  int unused1;
  int minimum;
  int maximum;
  int unused2;
  int supported;
};
static_assert(sizeof(Capability) == kCapabilityBytes, "six 32-bit fields");

// `name` in the DLL's own folder; false when that path does not fit.
bool BesideSelf(const wchar_t* name, wchar_t (&path)[MAX_PATH]) {
  const DWORD length = ::GetModuleFileNameW(g_self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  wchar_t* slash = std::wcsrchr(path, L'\\');
  if (!slash) return false;
  const std::size_t folder = static_cast<std::size_t>(slash + 1 - path);
  if (folder + std::wcslen(name) >= MAX_PATH) return false;
  std::wcscpy(slash + 1, name);
  return true;
}

// The simulated display, read afresh at every call so a test or a demo can
// change it while the library is loaded.
struct Display {
  int connected = 1;
  bool adjustable[kDisplayNumbers] = {true};
  int minimum = 0;
  int maximum = 30;
  int current = 15;
};

int ReadNumber(const wchar_t* ini, const wchar_t* key, int fallback) {
  wchar_t text[64];
  ::GetPrivateProfileStringW(L"Display", key, L"", text, 64, ini);
  wchar_t* end = nullptr;
  const long value = std::wcstol(text, &end, 10);
  return end == text ? fallback : static_cast<int>(value);
}

Display ReadDisplay() {
  Display d;
  wchar_t ini[MAX_PATH];
  if (!BesideSelf(L"atipdlxx.ini", ini)) return d;
  d.connected = ReadNumber(ini, L"ConnectedDisplays", d.connected);
  d.minimum = ReadNumber(ini, L"Minimum", d.minimum);
  d.maximum = ReadNumber(ini, L"Maximum", d.maximum);
  d.current = ReadNumber(ini, L"Current", d.current);
  wchar_t list[256];
  ::GetPrivateProfileStringW(L"Display", L"AdjustableDisplays", L"0", list, 256, ini);
  for (bool& a : d.adjustable) a = false;
  for (const wchar_t* p = list; *p;) {
    wchar_t* end = nullptr;
    const long n = std::wcstol(p, &end, 10);
    if (end == p) {
      ++p;
      continue;
    }
    if (n >= 0 && n < kDisplayNumbers) d.adjustable[n] = true;
    p = end;
  }
  return d;
}

void StoreCurrent(int value) {
  wchar_t ini[MAX_PATH];
  if (!BesideSelf(L"atipdlxx.ini", ini)) return;
  wchar_t text[16];
  std::swprintf(text, 16, L"%d", value);
  ::WritePrivateProfileStringW(L"Display", L"Current", text, ini);
}

void Log(const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  int length = std::vsnprintf(line, sizeof line - 2, format, args);
  va_end(args);
  if (length < 0) return;
  if (length > static_cast<int>(sizeof line) - 3) length = sizeof line - 3;
  line[length++] = '\r';
  line[length++] = '\n';
  wchar_t path[MAX_PATH];
  if (!BesideSelf(L"atipdlxx.log", path)) return;
  HANDLE file = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  ::WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
  ::CloseHandle(file);
}

bool IsAdjustable(const Display& d, int display) {
  return display >= 0 && display < kDisplayNumbers && d.adjustable[display];
}

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_self = instance;
    ::DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

// Every entry point returns 0 when it answered, -1 when it did not.

// A bit mask of the adjustable display numbers.
int __cdecl EnumDisplays(int adapter, int kind, int* displays) {
  const Display d = ReadDisplay();
  int mask = 0;
  for (int i = 0; i < kDisplayNumbers; ++i) mask |= d.adjustable[i] ? 1 << i : 0;
  if (displays) *displays = mask;
  Log("EnumDisplays %d %d => %d", adapter, kind, mask);
  return displays ? 0 : -1;
}

// A bit mask of the connected displays.
int __cdecl GetConnectedDisplays(int adapter, int kind, int* displays) {
  const Display d = ReadDisplay();
  const int count = d.connected < 0 ? 0 : (d.connected > 30 ? 30 : d.connected);
  if (displays) *displays = (1 << count) - 1;
  Log("GetConnectedDisplays %d %d", adapter, kind);
  return displays ? 0 : -1;
}

int __cdecl ATIDL_GetAdapterID(int adapter, int reserved, int* id) {
  if (id) *id = 0x1002;
  Log("ATIDL_GetAdapterID %d %d", adapter, reserved);
  return id ? 0 : -1;
}

int __cdecl ATIDL_DDCBlockAccess(int adapter, int display, void*) {
  Log("ATIDL_DDCBlockAccess %d %d", adapter, display);
  return -1;
}

int __cdecl ATIDL_DisplayGetDeviceConfig(int adapter, int display, void*) {
  Log("ATIDL_DisplayGetDeviceConfig %d %d", adapter, display);
  return -1;
}

// Item 8: the number of connected displays. Other items are not known.
int __cdecl GetConfiguration(int adapter, int item, int* value) {
  if (item != kConfigurationConnectedDisplays || !value) {
    Log("GetConfiguration %d %d => unknown", adapter, item);
    return -1;
  }
  *value = ReadDisplay().connected;
  Log("GetConfiguration %d %d => %d", adapter, item, *value);
  return 0;
}

int __cdecl ATIDL_DisplayGetConnectorData(int adapter, int display, void*) {
  Log("ATIDL_DisplayGetConnectorData %d %d", adapter, display);
  return -1;
}

// Fills a 24-byte record whose first field says its size.
int __cdecl ATIDL_DisplayGetUnderOverscanCapability(int adapter, int display,
                                                    Capability* capability) {
  if (!capability || capability->size < kCapabilityBytes) {
    Log("ATIDL_DisplayGetUnderOverscanCapability %d %d => refused", adapter, display);
    return -1;
  }
  const Display d = ReadDisplay();
  const bool adjustable = IsAdjustable(d, display);
  *capability = Capability{kCapabilityBytes, display, adjustable ? d.minimum : 0,
                           adjustable ? d.maximum : 0, 0, adjustable ? 1 : 0};
  Log("ATIDL_DisplayGetUnderOverscanCapability %d %d => %d %d %d", adapter, display,
      capability->supported, capability->minimum, capability->maximum);
  return 0;
}

int __cdecl ATIDL_DisplayGetUnderOverscanAdjustment(int adapter, int display, int* value) {
  const Display d = ReadDisplay();
  if (!value || !IsAdjustable(d, display)) {
    Log("ATIDL_DisplayGetUnderOverscanAdjustment %d %d => refused", adapter, display);
    return -1;
  }
  *value = d.current;
  Log("ATIDL_DisplayGetUnderOverscanAdjustment %d %d => %d", adapter, display, *value);
  return 0;
}

// Applies at once: the new value becomes the display's current adjustment.
int __cdecl ATIDL_DisplaySetUnderOverscanAdjustment(int adapter, int display, int value) {
  const Display d = ReadDisplay();
  if (!IsAdjustable(d, display) || value < d.minimum || value > d.maximum) {
    Log("ATIDL_DisplaySetUnderOverscanAdjustment %d %d %d refused", adapter, display, value);
    return -1;
  }
  StoreCurrent(value);
  Log("ATIDL_DisplaySetUnderOverscanAdjustment %d %d %d", adapter, display, value);
  return 0;
}

}  // extern "C"
