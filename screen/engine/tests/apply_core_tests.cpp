#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "apply_core.h"

namespace {

using apply::ChooseMode;

DisplayModeRecord Mode(std::uint32_t w, std::uint32_t h, std::uint32_t bits, std::uint32_t hz,
                       bool interlaced = false) {
  return DisplayModeRecord{w, h, bits, hz, interlaced};
}

TEST(ModeChoice, PrefersTheRequestedRateThenTheListedRatesInTheirOrder) {
  const ScreenSize size{1280, 1024};
  EXPECT_EQ(1, ChooseMode({Mode(1280, 1024, 32, 60), Mode(1280, 1024, 32, 75)}, size, 0, 32));
  EXPECT_EQ(0, ChooseMode({Mode(1280, 1024, 32, 60), Mode(1280, 1024, 32, 59)}, size, 0, 32));
  EXPECT_EQ(1, ChooseMode({Mode(1024, 768, 32, 29), Mode(1280, 1024, 32, 29)}, size, 0, 32));
  EXPECT_EQ(-1, ChooseMode({Mode(1280, 1024, 32, 24), Mode(1280, 1024, 32, 85)}, size, 0, 32))
      << "no rate of the list";
  EXPECT_EQ(0, ChooseMode({Mode(1280, 1024, 32, 0)}, size, 0, 32)) << "a driver that gives no rate";
  EXPECT_EQ(1, ChooseMode({Mode(1280, 1024, 32, 60), Mode(1280, 1024, 32, 50)}, size, 50, 32))
      << "the requested rate first, when switching back";
  EXPECT_EQ(1, ChooseMode({Mode(1280, 1024, 32, 60), Mode(1280, 1024, 32, 75)}, size, 24, 32))
      << "a requested rate that is gone falls back to the list: 75 Hz first";
}

TEST(ModeChoice, TakesTheCurrentDepthOr32BitsWhicheverComesFirst) {
  const ScreenSize size{800, 600};
  EXPECT_EQ(0, ChooseMode({Mode(800, 600, 32, 60), Mode(800, 600, 16, 60)}, size, 0, 16));
  EXPECT_EQ(1, ChooseMode({Mode(800, 600, 8, 60), Mode(800, 600, 16, 60)}, size, 0, 16));
  EXPECT_EQ(-1, ChooseMode({Mode(800, 600, 8, 60), Mode(800, 600, 16, 60)}, size, 0, 32));
}

TEST(ModeChoice, ATelevisionsTableGetsItsProgressiveSixtyHertzMode) {
  const std::vector<DisplayModeRecord> tv{
      Mode(1920, 1080, 16, 60),       Mode(1920, 1080, 32, 24), Mode(1920, 1080, 32, 60, true),
      Mode(1920, 1080, 32, 25),       Mode(1280, 720, 32, 60),  Mode(1920, 1080, 32, 50),
      Mode(1920, 1080, 32, 30, true), Mode(1920, 1080, 32, 59), Mode(1920, 1080, 32, 60),
      Mode(1920, 1080, 32, 30)};
  EXPECT_EQ(8, ChooseMode(tv, {1920, 1080}, 0, 32));
  EXPECT_EQ(1, ChooseMode(tv, {1920, 1080}, 24, 32)) << "back to 24 Hz when that was the rate";
  EXPECT_EQ(9, ChooseMode(tv, {1920, 1080}, 30, 32)) << "progressive before interlaced";
  EXPECT_EQ(0, ChooseMode({Mode(1920, 1080, 32, 60, true)}, {1920, 1080}, 0, 32))
      << "interlaced when nothing else is offered";
}

TEST(QuestionTexts, ByLanguage) {
  EXPECT_EQ("Vous avez choisi la r\xe9solution : 1280 * 1024. \n",
            apply::ResolutionMessage("French", "Vous avez choisi la r\xe9solution :", 1280, 1024));
  EXPECT_EQ("Ha elegido la resoluci\xf3n :\n 1280 * 1024. ",
            apply::ResolutionMessage("spanish", "Ha elegido la resoluci\xf3n :", 1280, 1024));
  EXPECT_EQ("X\n 800 * 600. \n", apply::ResolutionMessage("Japanese", "X", 800, 600));
  EXPECT_EQ(259u, apply::ResolutionMessage("English", std::string(400, 'a').c_str(), 1, 1).size());
  EXPECT_EQ("A. B?", apply::RestartQuestion("Italian", "A.", "B?"));
  EXPECT_EQ("A.\nB?", apply::RestartQuestion("English", "A.", "B?"));
  EXPECT_EQ("A.\nB?", apply::RestartQuestion(nullptr, "A.", "B?"));
}

// --- the order of the step ----------------------------------------------------------

class FakeOps : public apply::ApplyOps {
 public:
  std::vector<DisplayModeRecord> modes{Mode(1280, 720, 32, 60), Mode(1280, 800, 32, 75),
                                       Mode(1280, 800, 32, 60), Mode(1024, 768, 32, 60)};
  bool refuse = false;
  dpistore::Result dpiResult = dpistore::kNothingToChange;
  bool accept = true;
  bool restartAnswer = false;
  std::vector<std::string> calls;

