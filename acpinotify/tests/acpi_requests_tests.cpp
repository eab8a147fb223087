// The request blocks of the ACPI device, byte for byte, on the host.
#include <gtest/gtest.h>

#include <vector>

#include "acpi_requests.h"

namespace acpinotify {
namespace {

std::vector<std::uint8_t> Bytes(const InitRequest& r) {
  return std::vector<std::uint8_t>(r.bytes.begin(), r.bytes.begin() + r.size);
}

const std::vector<std::uint8_t> kHead = {
    0x02, 0x00, 0x00, 0x00,  // fixed first word
    'I',  'N',  'I',  'T',   // method name
    0x01, 0x00, 0x00, 0x00,  // one argument
    0x08, 0x00, 0x00, 0x00,  // 8 bytes of arguments
};

TEST(InitRequest, NativeThirtyTwoBitFormEndsInTheArgumentAddress) {
  auto expected = kHead;
  expected.insert(expected.end(), {0x78, 0x56, 0x34, 0x12});
  EXPECT_EQ(Bytes(BuildInitRequest(InitRequestForm::ArgumentPointer, 0x12345678)), expected);
}

TEST(InitRequest, InlineFormCarriesTheArgumentBlock) {
  auto expected = kHead;
  // Type 0 (integer), length 4, value 0.
  expected.insert(expected.end(), {0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00});
  EXPECT_EQ(Bytes(BuildInitRequest(InitRequestForm::ArgumentInline, 0x12345678)), expected);
  const auto args = InitArgumentBlock();
  EXPECT_EQ(std::vector<std::uint8_t>(args.begin(), args.end()),
            std::vector<std::uint8_t>(expected.begin() + 16, expected.end()));
}

TEST(InitRequest, FormFollowsTheProcess) {
  // A 32-bit system, or no IsWow64Process to ask: the address form.
  EXPECT_EQ(ChooseInitRequestForm(false, false), InitRequestForm::ArgumentPointer);
  // A 32-bit process on 64-bit Windows, and a 64-bit process: inline.
  EXPECT_EQ(ChooseInitRequestForm(false, true), InitRequestForm::ArgumentInline);
  EXPECT_EQ(ChooseInitRequestForm(true, false), InitRequestForm::ArgumentInline);
}

// CTL_CODE(0x22, 0x900 + n, METHOD_BUFFERED, FILE_ANY_ACCESS), worked out by hand:
// 0x22 << 16 = 0x220000, 0x900 << 2 = 0x2400.
TEST(DeviceRequests, CodesAreBufferedAnyAccessFunctionsOfTheUnknownDeviceType) {
  EXPECT_EQ(0x222400u, kRequestSetEvent);
  EXPECT_EQ(0x222404u, kRequestCallInit);
  EXPECT_EQ(0x222408u, kRequestFetchCode);
  EXPECT_EQ(0x22240Cu, kRequestOpen);
}

}  // namespace
}  // namespace acpinotify
