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

  std::vector<DisplayModeRecord> Modes() override {
    calls.push_back("modes");
    return modes;
  }
  bool SwitchTo(std::size_t i) override {
    calls.push_back("switch " + Name(i));
    return !refuse;
  }
  void Save(std::size_t i) override { calls.push_back("save " + Name(i)); }
  dpistore::Result StoreDpi(std::int32_t choice) override {
    calls.push_back("store " + std::to_string(choice));
    return dpiResult;
  }
  void UndoDpiStore() override { calls.push_back("undo store"); }
  void ShowNewMode() override { calls.push_back("show new mode"); }
  bool ConfirmResolution(ScreenSize s) override {
    calls.push_back("confirm " + std::to_string(s.width) + "x" + std::to_string(s.height));
    return accept;
  }
  void RestoreSelection(ScreenSize s, double dpi) override {
    calls.push_back("restore " + std::to_string(s.width) + "x" + std::to_string(s.height) + " " +
                    std::to_string(static_cast<int>(dpi)));
  }
  void ShowSwitchedBack() override { calls.push_back("show switched back"); }
  void ShowNewDpi(bool modeChanged) override { calls.push_back(modeChanged ? "show dpi, size too" : "show dpi"); }
  bool AskToRestart() override {
    calls.push_back("ask restart");
    return restartAnswer;
  }
  bool Restart() override {
    calls.push_back("restart");
    return true;
  }

 private:
  std::string Name(std::size_t i) const {
    const DisplayModeRecord& m = modes[i];
    return std::to_string(m.width) + "x" + std::to_string(m.height) + "@" + std::to_string(m.frequency);
  }
};

using Calls = std::vector<std::string>;
const apply::Before kBefore{{1280, 720}, 60, 32, 96.0};

TEST(ApplyStep, NothingToChangeDoesNothingElse) {
  FakeOps ops;
  const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 720}, 100);
  EXPECT_TRUE(o.nothingToDo);
  EXPECT_EQ(Calls({"store 100"}), ops.calls);
}

TEST(ApplyStep, AnAcceptedSizeIsSavedOnlyAfterTheAnswer) {
  FakeOps ops;
  const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 800}, 100);
  EXPECT_EQ(Calls({"modes", "switch 1280x800@75", "store 100", "show new mode", "confirm 1280x800",
                   "save 1280x800@75"}),
            ops.calls);
  EXPECT_EQ(dpistore::kChanged, o.mode);
  EXPECT_TRUE(o.accepted);
}

TEST(ApplyStep, ARefusedOrUnansweredSizeSwitchesBackWithoutSaving) {
  FakeOps ops;
  ops.accept = false;
  const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 800}, 100);
  EXPECT_EQ(Calls({"modes", "switch 1280x800@75", "store 100", "show new mode", "confirm 1280x800",
                   "modes", "switch 1280x720@60", "restore 1280x720 96", "show switched back"}),
            ops.calls);
  EXPECT_FALSE(o.accepted);
}

TEST(ApplyStep, SwitchingBackWhenTheOldRateIsGoneTakesTheBestRateLeft) {
  FakeOps ops;
  ops.accept = false;
  apply::Before before = kBefore;
  before.size = {1024, 768};
  before.refreshRate = 85;
  apply::RunApply(ops, before, {1280, 800}, 100);
  EXPECT_EQ("switch 1024x768@60", ops.calls[6]);
}

TEST(ApplyStep, ASwitchTheSystemRefusesAsksNothingButTheDpiGoesOn) {
  FakeOps ops;
  ops.refuse = true;
  ops.dpiResult = dpistore::kChanged;
  const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 800}, 125);
  EXPECT_EQ(Calls({"modes", "switch 1280x800@75", "store 125", "show dpi, size too", "ask restart"}),
            ops.calls);
  EXPECT_EQ(dpistore::kNoChangePossible, o.mode);
  EXPECT_FALSE(o.restartRequested);
}

TEST(ApplyStep, ASizeWithNoUsableModeChangesNothing) {
  FakeOps ops;
  ops.modes = {Mode(1280, 800, 8, 60), Mode(1280, 800, 32, 85)};
  const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 800}, 100);
  EXPECT_EQ(Calls({"modes", "store 100"}), ops.calls);
  EXPECT_EQ(dpistore::kNoChangePossible, o.mode);
  EXPECT_FALSE(o.nothingToDo);
}

TEST(ApplyStep, ANewDpiAloneOffersTheRestart) {
  FakeOps ops;
  ops.dpiResult = dpistore::kChanged;
  ops.restartAnswer = true;
  const apply::Outcome o = apply::RunApply(ops, kBefore, {1280, 720}, 125);
  EXPECT_EQ(Calls({"store 125", "show dpi", "ask restart", "restart"}), ops.calls);
  EXPECT_TRUE(o.restartRequested);
}

TEST(ApplyStep, ARefusedSizeTakesBackTheDpiStoredWithItAndAsksNoRestart) {
  FakeOps ops;
  ops.dpiResult = dpistore::kChanged;
  ops.accept = false;
  apply::RunApply(ops, kBefore, {1280, 800}, 146);
  EXPECT_EQ(Calls({"modes", "switch 1280x800@75", "store 146", "show new mode", "confirm 1280x800",
                   "modes", "switch 1280x720@60", "restore 1280x720 96", "undo store",
                   "show switched back"}),
            ops.calls);
}

TEST(ApplyStep, AnAcceptedSizeAndDpiAskForTheRestartAfterSaving) {
  FakeOps ops;
  ops.dpiResult = dpistore::kChanged;
  apply::RunApply(ops, kBefore, {1280, 800}, 125);
  EXPECT_EQ(Calls({"modes", "switch 1280x800@75", "store 125", "show new mode", "confirm 1280x800",
                   "save 1280x800@75", "show dpi, size too", "ask restart"}),
            ops.calls);
}

}  // namespace
