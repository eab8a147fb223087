// Device classes and the codes they give, on the host.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "broadcast.h"
#include "report_decoding.h"

namespace remotecontrol {
namespace {

// Decodes bytes held in a buffer of exactly their size, so that the sanitizer
// catches any read past the report.
std::uint32_t Decode(DeviceClass c, std::vector<std::uint8_t> bytes,
                     DataBytePositions p = DataBytePositions{}) {
  std::vector<std::uint8_t> exact(bytes);
  exact.shrink_to_fit();
  return broadcast::RemoteControlParam(DecodeReport(c, exact.data(), exact.size(), p));
}

std::vector<std::uint8_t> Long(int byte, std::uint8_t value) {
  std::vector<std::uint8_t> r(9, 0);
  r[byte] = value;
  return r;
}

TEST(DeviceClass, KnownPairsAndEverythingElse) {
  EXPECT_EQ(ClassifyDevice(true, 0x0471, 0x0614), DeviceClass::FixedBytes);
  EXPECT_EQ(ClassifyDevice(true, 0x0471, 0x206C), DeviceClass::KeyTables);
  EXPECT_EQ(ClassifyDevice(true, 0x04F2, 0x0404), DeviceClass::ConfiguredWithOverrides);
  EXPECT_EQ(ClassifyDevice(true, 0x046D, 0xC319), DeviceClass::ConfiguredWithOverrides);
  // Vendor and product must match as a pair.
  EXPECT_EQ(ClassifyDevice(true, 0x0471, 0x0404), DeviceClass::Unknown);
  EXPECT_EQ(ClassifyDevice(true, 0x046D, 0x0614), DeviceClass::Unknown);
  // A device the system could not describe is unknown, whatever the stale ids say.
  EXPECT_EQ(ClassifyDevice(false, 0x0471, 0x206C), DeviceClass::Unknown);
}

TEST(FixedBytes, TwoAndThreeByteFormsOtherLengthsGiveNothing) {
  EXPECT_EQ(Decode(DeviceClass::FixedBytes, {0x01, 0x02, 0x03}), 0x03110302u);
  EXPECT_EQ(Decode(DeviceClass::FixedBytes, {0x02, 0x5B}), broadcast::kRedKey);
  EXPECT_EQ(Decode(DeviceClass::FixedBytes, {0xFF, 0xFF, 0xFF}), 0x03FFFFFFu);
  EXPECT_EQ(Decode(DeviceClass::FixedBytes, {0x00, 0x00}), 0x03100000u);
  for (std::size_t n : {0u, 1u, 4u, 9u}) {
    EXPECT_EQ(Decode(DeviceClass::FixedBytes, std::vector<std::uint8_t>(n, 0x11)),
              broadcast::kNoCode)
        << n;
  }
}

TEST(KeyTables, FourByteReportsStopAtFirstSingleBit) {
  const auto four = [](std::uint8_t b1, std::uint8_t b2, std::uint8_t b3) {
    return Decode(DeviceClass::KeyTables, {0x03, b1, b2, b3});
  };
  EXPECT_EQ(four(0x01, 0, 0), 0x031100E2u);  // mute
  EXPECT_EQ(four(0x80, 0, 0), 0x031100B3u);
  EXPECT_EQ(four(0, 0x40, 0), 0x03110224u);
  EXPECT_EQ(four(0, 0, 0x01), 0x03110209u);
  // Byte 1 is not a single bit: byte 2 decides.
  EXPECT_EQ(four(0x03, 0x02, 0x01), 0x031100B0u);
  // Byte 2 is a single bit without a key: the scan ends there, byte 3 is not looked at.
  EXPECT_EQ(four(0, 0x20, 0x01), 0x03110000u);
  EXPECT_EQ(four(0, 0, 0x02), 0x03110000u);
  EXPECT_EQ(four(0xFF, 0x00, 0x03), 0x03110000u);
  // Byte 0 (the report id) never counts.
  EXPECT_EQ(Decode(DeviceClass::KeyTables, {0x01, 0, 0, 0}), 0x03110000u);
}

TEST(KeyTables, NineByteReportsGiveTheColourKeysAndReplacements) {
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(2, 0x40)), broadcast::kRedKey);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(2, 0x80)), broadcast::kGreenKey);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(3, 0x01)), broadcast::kYellowKey);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(3, 0x02)), broadcast::kBlueKey);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(1, 0x10)), 0x0312005Au);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(3, 0x80)), 0x03220024u);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(4, 0x01)), 0x0322008Du);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(4, 0x80)), 0x03220025u);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, Long(5, 0x04)), 0x03220048u);

  // A single bit without a key ends the scan, whatever the later bytes hold.
  auto r = Long(1, 0x08);
  r[2] = 0x40;
  EXPECT_EQ(Decode(DeviceClass::KeyTables, r), 0x03120000u);
  // Bytes 6 to 8 have no keys.
  r = Long(7, 0x01);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, r), 0x03120000u);
  // Bytes that are not single bits are passed over.
  r = Long(2, 0x40);
  r[1] = 0x30;
  EXPECT_EQ(Decode(DeviceClass::KeyTables, r), broadcast::kRedKey);
  EXPECT_EQ(Decode(DeviceClass::KeyTables, std::vector<std::uint8_t>(9, 0xFF)), 0x03120000u);

  for (std::size_t n : {0u, 3u, 5u, 8u, 10u, 64u}) {
    EXPECT_EQ(Decode(DeviceClass::KeyTables, std::vector<std::uint8_t>(n, 0x40)),
              broadcast::kNoCode)
        << n;
  }
}

