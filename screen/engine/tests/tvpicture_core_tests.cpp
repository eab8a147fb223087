#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tvpicture_core.h"

namespace {

// A library that answers from a table and records what it was asked.
class FakeLibrary : public TvDisplayCalls {
 public:
  std::int32_t connected = 1;
  std::vector<int> adjustable{0};
  std::int32_t minimum = 0, maximum = 30, current = 10;
  std::int32_t enumAnswer = 7;
  bool clearsSizeOfUnsupported = false;
  std::vector<std::string> calls;

  void EnumDisplays(std::int32_t* index) override {
    calls.push_back("enum");
    *index = enumAnswer;
  }
  void GetConfiguration(std::int32_t* count) override {
    calls.push_back("config");
    if (connected >= 0) *count = connected;  // negative: leaves it untouched
  }
  void GetCapability(std::int32_t display, TvCapability* cap) override {
    calls.push_back("cap " + std::to_string(display));
    if (cap->size != 24) {
      calls.back() += " refused";
      return;
    }
    if (Adjustable(display)) {
      *cap = TvCapability{24, 0, minimum, maximum, 0, 1};
    } else {
      *cap = TvCapability{clearsSizeOfUnsupported ? 0 : 24, 0, 0, 0, 0, 0};
    }
  }
  void GetAdjustment(std::int32_t display, std::int32_t* value) override {
    calls.push_back("get " + std::to_string(display));
    *value = current;
  }
  void SetAdjustment(std::int32_t display, std::int32_t value) override {
    calls.push_back("set " + std::to_string(display) + " " + std::to_string(value));
  }

 private:
  bool Adjustable(int display) const {
    for (int a : adjustable) {
      if (a == display) return true;
    }
    return false;
  }
};

// What the Windows tests cannot make the stand-in do.
TEST(TvAdjustableDisplay, AnswersThatCannotBeTrusted) {
  FakeLibrary silent;
  silent.connected = -1;  // leaves the count as it was
  TvPictureState state;
  state.connectedDisplays = 1;
  state.FindAdjustableDisplay(silent);
  EXPECT_TRUE(state.noAdjustment) << "an unanswered count is no connected display";
  EXPECT_EQ((std::vector<std::string>{"enum", "config"}), silent.calls);

  FakeLibrary clearing;
  clearing.adjustable = {3};
  clearing.clearsSizeOfUnsupported = true;
  TvPictureState cleared;
  cleared.FindAdjustableDisplay(clearing);
  EXPECT_EQ(3, cleared.displayIndex) << "every question carries the record's size";
  EXPECT_EQ((std::vector<std::string>{"enum", "config", "cap 0", "cap 1", "cap 2", "cap 3",
                                      "get 3"}),
            clearing.calls);

  FakeLibrary empty;
  empty.adjustable = {2};
  empty.minimum = 5;
  empty.maximum = 4;
  TvPictureState emptyRange;
  emptyRange.FindAdjustableDisplay(empty);
  EXPECT_TRUE(emptyRange.noAdjustment) << "a display with an empty range is passed over";
}

TEST(TvSlider, RangeNotStartingAtZeroStillMapsOntoTheDisplaysRange) {
  FakeLibrary lib;
  lib.minimum = -10;
  lib.maximum = 10;
  lib.current = -4;
  TvPictureState state;
  state.FindAdjustableDisplay(lib);
  const TvSliderSetup slider = state.SetUpSlider();
  EXPECT_EQ(0, slider.minimum);
  EXPECT_EQ(20, slider.maximum);
  EXPECT_EQ(14, slider.position);
  EXPECT_EQ(21, slider.stepCount);
  EXPECT_EQ(-4, state.AdjustmentFor(slider.position)) << "the slider's place gives back the value";
  EXPECT_EQ(10, state.AdjustmentFor(slider.minimum));
  EXPECT_EQ(-10, state.AdjustmentFor(slider.maximum));

  // A maximum of 0 is a maximum like any other.
  FakeLibrary zero;
  zero.minimum = -6;
  zero.maximum = 0;
  zero.current = -6;
  TvPictureState zeroState;
  zeroState.FindAdjustableDisplay(zero);
  EXPECT_EQ(6, zeroState.SetUpSlider().position);
  EXPECT_EQ(-1, zeroState.AdjustmentFor(1));
}

TEST(TvSlider, ValuesOutsideTheRangeAreKeptInside) {
  FakeLibrary lib;
  lib.current = 45;  // above the maximum of 30
  TvPictureState state;
  state.FindAdjustableDisplay(lib);
  EXPECT_EQ(0, state.SetUpSlider().position);
  EXPECT_EQ(30, state.AdjustmentFor(-3));
  EXPECT_EQ(0, state.AdjustmentFor(99));

  FakeLibrary wide;
  wide.minimum = INT32_MIN;
  wide.maximum = INT32_MAX;
  wide.current = INT32_MIN;
  TvPictureState wideState;
  wideState.FindAdjustableDisplay(wide);
  const TvSliderSetup slider = wideState.SetUpSlider();
  EXPECT_EQ(INT32_MAX - 1, slider.maximum);
  EXPECT_EQ(INT32_MAX, slider.stepCount);
  EXPECT_EQ(INT32_MAX - 1, slider.position);
  EXPECT_EQ(INT32_MAX, wideState.AdjustmentFor(INT32_MIN));
  EXPECT_EQ(0, wideState.AdjustmentFor(INT32_MAX));
}

}  // namespace
