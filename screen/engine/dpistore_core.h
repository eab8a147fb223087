// What storing a DPI choice decides: the DPI a choice stands for, and whether it
// is written. No <windows.h>: tested natively.
#pragma once

#include <cstdint>

namespace dpistore {

// The DPI change's results, the values of S_OK, E_NOTIMPL and E_FAIL.
using Result = std::int32_t;
constexpr Result kChanged = 0;
constexpr Result kNothingToChange = static_cast<Result>(0x80004001u);
constexpr Result kNoChangePossible = static_cast<Result>(0x80004005u);

// The DPI a choice (a percentage of 96) stands for: choice / 100 x 96 plus 0.5,
// cut toward zero, so 125 gives 120 and 146 gives 140. A negative choice stands
// for no DPI and gives 0.
std::uint32_t WantedDpi(std::int32_t dpiChoice);

enum class Step {
  kWrite,            // write `dpi` as the request; the result follows the write
  kNothingToChange,  // the DPI is already in force: write nothing
  kRefuse,           // no display can use that DPI: write nothing, no change possible
};

struct Plan {
  Step step;
  std::uint32_t dpi;
};

Plan PlanStore(std::int32_t dpiChoice, double currentDpi);

// The result of a planned write.
inline Result ResultOfWrite(bool written) { return written ? kChanged : kNoChangePossible; }

}  // namespace dpistore
