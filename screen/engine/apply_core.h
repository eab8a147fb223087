// Applying the dialog's selection, without windows: which display mode stands for
// the selected size, the texts of the two questions, and the order of the whole
// step (switch, store the DPI, confirm, keep or switch back, offer a restart)
// over an interface of its effects, so that every road through it is tested.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "dpistore_core.h"
#include "modecatalog_core.h"

namespace apply {

// Refresh rates tried, in this order, when the requested one is not offered.
constexpr std::uint32_t kRatePreferences[] = {75, 70, 60, 59, 50, 30, 29};

// The record to set for `size`: the first of the requested rate, then of each
// preferred rate in turn, whose depth is `currentDepth` or 32 bits (the first
// in the driver's order wins between the two). A progressive record is taken
// before an interlaced one of the same rate. -1 when none fits.
int ChooseMode(const std::vector<DisplayModeRecord>& modes, ScreenSize size,
               std::uint32_t requestedRate, std::uint32_t currentDepth);

// The question after a switch, by language: the translated "You have choosed
// resolution :" and the size, as the language writes it. At most 259 bytes.
std::string ResolutionMessage(const char* language, const char* translatedLead, int width,
                              int height);
// The restart question from its two translated sentences: one line in German,
// French and Italian, two lines otherwise. At most 259 bytes.
std::string RestartQuestion(const char* language, const char* first, const char* second);

// The mode in force when the step begins.
struct Before {
  ScreenSize size;
  std::uint32_t refreshRate;
  std::uint32_t bitsPerPixel;
  double dpi;
};

// Every effect of the step on the machine and the screen.
class ApplyOps {
 public:
  virtual std::vector<DisplayModeRecord> Modes() = 0;
  // Shows the mode of record `index` of the last Modes() without saving it as the
  // mode Windows starts with; false when the system refused it.
  virtual bool SwitchTo(std::size_t index) = 0;
  // Saves the mode of record `index` as the one Windows starts with.
  virtual void Save(std::size_t index) = 0;
  // Stores the DPI choice as the request for the next start of Windows.
  virtual dpistore::Result StoreDpi(std::int32_t dpiChoice) = 0;
  // Puts the request back as it was before the last store that changed it.
  virtual void UndoDpiStore() = 0;
  // The screen in its new mode, just before the question.
  virtual void ShowNewMode() = 0;
  // The timed question; true when a person accepted the size.
  virtual bool ConfirmResolution(ScreenSize size) = 0;
  // The selection back on the size and DPI in force before the step.
  virtual void RestoreSelection(ScreenSize size, double dpi) = 0;
  virtual void ShowSwitchedBack() = 0;
  // Just before the restart question; `modeChanged` when the size was switched.
  virtual void ShowNewDpi(bool modeChanged) = 0;
  virtual bool AskToRestart() = 0;
  // True when the restart was requested from the system.
  virtual bool Restart() = 0;

 protected:
  ~ApplyOps() = default;
};

struct Outcome {
  dpistore::Result mode = dpistore::kNoChangePossible;
  dpistore::Result dpi = dpistore::kNoChangePossible;
  bool accepted = true;
  bool nothingToDo = false;
  bool restartRequested = false;
};

// The whole step for the selected size and DPI choice.
//  - The new mode is shown at once but saved only when the person accepts it, so
//    that a program ended or a power cut during the question leaves Windows
//    starting in a mode somebody accepted.
//  - A switch the system refuses asks nothing: the size stays as it is.
//  - Switching back takes the old size at its old rate, or at the best rate the
//    preferences give when that rate is gone.
//  - A DPI request stored by a step whose size was then refused is taken back,
//    so the next start of Windows does not bring a DPI the program no longer shows.
Outcome RunApply(ApplyOps& ops, const Before& before, ScreenSize selected, std::int32_t dpiChoice);

}  // namespace apply
