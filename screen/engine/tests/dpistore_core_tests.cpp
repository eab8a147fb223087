// The DPI store's decisions: the DPI a choice stands for and what is written.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "dpistore_core.h"

using dpistore::PlanStore;
using dpistore::Step;
using dpistore::WantedDpi;

TEST(WantedDpi, RoundsHalfUpFromTheChoicePercentage) {
  EXPECT_EQ(96u, WantedDpi(100));
  EXPECT_EQ(120u, WantedDpi(125));   // 120.0 exactly
  EXPECT_EQ(140u, WantedDpi(146));   // 140.16, not 141
  EXPECT_EQ(144u, WantedDpi(150));
  EXPECT_EQ(73u, WantedDpi(76));     // 72.96 rounds up
  EXPECT_EQ(72u, WantedDpi(75));
  EXPECT_EQ(1u, WantedDpi(1));       // 0.96 + 0.5
}

TEST(WantedDpi, ChoicesThatStandForNoDpiGiveZeroWithoutOverflow) {
  EXPECT_EQ(0u, WantedDpi(0));
  EXPECT_EQ(0u, WantedDpi(-1));
  EXPECT_EQ(0u, WantedDpi(-125));
  EXPECT_EQ(0u, WantedDpi(std::numeric_limits<std::int32_t>::min()));
  // The largest choice still fits in 32 bits: 2147483647 / 100 x 96 + 0.5.
  EXPECT_EQ(2061584301u, WantedDpi(std::numeric_limits<std::int32_t>::max()));
}

TEST(PlanStore, TheDpiInForceIsNotWrittenAgain) {
  const auto plan = PlanStore(100, 96.0);
  EXPECT_EQ(Step::kNothingToChange, plan.step);
  EXPECT_EQ(96u, plan.dpi);
  EXPECT_EQ(Step::kNothingToChange, PlanStore(146, 140.0).step);
}

TEST(PlanStore, AnotherUsableDpiIsWritten) {
  auto plan = PlanStore(125, 96.0);
  EXPECT_EQ(Step::kWrite, plan.step);
  EXPECT_EQ(120u, plan.dpi);
  plan = PlanStore(146, 96.0);
  EXPECT_EQ(Step::kWrite, plan.step);
  EXPECT_EQ(140u, plan.dpi);
  // A display reporting a fractional DPI never equals a whole request.
  EXPECT_EQ(Step::kWrite, PlanStore(125, 120.4).step);
}

TEST(PlanStore, ADpiNoDisplayCanUseIsRefused) {
  // From a damaged favourite, say: the machine-wide setting must never get it.
  EXPECT_EQ(Step::kRefuse, PlanStore(0, 96.0).step);
  EXPECT_EQ(Step::kRefuse, PlanStore(-50, 96.0).step);
  EXPECT_EQ(Step::kRefuse, PlanStore(74, 96.0).step);    // 71 DPI
  EXPECT_EQ(Step::kRefuse, PlanStore(501, 96.0).step);   // 481 DPI
  EXPECT_EQ(Step::kRefuse, PlanStore(std::numeric_limits<std::int32_t>::max(), 96.0).step);
  EXPECT_EQ(Step::kWrite, PlanStore(500, 96.0).step);    // 480 DPI
}

TEST(PlanStore, ResultsAreTheSystemsCodes) {
  EXPECT_EQ(0, dpistore::ResultOfWrite(true));
  EXPECT_EQ(static_cast<std::int32_t>(0x80004005u), dpistore::ResultOfWrite(false));
  EXPECT_EQ(static_cast<std::int32_t>(0x80004001u), dpistore::kNothingToChange);
}
