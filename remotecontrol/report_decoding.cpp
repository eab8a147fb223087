#include "report_decoding.h"

#include <cstring>

namespace remotecontrol {
namespace {

struct KnownDevice {
  std::uint32_t vendorId;
  std::uint32_t productId;
  DeviceClass deviceClass;
};

constexpr KnownDevice kKnownDevices[] = {
    {0x0471, 0x0614, DeviceClass::FixedBytes},
    {0x0471, 0x206C, DeviceClass::KeyTables},
    {0x04F2, 0x0404, DeviceClass::ConfiguredWithOverrides},
    {0x046D, 0xC319, DeviceClass::ConfiguredWithOverrides},
};

constexpr std::uint32_t kFixedBytesTag = 0x100000;
constexpr std::uint32_t kShortTableBase = 0x110000;
constexpr std::uint32_t kLongTableBase = 0x120000;

// Four-byte reports of class 2: consumer-control usages by byte (1..3) and bit.
// 0 marks a bit without a key.
// clang-format off
constexpr std::uint16_t kShortTable[3][8] = {
    {0xE2, 0xE9, 0xEA, 0x9C, 0x9D, 0xB5, 0xB6, 0xB3},
    {0xB4, 0xB0, 0xB1, 0xB7, 0xB2, 0, 0x224, 0},
    {0x209, 0, 0, 0, 0, 0, 0, 0},
};

// Nine-byte reports of class 2, by byte (1..5) and bit. Bytes 6 to 8 have no keys.
enum class Apply : std::uint8_t { None, Or, Replace };
struct LongEntry {
  Apply apply;
  std::uint32_t value;
};
constexpr LongEntry kNone{Apply::None, 0};
constexpr LongEntry kLongTable[5][8] = {
    {kNone, kNone, kNone, kNone, {Apply::Or, 0x5A}, kNone, kNone, kNone},
    {kNone, kNone, kNone, kNone, kNone, kNone, {Apply::Or, 0x5B}, {Apply::Or, 0x5C}},
    {{Apply::Or, 0x5D}, {Apply::Or, 0x5E}, kNone, kNone, kNone, kNone, kNone,
     {Apply::Replace, 0x220024}},
    {{Apply::Replace, 0x22008D}, kNone, kNone, kNone, kNone, kNone, kNone,
     {Apply::Replace, 0x220025}},
    {kNone, kNone, {Apply::Replace, 0x220048}, kNone, kNone, kNone, kNone, kNone},
};
// clang-format on

// The bit number of a value with exactly one bit set, or -1.
int SingleBit(std::uint8_t v) {
  if (v == 0 || (v & (v - 1)) != 0) return -1;
  int bit = 0;
  while ((v >> bit) != 1) ++bit;
  return bit;
}

std::uint32_t FixedBytesCode(const std::uint8_t* d, std::size_t n) {
  if (n == 2) return ((std::uint32_t{d[0]} << 16) + d[1]) | kFixedBytesTag;
  if (n == 3) {
    return ((std::uint32_t{d[0]} << 16) + (std::uint32_t{d[2]} << 8) + d[1]) | kFixedBytesTag;
  }
  return 0;
}

std::uint32_t ShortTableCode(const std::uint8_t* d) {
  for (int byte = 1; byte <= 3; ++byte) {
    const int bit = SingleBit(d[byte]);
    // The first single-bit byte decides, even when its bit has no key.
    if (bit >= 0) return kShortTableBase | kShortTable[byte - 1][bit];
  }
  return kShortTableBase;
}

std::uint32_t LongTableCode(const std::uint8_t* d) {
  for (int byte = 1; byte <= 8; ++byte) {
    const int bit = SingleBit(d[byte]);
    if (bit < 0) continue;
    if (byte > 5) return kLongTableBase;
    const LongEntry& e = kLongTable[byte - 1][bit];
    if (e.apply == Apply::Replace) return e.value;
    return kLongTableBase | e.value;  // a missing entry ORs nothing
  }
  return kLongTableBase;
}

std::uint32_t ConfiguredCode(const std::uint8_t* d, std::size_t n, const DataBytePositions& p) {
  auto byteAt = [&](std::int32_t position) -> std::uint32_t {
    if (position < 1 || static_cast<std::size_t>(position) > n) return 0;
    return d[position - 1];
  };
  return byteAt(p.low) + (byteAt(p.middle) << 8) + (byteAt(p.high) << 16);
}

}  // namespace

DeviceClass ClassifyDevice(bool queried, std::uint32_t vendorId, std::uint32_t productId) {
  if (queried) {
    for (const KnownDevice& k : kKnownDevices) {
      if (k.vendorId == vendorId && k.productId == productId) return k.deviceClass;
    }
  }
  return DeviceClass::Unknown;
}

std::uint32_t DecodeReport(DeviceClass deviceClass, const std::uint8_t* data, std::size_t length,
                           const DataBytePositions& positions) {
  if (data == nullptr) length = 0;
  switch (deviceClass) {
    case DeviceClass::FixedBytes:
      return FixedBytesCode(data, length);
    case DeviceClass::KeyTables:
      if (length == 4) return ShortTableCode(data);
      if (length == 9) return LongTableCode(data);
      return 0;
    case DeviceClass::ConfiguredWithOverrides:
      if (length == 4 && (data[3] == 1 || data[3] == 2 || data[3] == 4)) {
        return 0x038000u | data[3];
      }
      return ConfiguredCode(data, length, positions);
    case DeviceClass::Unknown:
      break;
  }
  return ConfiguredCode(data, length, positions);
}

HidData LocateHidData(const std::uint8_t* blob, std::size_t size, std::size_t pointerBytes) {
  HidData result;
  const std::size_t offset = RawInputLayout::HidDataOffset(pointerBytes);
  if (blob == nullptr || size < offset) return result;
  std::uint32_t type, reportSize, reportCount;
  const std::size_t hidFields = RawInputLayout::HeaderSize(pointerBytes);
  std::memcpy(&type, blob, 4);
  std::memcpy(&reportSize, blob + hidFields, 4);
  std::memcpy(&reportCount, blob + hidFields + 4, 4);
  if (type != RawInputLayout::kTypeHid) return result;
  const std::uint64_t claimed = std::uint64_t{reportSize} * reportCount;
  const std::size_t present = size - offset;
  result.valid = true;
  result.offset = offset;
  result.length = claimed < present ? static_cast<std::size_t>(claimed) : present;
  return result;
}

}  // namespace remotecontrol
