#include "registry_dpi.h"

namespace dpireg {

bool IsUsableDpi(std::uint32_t dpi) { return dpi >= kMinUsableDpi && dpi <= kMaxUsableDpi; }

}  // namespace dpireg
