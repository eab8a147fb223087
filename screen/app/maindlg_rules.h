// The main dialog's decisions that need no window: which controls each page shows
// and enables, where the focus goes, slot captions, slider steps and drags, thumb
// places and the preview's scale factors.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// x + 0.5 truncated toward zero (all values here are positive).
inline int RoundHalfUp(double x) { return static_cast<int>(x + 0.5); }

// DPI choice (percent of 96) <-> DPI.
inline int DpiOfChoice(int dpiChoice) { return RoundHalfUp(dpiChoice / 100.0 * 96.0); }
inline int ChoiceOfDpi(double dpi) { return RoundHalfUp(dpi / 96.0 * 100.0); }
// Preset 0, 1, 2 <-> DPI choice 100, 125, 146 and DPI 96, 120, 140.
constexpr int kPresetChoices[3] = {100, 125, 146};
constexpr int kPresetDpis[3] = {96, 120, 140};
int PresetOfChoice(int dpiChoice);  // -1 when none
int PresetOfDpi(double dpi);        // -1 when none

// --- pages -----------------------------------------------------------------

struct Favourites {
  int count = 0;
  bool used[6] = {};
};

struct PageControls {
  bool page1Controls;  // page-1 text 1026 and picture-size thumb 1021
  bool slots;          // six slots 1030..1035
  bool page4Controls;  // caption 1025, thumb 1020, presets 1052, 1054, 1055
  bool slotEnabled[6];
  bool redEnabled, greenEnabled, yellowEnabled;
};

PageControls DecidePageControls(int page, bool noPictureAdjust, const Favourites& favourites);

// Page 4's green key: enabled exactly when applying would change something.
bool GreenEnabledOnPage4(int selectedWidth, int selectedHeight, int currentWidth,
                         int currentHeight, int dpiChoice, double currentDpi);

// The control that gets the focus when a page is shown; 0 for the dialog itself.
// On page 4 also the preview kind (0 DPI row, 1 resolution row).
struct DefaultFocus {
  int controlId;
  int previewKind;  // -1: unchanged
};
DefaultFocus DecideDefaultFocus(int page, int dpiPreset, const bool slotEnabled[6]);

struct SlotTexts {  // already translated
  std::string fontLabel;  // "Font :"
  std::string noLetter;   // "No"
  std::string noData;     // "No data"
};
// Caption of a favourite slot; empty slots are blank (page 2) or "No data".
std::string SlotCaption(int width, int height, int dpi, bool blankWhenEmpty,
                        const SlotTexts& texts, bool turkish);

// Labels of the coloured keys and the title, as English keys for translation
// ("" = no label).
struct PageLabels {
  const char* title;
  const char* red;
  const char* green;
  const char* yellow;
  const char* blue;
};
// What the last save on page 3 did; the title tells it until the next page switch.
enum class SaveState { None, Saved, Failed };
PageLabels DecidePageLabels(int page, bool noPictureAdjust, SaveState saved);

// --- sliders ---------------------------------------------------------------

enum ScrollCode {  // the SB_ codes of WM_HSCROLL
  kLineLeft = 0, kLineRight = 1, kPageLeft = 2, kPageRight = 3,
  kThumbPosition = 4, kThumbTrack = 5
};
// New position of a scroll bar for a WM_HSCROLL code; pageDivisor is 10 for the
// resolution and picture-size bars and 20 for the DPI bar.
int ScrollPosition(int code, int given, int position, int minimum, int maximum, int page,
                   int pageDivisor);

// Widening of the resolution track beyond its hidden scroll bar.
int ResolutionTrackExtra(int sizeCount);
// Snap width of the resolution thumb for a size count (callers fix it on first use).
int ResolutionSnapWidth(int sizeCount);

struct DragOutcome {
  enum Action { kNone, kMoveThumbFreely, kSnapBack, kSelect } action;
  int position;  // for kSelect and kSnapBack
};
// A dragged resolution thumb whose shifted left edge is thumbLeft.
DragOutcome DragResolutionThumb(int thumbLeft, int thumbRight, int trackLeft, int trackRight,
                                int sizeCount, int selectedIndex, int snapWidth, bool released);
// A dragged picture-size thumb.
DragOutcome DragPictureSizeThumb(int thumbLeft, int trackLeft, int trackRight, int stepCount,
                                 int position, bool released);

// Left edge of the resolution and picture-size thumbs at their slider positions.
int ResolutionThumbX(int selectedIndex, int sizeCount, int trackLeft, int trackRight);
int PictureSizeThumbX(int position, int stepCount, int trackLeft, int trackRight);

// --- mouse hook ----------------------------------------------------------------

// While the window hangs partly off the screen, the preview is rebuilt after the
// pointer moved more than 10 pixels both across and down from the last point.
bool PreviewOffScreen(int left, int top, int right, int bottom, int screenWidth, int screenHeight);
bool MovedFarEnough(int x, int y, int lastX, int lastY);

// --- preview ---------------------------------------------------------------

struct PreviewScale {
  double widthRatio = 1.0, heightRatio = 1.0;
  double areaWidthRatio = 1.0, areaHeightRatio = 1.0;
  double textScaleX = 1.0, textScaleY = 1.0;
};
// The factors at which the preview shows the selected size at previewDpi.
PreviewScale ComputePreviewScale(int currentWidth, int currentHeight, int selectedWidth,
                                 int selectedHeight, double previewDpi);
// At initialisation only the area ratios are computed.
PreviewScale InitialPreviewScale(int currentWidth, int currentHeight);

// The desktop picture's size in the preview before it is cut to 628 x 357: the
// display in force scaled by the width and height ratios, at least the preview.
struct PixelSize {
  int width, height;
};
PixelSize BackgroundPreviewSize(int currentWidth, int currentHeight, const PreviewScale& scale);

// Slider positions in the order their preview pictures are made ahead of time:
// the nearest to the selected one first, the right one before the left one, at
// most `limit` of them, the selected one left out.
std::vector<int> PrefetchOrder(int count, int selected, int limit);

// Height of a preview font of `points` at the chosen DPI (negative: character height).
int PreviewFontHeight(double points, int dpiChoice);

// --- the window's place --------------------------------------------------------

struct WindowCorner {
  int x, y;
};
// The top-left corner nearest to (x, y) at which a window `width` wide keeps its
// title band (its top `titleHeight` pixels) on the work area, with at least
// `minVisible` pixels of it across: whatever a drag did, a mouse can still reach it.
WindowCorner KeepTitleReachable(int x, int y, int width, int workLeft, int workTop, int workRight,
                                int workBottom, int titleHeight, int minVisible);
