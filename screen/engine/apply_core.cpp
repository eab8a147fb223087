#include "apply_core.h"

#include <cstdio>

#include "language_names.h"

namespace apply {

namespace {

int FindMode(const std::vector<DisplayModeRecord>& modes, ScreenSize size, std::uint32_t rate,
             std::uint32_t depth) {
  for (bool interlaced : {false, true}) {
    for (std::size_t i = 0; i < modes.size(); ++i) {
      const DisplayModeRecord& m = modes[i];
      if (m.interlaced != interlaced || m.frequency != rate) continue;
      if (static_cast<std::int64_t>(m.width) != size.width ||
          static_cast<std::int64_t>(m.height) != size.height)
        continue;
      if (m.bitsPerPixel == depth || m.bitsPerPixel == 32) return static_cast<int>(i);
    }
  }
  return -1;
}

std::string Formatted(const char* format, const char* text, int a, int b) {
  char out[260];
  std::snprintf(out, sizeof out, format, text ? text : "", a, b);
  return out;
}

}  // namespace

int ChooseMode(const std::vector<DisplayModeRecord>& modes, ScreenSize size,
               std::uint32_t requestedRate, std::uint32_t currentDepth) {
  int index = FindMode(modes, size, requestedRate, currentDepth);
  for (std::uint32_t rate : kRatePreferences) {
    if (index >= 0) break;
    index = FindMode(modes, size, rate, currentDepth);
  }
  return index;
}

std::string ResolutionMessage(const char* language, const char* translatedLead, int width,
                              int height) {
  const char* format = "%s\n %d * %d. \n";
  if (IsOneOfLanguages(language, {"French", "German", "English", "Dutch", "Hungarian"})) format = "%s %d * %d. \n";
  else if (IsOneOfLanguages(language, {"Spanish"})) format = "%s\n %d * %d. ";
  return Formatted(format, translatedLead, width, height);
}

std::string RestartQuestion(const char* language, const char* first, const char* second) {
  char out[260];
  std::snprintf(out, sizeof out, IsOneOfLanguages(language, {"German", "French", "Italian"}) ? "%s %s" : "%s\n%s",
                first ? first : "", second ? second : "");
  return out;
}

Outcome RunApply(ApplyOps& ops, const Before& before, ScreenSize selected, std::int32_t dpiChoice) {
  Outcome o;
  std::vector<DisplayModeRecord> modes;
  int chosen = -1;
  if (selected == before.size) {
    o.mode = dpistore::kNothingToChange;
  } else {
    modes = ops.Modes();
    chosen = ChooseMode(modes, selected, 0, before.bitsPerPixel);
    if (chosen >= 0 && ops.SwitchTo(static_cast<std::size_t>(chosen))) o.mode = dpistore::kChanged;
  }
  o.dpi = ops.StoreDpi(dpiChoice);
  if (o.mode == dpistore::kNothingToChange && o.dpi == dpistore::kNothingToChange) {
    o.nothingToDo = true;
    return o;
  }

  if (o.mode == dpistore::kChanged) {
    ops.ShowNewMode();
    o.accepted = ops.ConfirmResolution(selected);
    if (o.accepted) {
      ops.Save(static_cast<std::size_t>(chosen));
    } else {
      // The display first: a person who did not answer may be looking at nothing.
      const std::vector<DisplayModeRecord> now = ops.Modes();
      const int back = ChooseMode(now, before.size, before.refreshRate, before.bitsPerPixel);
      if (back >= 0) ops.SwitchTo(static_cast<std::size_t>(back));
      ops.RestoreSelection(before.size, before.dpi);
      if (o.dpi == dpistore::kChanged) ops.UndoDpiStore();
      ops.ShowSwitchedBack();
    }
  }

  if (o.dpi == dpistore::kChanged && o.accepted) {
    ops.ShowNewDpi(o.mode != dpistore::kNothingToChange);
    if (ops.AskToRestart()) o.restartRequested = ops.Restart();
  }
  return o;
}

}  // namespace apply
