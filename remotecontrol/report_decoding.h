// Turning one raw-input message of a HID device into the 24-bit code that the
// library broadcasts. Nothing here touches the system: the raw-input blob, the
// device's identifiers and the configured byte positions come in as plain values.
#pragma once

#include <cstddef>
#include <cstdint>

namespace remotecontrol {

// How a device's reports are read, decided from its vendor and product ids.
enum class DeviceClass : std::uint8_t {
  FixedBytes = 1,  // two- or three-byte reports with the code in place
  KeyTables = 2,   // four- and nine-byte bit-field reports, read through tables
  ConfiguredWithOverrides = 3,
  Unknown = 255,  // any other device: the configured data bytes
};

// queried is false when the system could not tell which device sent the input.
DeviceClass ClassifyDevice(bool queried, std::uint32_t vendorId, std::uint32_t productId);

// 1-based positions in the HID data of the low, middle and high byte of the code
// of a device without a fixed layout; 0 or less leaves that byte out.
struct DataBytePositions {
  std::int32_t low = 0;
  std::int32_t middle = 0;
  std::int32_t high = 0;
};

// The code of `length` bytes of HID data (all reports of one message, one after
// another). Reads only data[0 .. length-1]; a length that fits no layout gives 0.
std::uint32_t DecodeReport(DeviceClass deviceClass, const std::uint8_t* data, std::size_t length,
                           const DataBytePositions& positions);

// Where the HID data lies in the blob that the system returns for one raw-input
// message. The header holds two pointer-sized fields, so its size depends on the
// process: pointerBytes is 4 or 8.
struct RawInputLayout {
  static constexpr std::uint32_t kTypeHid = 2;
  static constexpr std::size_t HeaderSize(std::size_t pointerBytes) { return 8 + 2 * pointerBytes; }
  static constexpr std::size_t HidDataOffset(std::size_t pointerBytes) {
    return HeaderSize(pointerBytes) + 8;
  }
};

struct HidData {
  bool valid = false;  // a HID message whose header and HID fields are all present
  std::size_t offset = 0;
  std::size_t length = 0;  // report size x report count, cut to the bytes present
};

// Reads the type and the HID fields of a raw-input blob of `size` bytes. A message
// that claims more report bytes than it carries yields only the bytes it carries.
HidData LocateHidData(const std::uint8_t* blob, std::size_t size, std::size_t pointerBytes);

}  // namespace remotecontrol
