#include "tvpicture_core.h"

#include <algorithm>

namespace {

constexpr TvSliderSetup kFixedSlider{0, 15, 15, 16};

std::int32_t Clamp(std::int64_t v, std::int64_t low, std::int64_t high) {
  return static_cast<std::int32_t>(std::min(std::max(v, low), high));
}

// Positions 0..span; one less than INT32_MAX at most, so the step count fits.
std::int64_t SpanOf(const TvCapability& c) {
  return std::min<std::int64_t>(std::int64_t{c.maximum} - c.minimum, INT32_MAX - 1);
}

}  // namespace

bool IsAdjustable(const TvCapability& capability) {
  return capability.supported >= 1 && capability.minimum <= capability.maximum;
}

void TvPictureState::FindAdjustableDisplay(TvDisplayCalls& calls) {
  capability = TvCapability{};
  capability.size = sizeof(TvCapability);
  displayIndex = 0;
  calls.EnumDisplays(&displayIndex);  // what it leaves there is not used

  connectedDisplays = 0;  // a library that does not answer has no display
  calls.GetConfiguration(&connectedDisplays);
  if (connectedDisplays != 1) return;

  noAdjustment = false;
  displayIndex = 0;
  for (std::int32_t display = 0; display < kTvDisplayNumbers; ++display) {
    // A fresh record each time: the library may have cleared the size field.
    capability = TvCapability{};
    capability.size = sizeof(TvCapability);
    calls.GetCapability(display, &capability);
    if (IsAdjustable(capability)) {
      calls.GetAdjustment(display, &adjustment);
      displayIndex = display;
      return;
    }
  }
  noAdjustment = true;
}

TvSliderSetup TvPictureState::SetUpSlider() {
  if (noAdjustment || !IsAdjustable(capability)) {
    stepCount = kFixedSlider.stepCount;
    return kFixedSlider;
  }
  // Positions count down from the maximum, so they start at 0 whatever the
  // minimum is: the thumb arithmetic and the value sent both rely on that.
  const std::int64_t span = SpanOf(capability);
  const std::int32_t position = Clamp(std::int64_t{capability.maximum} - adjustment, 0, span);
  stepCount = static_cast<std::int32_t>(span + 1);
  return TvSliderSetup{0, static_cast<std::int32_t>(span), position, stepCount};
}

std::int32_t TvPictureState::AdjustmentFor(std::int32_t position) const {
  if (!IsAdjustable(capability)) return Clamp(15 - std::int64_t{position}, 0, 15);
  return Clamp(std::int64_t{capability.maximum} - position, capability.minimum,
               capability.maximum);
}
