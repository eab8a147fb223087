// Reports decoded per second on the host: the raw-input blob located and its code
// formed, for each device class.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "report_decoding.h"

using namespace remotecontrol;

namespace {

std::vector<std::uint8_t> Blob(std::vector<std::uint8_t> report) {
  std::vector<std::uint8_t> b(RawInputLayout::HidDataOffset(8));
  const std::uint32_t type = RawInputLayout::kTypeHid,
                      size = static_cast<std::uint32_t>(report.size()), count = 1;
  std::memcpy(b.data(), &type, 4);
  std::memcpy(b.data() + RawInputLayout::HeaderSize(8), &size, 4);
  std::memcpy(b.data() + RawInputLayout::HeaderSize(8) + 4, &count, 4);
  b.insert(b.end(), report.begin(), report.end());
  return b;
}

void Decode(benchmark::State& state, DeviceClass c, std::vector<std::uint8_t> report) {
  const std::vector<std::uint8_t> blob = Blob(std::move(report));
  const DataBytePositions positions{2, 3, 0};
  for (auto _ : state) {
    const HidData hid = LocateHidData(blob.data(), blob.size(), 8);
    benchmark::DoNotOptimize(DecodeReport(c, blob.data() + hid.offset, hid.length, positions));
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("reports");
}

}  // namespace

BENCHMARK_CAPTURE(Decode, FixedBytes3, DeviceClass::FixedBytes, {0x01, 0x02, 0x03});
BENCHMARK_CAPTURE(Decode, KeyTables4, DeviceClass::KeyTables, {0x03, 0x00, 0x00, 0x01});
BENCHMARK_CAPTURE(Decode, KeyTables9Green, DeviceClass::KeyTables,
                  {0x03, 0x00, 0x80, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
BENCHMARK_CAPTURE(Decode, KeyTables9Nothing, DeviceClass::KeyTables,
                  {0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00});
BENCHMARK_CAPTURE(Decode, ClassThreeOverride, DeviceClass::ConfiguredWithOverrides,
                  {0x01, 0x00, 0x00, 0x02});
BENCHMARK_CAPTURE(Decode, UnknownConfigured, DeviceClass::Unknown, {0x01, 0x41, 0x07, 0x00});

BENCHMARK_MAIN();
