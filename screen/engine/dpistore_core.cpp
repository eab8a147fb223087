#include "dpistore_core.h"

#include "registry_dpi.h"

namespace dpistore {

std::uint32_t WantedDpi(std::int32_t dpiChoice) {
  // Every int32 choice gives a DPI within 32 bits; only negatives need care, whose
  // conversion to an unsigned number would be undefined.
  const double dpi = static_cast<double>(dpiChoice) / 100.0 * 96.0 + 0.5;
  return dpi < 1.0 ? 0u : static_cast<std::uint32_t>(dpi);
}

Plan PlanStore(std::int32_t dpiChoice, double currentDpi) {
  const std::uint32_t dpi = WantedDpi(dpiChoice);
  if (static_cast<double>(dpi) == currentDpi) return {Step::kNothingToChange, dpi};
  if (!dpireg::IsUsableDpi(dpi)) return {Step::kRefuse, dpi};
  return {Step::kWrite, dpi};
}

}  // namespace dpistore
