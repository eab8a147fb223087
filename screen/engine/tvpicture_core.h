// The TV picture size (under- and overscan) through the graphics vendor's display
// library: which display can be adjusted, the slider over its range, and the value
// sent for a slider position. The library's calls come through TvDisplayCalls so
// that the decisions run without it.
#pragma once

#include <cstdint>

// Looked up in this order; the first that is missing makes the binding fail.
// All take three arguments with the C calling convention.
enum TvEntryPoint : int {
  kTvEnumDisplays,
  kTvGetConnectedDisplays,
  kTvGetAdapterId,
  kTvDdcBlockAccess,
  kTvDisplayGetDeviceConfig,
  kTvGetConfiguration,
  kTvDisplayGetConnectorData,
  kTvGetUnderOverscanCapability,
  kTvSetUnderOverscanAdjustment,
  kTvGetUnderOverscanAdjustment,
  kTvEntryPointCount
};
constexpr const char* kTvEntryPointNames[kTvEntryPointCount] = {
    "EnumDisplays",
    "GetConnectedDisplays",
    "ATIDL_GetAdapterID",
    "ATIDL_DDCBlockAccess",
    "ATIDL_DisplayGetDeviceConfig",
    "GetConfiguration",
    "ATIDL_DisplayGetConnectorData",
    "ATIDL_DisplayGetUnderOverscanCapability",
    "ATIDL_DisplaySetUnderOverscanAdjustment",
    "ATIDL_DisplayGetUnderOverscanAdjustment",
};

// What the library tells of one display number; 24 bytes, filled by the library.
struct TvCapability {
  std::int32_t size;  // 24, set before asking
  std::int32_t unused1;
  std::int32_t minimum;
  std::int32_t maximum;
  std::int32_t unused2;
  std::int32_t supported;  // 1 or more: the display can be adjusted
};
static_assert(sizeof(TvCapability) == 24, "the library fills six 32-bit fields");

// The display numbers asked for, 0..19.
constexpr std::int32_t kTvDisplayNumbers = 20;

// The calls the adjustment makes; arguments as the library takes them.
class TvDisplayCalls {
 public:
  virtual ~TvDisplayCalls() = default;
  virtual void EnumDisplays(std::int32_t* displayIndex) = 0;               // (0, 2, &index)
  virtual void GetConfiguration(std::int32_t* connectedDisplays) = 0;      // (0, 8, &count)
  virtual void GetCapability(std::int32_t display, TvCapability* cap) = 0;  // (0, i, &cap)
  virtual void GetAdjustment(std::int32_t display, std::int32_t* value) = 0;  // (0, i, &value)
  virtual void SetAdjustment(std::int32_t display, std::int32_t value) = 0;   // (0, i, value)
};

// The picture-size slider. It runs against the adjustment: right lowers it.
struct TvSliderSetup {
  std::int32_t minimum;
  std::int32_t maximum;
  std::int32_t position;
  std::int32_t stepCount;
};

// The main dialog's picture-size fields and the decisions on them.
struct TvPictureState {
  bool noAdjustment = true;  // nothing to adjust (the dialog's flag, 1 = none)
  std::int32_t displayIndex = 0;
  std::int32_t adjustment = 0;  // value last read or sent
  std::int32_t connectedDisplays = 0;
  std::int32_t stepCount = 16;
  TvCapability capability{};

  // With the library bound: asks for the connected displays and, when there is
  // exactly one, for the first display number of 0..19 that can be adjusted, and
  // reads its adjustment. Display numbers after it are not asked for.
  void FindAdjustableDisplay(TvDisplayCalls& calls);

  // The slider over the display's range: positions 0..(maximum - minimum), at
  // maximum - adjustment; without an adjustable display 0..15 at 15. Keeps the step
  // count.
  TvSliderSetup SetUpSlider();

  // The adjustment for a slider position: maximum - position, kept within the
  // display's range.
  std::int32_t AdjustmentFor(std::int32_t position) const;
};

// A display can be adjusted when it says so and its range is not empty.
bool IsAdjustable(const TvCapability& capability);
