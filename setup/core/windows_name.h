// The display name of the running Windows version, from the facts the system
// reports. The name also chooses how the component starts with Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace setup {

struct WindowsVersionFacts {
  bool known = false;  // false when the version could not be read at all
  std::uint32_t platformId = 0;
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint8_t productType = 0;  // 0 when only the short version record was read
  bool serverR2 = false;         // GetSystemMetrics(SM_SERVERR2) != 0
  std::uint16_t processorArchitecture = 0;
};

namespace windows_platform {
constexpr std::uint32_t kWin32s = 0;
constexpr std::uint32_t kWindows = 1;  // 95, 98, Me
constexpr std::uint32_t kNT = 2;
}  // namespace windows_platform
constexpr std::uint8_t kProductWorkstation = 1;
constexpr std::uint16_t kArchitectureAmd64 = 9;

// Empty when no known version matches (also every Windows after Vista).
std::string WindowsNameFor(const WindowsVersionFacts& facts);

// The two version 6.0 names: there the component starts as a scheduled task,
// elsewhere through the Run key.
bool StartsAsScheduledTask(std::string_view windowsName);

}  // namespace setup