  std::vector<DisplayModeRecord> Modes() override { return Log("modes", modes); }
  bool SwitchTo(std::size_t i) override { return Log("switch " + Name(i), !refuse); }
  void Save(std::size_t i) override { Log("save " + Name(i)); }
  dpistore::Result StoreDpi(std::int32_t choice) override {
    return Log("store " + std::to_string(choice), dpiResult);
  }
  void UndoDpiStore() override { Log("undo store"); }
  void ShowNewMode() override { Log("show new mode"); }
  bool ConfirmResolution(ScreenSize s) override { return Log("confirm " + Size(s), accept); }
  void RestoreSelection(ScreenSize s, double dpi) override {
    Log("restore " + Size(s) + " " + std::to_string(static_cast<int>(dpi)));
  }
  void ShowSwitchedBack() override { Log("show switched back"); }
  void ShowNewDpi(bool modeChanged) override { Log(modeChanged ? "show dpi, size too" : "show dpi"); }
  bool AskToRestart() override { return Log("ask restart", restartAnswer); }
  bool Restart() override { return Log("restart", true); }

  static std::string Size(ScreenSize s) { return std::to_string(s.width) + "x" + std::to_string(s.height); }

 private:
  template <typename T = bool>
  T Log(const std::string& call, T result = T()) {
    calls.push_back(call);
    return result;
  }
  std::string Name(std::size_t i) const {
    const DisplayModeRecord& m = modes[i];
    return std::to_string(m.width) + "x" + std::to_string(m.height) + "@" + std::to_string(m.frequency);
  }
};

using Calls = std::vector<std::string>;
constexpr dpistore::Result kSameDpi = dpistore::kNothingToChange;
constexpr dpistore::Result kNewDpi = dpistore::kChanged;
const apply::Before kBefore{{1280, 720}, 60, 32, 96.0};

TEST(ApplyStep, TheSameSizeStoresTheDpiAndOffersTheRestartOnlyForANewOne) {
  for (dpistore::Result dpi : {kSameDpi, kNewDpi}) {
    FakeOps ops;
    ops.dpiResult = dpi;
    ops.restartAnswer = true;
    const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 720}, 125);
    EXPECT_EQ(dpi == kSameDpi ? Calls({"store 125"})
                              : Calls({"store 125", "show dpi", "ask restart", "restart"}),
              ops.calls);
    EXPECT_EQ(dpi == kSameDpi, o.nothingToDo);
    EXPECT_EQ(dpi == kNewDpi, o.restartRequested);
  }
}

TEST(ApplyStep, AnAcceptedSizeIsSavedOnlyAfterTheAnswerAndBeforeTheRestartQuestion) {
  for (dpistore::Result dpi : {kSameDpi, kNewDpi}) {
    FakeOps ops;
    ops.dpiResult = dpi;
    const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 800}, 125);
    Calls expected{"modes", "switch 1280x800@75", "store 125", "show new mode", "confirm 1280x800",
                   "save 1280x800@75"};
    if (dpi == kNewDpi) expected.insert(expected.end(), {"show dpi, size too", "ask restart"});
    EXPECT_EQ(expected, ops.calls);
    EXPECT_EQ(dpistore::kChanged, o.mode);
    EXPECT_TRUE(o.accepted);
  }
}

// Back at the old rate, or at the best rate left when that one is gone; a DPI
// stored with the refused size is taken back, and no restart is offered.
TEST(ApplyStep, ARefusedOrUnansweredSizeSwitchesBackWithoutSaving) {
  const struct {
    ScreenSize size;
    std::uint32_t rate;
    dpistore::Result dpi;
    const char* back;
  } cases[] = {{{1280, 720}, 60, kSameDpi, "1280x720@60"},
               {{1280, 720}, 60, kNewDpi, "1280x720@60"},
               {{1024, 768}, 85, kSameDpi, "1024x768@60"}};
  for (const auto& c : cases) {
    FakeOps ops;
    ops.accept = false;
    ops.dpiResult = c.dpi;
    const apply::Outcome o = apply::RunApply(ops, {c.size, c.rate, 32, 96.0}, {1280, 800}, 146);
    Calls expected{"modes", "switch 1280x800@75", "store 146", "show new mode", "confirm 1280x800",
                   "modes", std::string("switch ") + c.back, "restore " + FakeOps::Size(c.size) + " 96"};
    if (c.dpi == kNewDpi) expected.push_back("undo store");
    expected.push_back("show switched back");
    EXPECT_EQ(expected, ops.calls) << c.back;
    EXPECT_FALSE(o.accepted);
  }
}

TEST(ApplyStep, ASizeThatCannotBeShownAsksNothingButTheDpiGoesOn) {
  FakeOps refused;
  refused.refuse = true;
  refused.dpiResult = kNewDpi;
  apply::Outcome o = apply::RunApply(refused, kBefore, {1280, 800}, 125);
  EXPECT_EQ(Calls({"modes", "switch 1280x800@75", "store 125", "show dpi, size too", "ask restart"}),
            refused.calls);
  EXPECT_EQ(dpistore::kNoChangePossible, o.mode);
  EXPECT_FALSE(o.restartRequested);

  FakeOps noMode;
  noMode.modes = {Mode(1280, 800, 8, 60), Mode(1280, 800, 32, 85)};
  o = apply::RunApply(noMode, kBefore, {1280, 800}, 100);
  EXPECT_EQ(Calls({"modes", "store 100"}), noMode.calls);
  EXPECT_EQ(dpistore::kNoChangePossible, o.mode);
  EXPECT_FALSE(o.nothingToDo);
}

}  // namespace
