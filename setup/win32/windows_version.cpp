#include "windows_version.h"

#include <windows.h>

namespace setup {

WindowsVersionFacts ReadWindowsVersionFacts() {
  WindowsVersionFacts facts;
  OSVERSIONINFOEXA info{};
  info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOEXA);
  if (GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) {
    facts.productType = info.wProductType;
  } else {
    // Systems before NT 4 SP6 know only the short record (no product type).
    info = OSVERSIONINFOEXA{};
    info.dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return facts;
  }
  facts.known = true;
  facts.platformId = info.dwPlatformId;
  facts.major = info.dwMajorVersion;
  facts.minor = info.dwMinorVersion;
  facts.serverR2 = GetSystemMetrics(SM_SERVERR2) != 0;

  // The native architecture: a 32-bit installer on 64-bit XP must see AMD64.
  // GetNativeSystemInfo is XP and later, so it is looked up.
  using NativeInfoFn = void(WINAPI*)(LPSYSTEM_INFO);
  SYSTEM_INFO system{};
  const auto native = reinterpret_cast<NativeInfoFn>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetNativeSystemInfo"));
  if (native)
    native(&system);
  else
    GetSystemInfo(&system);
  facts.processorArchitecture = system.wProcessorArchitecture;
  return facts;
}

std::string GetWindowsName() { return WindowsNameFor(ReadWindowsVersionFacts()); }

}  // namespace setup