TEST(ConfiguredBytes, PositionsPickBytesAndOutOfRangePositionsAreLeftOut) {
  // Unknown device, DATA_BYTE1 = 2, DATA_BYTE3 = 9 (past a 4-byte report).
  EXPECT_EQ(Decode(DeviceClass::Unknown, {0x01, 0x41, 0x00, 0x00}, {2, 0, 9}), 0x03000041u);
  EXPECT_EQ(Decode(DeviceClass::Unknown, {0x0A, 0x0B, 0x0C}, {3, 2, 1}), 0x030A0B0Cu);
  // The same byte may feed several positions.
  EXPECT_EQ(Decode(DeviceClass::Unknown, {0x7F}, {1, 1, 1}), 0x037F7F7Fu);
  EXPECT_EQ(Decode(DeviceClass::Unknown, {0x01, 0x02}, {-1, INT_MIN, INT_MAX}), broadcast::kNoCode);
  EXPECT_EQ(Decode(DeviceClass::Unknown, {}, {1, 2, 3}), broadcast::kNoCode);
  EXPECT_EQ(Decode(DeviceClass::Unknown, {0x01, 0x02}, {0, 0, 0}), broadcast::kNoCode);
}

TEST(ConfiguredBytes, ClassThreeOverridesOnlyFourByteReportsWithLowBitsInByteThree) {
  const DataBytePositions p{1, 2, 3};
  EXPECT_EQ(Decode(DeviceClass::ConfiguredWithOverrides, {9, 9, 9, 1}, p), 0x03038001u);
  EXPECT_EQ(Decode(DeviceClass::ConfiguredWithOverrides, {9, 9, 9, 2}, p), 0x03038002u);
  EXPECT_EQ(Decode(DeviceClass::ConfiguredWithOverrides, {9, 9, 9, 4}, p), 0x03038004u);
  // Other values of byte 3, or other lengths, fall back to the configured bytes.
  EXPECT_EQ(Decode(DeviceClass::ConfiguredWithOverrides, {1, 2, 3, 8}, p), 0x03030201u);
  EXPECT_EQ(Decode(DeviceClass::ConfiguredWithOverrides, {1, 2, 3, 2, 0}, p), 0x03030201u);
  EXPECT_EQ(Decode(DeviceClass::ConfiguredWithOverrides, {1, 2, 3}, p), 0x03030201u);
}

// A raw-input blob as the system lays it out for a process of the given pointer size.
std::vector<std::uint8_t> Blob(std::size_t pointerBytes, std::uint32_t type,
                               std::uint32_t reportSize, std::uint32_t count,
                               std::size_t dataBytes) {
  std::vector<std::uint8_t> b(RawInputLayout::HidDataOffset(pointerBytes) + dataBytes, 0xAB);
  std::memcpy(b.data(), &type, 4);
  std::memcpy(b.data() + RawInputLayout::HeaderSize(pointerBytes), &reportSize, 4);
  std::memcpy(b.data() + RawInputLayout::HeaderSize(pointerBytes) + 4, &count, 4);
  return b;
}

TEST(RawInputBlob, HidDataIsFoundInBothProcessLayouts) {
  for (std::size_t ptr : {4u, 8u}) {
    auto b = Blob(ptr, 2, 3, 2, 6);
    HidData h = LocateHidData(b.data(), b.size(), ptr);
    ASSERT_TRUE(h.valid) << ptr;
    EXPECT_EQ(h.offset, ptr == 4 ? 24u : 32u);
    EXPECT_EQ(h.length, 6u);
  }
}

TEST(RawInputBlob, NonHidShortOrLyingMessagesStayInsideTheBlob) {
  auto keyboard = Blob(8, 1, 3, 1, 3);
  EXPECT_FALSE(LocateHidData(keyboard.data(), keyboard.size(), 8).valid);
  auto whole = Blob(8, 2, 0, 0, 0);
  for (std::size_t cut = 0; cut < whole.size(); ++cut) {
    EXPECT_FALSE(LocateHidData(whole.data(), cut, 8).valid) << cut;
  }
  EXPECT_FALSE(LocateHidData(nullptr, 100, 8).valid);
  // Claims far more than it carries, including a product past 32 bits.
  auto liar = Blob(8, 2, 0xFFFFFFFFu, 0xFFFFFFFFu, 5);
  HidData h = LocateHidData(liar.data(), liar.size(), 8);
  ASSERT_TRUE(h.valid);
  EXPECT_EQ(h.length, 5u);
  // Carries more than it claims: only the claimed reports count.
  auto padded = Blob(4, 2, 2, 1, 7);
  EXPECT_EQ(LocateHidData(padded.data(), padded.size(), 4).length, 2u);
}

}  // namespace
}  // namespace remotecontrol
