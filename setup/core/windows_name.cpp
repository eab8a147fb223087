#include "windows_name.h"

namespace setup {
namespace {
constexpr char kVista[] = "Windows Vista";
constexpr char kLonghornServer[] = "Windows Server \"Longhorn\"";
}  // namespace

std::string WindowsNameFor(const WindowsVersionFacts& f) {
  if (!f.known) return {};
  switch (f.platformId) {
    case windows_platform::kWin32s:
      return "Microsoft Win32s";
    case windows_platform::kWindows:
      if (f.major != 4) return {};
      if (f.minor == 0) return "Microsoft Windows 95";
      if (f.minor == 10) return "Microsoft Windows 98";
      if (f.minor == 90) return "Microsoft Windows Millennium Edition";
      return {};
    case windows_platform::kNT:
      if (f.major == 6) {
        if (f.minor != 0) return {};
        return f.productType == kProductWorkstation ? kVista : kLonghornServer;
      }
      if (f.major == 5) {
        switch (f.minor) {
          case 2:
            if (f.serverR2) return "Microsoft Windows Server 2003 \"R2\"";
            if (f.productType == kProductWorkstation &&
                f.processorArchitecture == kArchitectureAmd64)
              return "Microsoft Windows XP Professional x64 Edition";
            return "Microsoft Windows Server 2003";
          case 1:
            return "Microsoft Windows XP";
          case 0:
            return "Microsoft Windows 2000";
          default:
            return {};
        }
      }
      if (f.major <= 4) return "Microsoft Windows NT";
      return {};
    default:
      return {};
  }
}

bool StartsAsScheduledTask(std::string_view windowsName) {
  return windowsName == kVista || windowsName == kLonghornServer;
}

}  // namespace setup
