// The requests that KvACPINotify sends to the ACPI device "\\.\QRXACPI", as bytes.
// No system calls here: the Win32 side hands these blocks to the device.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace acpinotify {

// Device I/O control codes: device type 0x22, buffered, any access, functions
// 0x900 to 0x903.
constexpr std::uint32_t kRequestSetEvent = 0x222400;   // in: the event's handle value
constexpr std::uint32_t kRequestCallInit = 0x222404;   // in: the INIT request block
constexpr std::uint32_t kRequestFetchCode = 0x222408;  // out: the code just signalled
constexpr std::uint32_t kRequestOpen = 0x22240C;       // first request after opening

constexpr std::size_t kInitOutputBytes = 1024;
constexpr std::size_t kArgumentBlockBytes = 8;

// Where the INIT request's one argument lies.
enum class InitRequestForm {
  ArgumentPointer,  // 20 bytes ending in a 32-bit address of the argument block
  ArgumentInline,   // 24 bytes: the argument block itself in place of the address
};

// A 32-bit process on a 32-bit system hands the driver an address it can read. A
// 32-bit process under WOW64 talks to a 64-bit driver, which cannot follow a 32-bit
// address, so the block carries the argument itself. A 64-bit process has no 32-bit
// address to give and also talks to the 64-bit driver: it sends the same inline
// block that this driver already receives from every 32-bit caller on a 64-bit
// system, rather than a pointer form of our own that the driver was never shown.
InitRequestForm ChooseInitRequestForm(bool processIs64Bit, bool runsUnderWow64);

// The one argument of INIT: type 0 (integer), 4 bytes of data, the value 0.
std::array<std::uint8_t, kArgumentBlockBytes> InitArgumentBlock();

struct InitRequest {
  std::array<std::uint8_t, 24> bytes{};
  std::size_t size = 0;  // 20 or 24
};

// argumentAddress is used only by the pointer form: the address of the block that
// InitArgumentBlock() gives, in the caller's memory, for the time of the request.
InitRequest BuildInitRequest(InitRequestForm form, std::uint32_t argumentAddress);

}  // namespace acpinotify
