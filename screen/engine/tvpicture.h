// The TV picture size on page 1, through the graphics vendor's display library
// "atipdlxx.dll". The library is loaded by its bare file name and bound once for
// the whole process; without it, or without an adjustable display, there is
// nothing to adjust and page 1 does not exist.
#pragma once

#include <cstdint>

#include "modecatalog.h"
#include "tvpicture_core.h"

constexpr wchar_t kTvLibraryName[] = L"atipdlxx.dll";

// Loads the library unless it is loaded and looks up the ten entry points in
// their order. False when it cannot be loaded or at the first missing name (the
// names after it are not looked up). No message is shown either way.
bool BindTvDisplayLibrary();
// Frees the library and forgets every entry point.
void ReleaseTvDisplayLibrary();
bool IsTvDisplayLibraryLoaded();

// Owned by the main dialog: started once while it initialises, told every slider
// move, stopped when its window is destroyed.
class TvPictureAdjustment {
 public:
  using FullHdTest = bool (*)();

  // `hasFullHdMode` tells whether the primary display offers 1920 x 1080 at 32 bits.
  explicit TvPictureAdjustment(FullHdTest hasFullHdMode = DisplayHasFullHdMode);
  ~TvPictureAdjustment();
  TvPictureAdjustment(const TvPictureAdjustment&) = delete;
  TvPictureAdjustment& operator=(const TvPictureAdjustment&) = delete;

  // Binds the library (freed again when that fails) and, on a display that offers
  // a full-HD mode, finds the adjustable display and reads its adjustment.
  void Start();

  // The adjustment for the slider `position`, sent to the display at once and
  // kept; nothing when there is nothing to adjust or the library is not bound.
  void Send(std::int32_t position);

  // Frees the library (also done on destruction after a Start).
  void Stop();

  bool Adjustable() const { return !m_state.noAdjustment; }
  // The slider's range, position and step count (see TvPictureState::SetUpSlider).
  TvSliderSetup SliderSetup() { return m_state.SetUpSlider(); }
  std::int32_t StepCount() const { return m_state.stepCount; }
  const TvPictureState& State() const { return m_state; }

 private:
  FullHdTest m_hasFullHdMode;
  bool m_started = false;
  TvPictureState m_state;
};
