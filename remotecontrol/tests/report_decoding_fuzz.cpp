// Any raw-input blob, any device class and any configured positions: the decoder
// reads only inside the blob (the input is copied into a buffer of its exact size,
// so the sanitizer sees every stray read) and the code always fits in 24 bits.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "hook_configuration.h"
#include "report_decoding.h"

using namespace remotecontrol;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first bytes choose the class and the positions; all of the input, those
  // bytes included, is then read as the blob of both process layouts.
  static const DeviceClass kClasses[] = {DeviceClass::FixedBytes, DeviceClass::KeyTables,
                                         DeviceClass::ConfiguredWithOverrides,
                                         DeviceClass::Unknown};
  DeviceClass deviceClass = DeviceClass::Unknown;
  DataBytePositions positions;
  if (size >= 4) {
    deviceClass = kClasses[data[0] % 4];
    positions = {static_cast<std::int8_t>(data[1]), static_cast<std::int8_t>(data[2]),
                 data[3] * 300 - 1000};
  }
  const std::vector<std::uint8_t> blob(data, data + size);
  for (std::size_t pointerBytes : {4u, 8u}) {
    const HidData hid = LocateHidData(blob.data(), blob.size(), pointerBytes);
    if (!hid.valid) continue;
    if (hid.offset + hid.length > blob.size()) std::abort();
    std::vector<std::uint8_t> report(blob.begin() + hid.offset,
                                     blob.begin() + hid.offset + hid.length);
    report.shrink_to_fit();
    const std::uint32_t code = DecodeReport(deviceClass, report.data(), report.size(), positions);
    if (code > 0xFFFFFFu) std::abort();
  }
  // The whole input as one report, too, so that short reports of every class occur.
  const std::uint32_t code = DecodeReport(deviceClass, blob.data(), blob.size(), positions);
  if (code > 0xFFFFFFu) std::abort();

  // And as a mapping text from the configuration file.
  const ReportMapping m =
      ParseReportMapping(std::string_view(reinterpret_cast<const char*>(blob.data()), blob.size()));
  UsageLists lists;
  lists.Add(m);
  // A repeat is kept out, unless a number does not survive the cut to 16 bits.
  const bool fits = m.usagePage >= 0 && m.usagePage <= 0xFFFF && m.usage >= 0 && m.usage <= 0xFFFF;
  if (lists.Add(m) == fits) std::abort();
  return 0;
}
