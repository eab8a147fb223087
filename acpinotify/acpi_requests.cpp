#include "acpi_requests.h"

#include <cstring>

namespace acpinotify {
namespace {

constexpr std::uint32_t kInitFirstWord = 2;
constexpr std::uint32_t kMethodInit = 0x54494E49;  // "INIT" read as a little-endian word
constexpr std::uint32_t kArgumentCount = 1;

void PutWord(std::uint8_t* at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

}  // namespace

InitRequestForm ChooseInitRequestForm(bool processIs64Bit, bool runsUnderWow64) {
  return processIs64Bit || runsUnderWow64 ? InitRequestForm::ArgumentInline
                                          : InitRequestForm::ArgumentPointer;
}

std::array<std::uint8_t, kArgumentBlockBytes> InitArgumentBlock() {
  // 16-bit type 0 (integer), 16-bit length 4, then the 32-bit value 0.
  return {0, 0, 4, 0, 0, 0, 0, 0};
}

InitRequest BuildInitRequest(InitRequestForm form, std::uint32_t argumentAddress) {
  InitRequest r;
  PutWord(&r.bytes[0], kInitFirstWord);
  PutWord(&r.bytes[4], kMethodInit);
  PutWord(&r.bytes[8], kArgumentCount);
  PutWord(&r.bytes[12], kArgumentBlockBytes);
  if (form == InitRequestForm::ArgumentPointer) {
    PutWord(&r.bytes[16], argumentAddress);
    r.size = 20;
  } else {
    const auto args = InitArgumentBlock();
    std::memcpy(&r.bytes[16], args.data(), args.size());
    r.size = 24;
  }
  return r;
}

}  // namespace acpinotify
