// The one window message by which input events reach every program of the suite.
// The hardware libraries post it to all top-level windows; the programs listen for
// it. Nothing else crosses between the deliverables at run time.
#pragma once

#include <cstdint>

#ifdef _WIN32
#include <windows.h>
#endif

namespace broadcast {

constexpr char kMessageNameA[] = "WM_KAVO_BROADCAST_MESSAGE";
constexpr wchar_t kMessageNameW[] = L"WM_KAVO_BROADCAST_MESSAGE";

// wParam: who sent it.
constexpr std::uint16_t kFamilyRemoteControl = 0x2655;
constexpr std::uint16_t kFamilyAcpi = 0x2255;

// lParam: the top byte repeats the family, the lower 24 bits carry the event.
constexpr std::uint32_t kRemoteControlTag = 0x03000000;
constexpr std::uint32_t kAcpiTag = 0x01000000;

constexpr std::uint32_t RemoteControlParam(std::uint32_t code24) {
  return (code24 & 0x00FFFFFFu) | kRemoteControlTag;
}
// The ACPI device's own event number passes through unchanged.
constexpr std::uint32_t AcpiParam(std::uint32_t event) { return event | kAcpiTag; }

// Remote-control codes that the main program understands (its four coloured keys).
constexpr std::uint32_t kNoCode = kRemoteControlTag;  // a report that gave no code
constexpr std::uint32_t kRedKey = 0x0312005B;
constexpr std::uint32_t kGreenKey = 0x0312005C;
constexpr std::uint32_t kYellowKey = 0x0312005D;
constexpr std::uint32_t kBlueKey = 0x0312005E;

#ifdef _WIN32
// Both forms give the same identifier for the same name in one desktop session;
// the libraries use the ANSI form, the programs the wide one.
inline UINT RegisterMessageA() { return RegisterWindowMessageA(kMessageNameA); }
inline UINT RegisterMessageW() { return RegisterWindowMessageW(kMessageNameW); }
#endif

}  // namespace broadcast
