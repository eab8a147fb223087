#include "maindlg_rules.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int PresetOfChoice(int dpiChoice) {
  for (int p = 0; p < 3; ++p)
    if (kPresetChoices[p] == dpiChoice) return p;
  return -1;
}

int PresetOfDpi(double dpi) {
  for (int p = 0; p < 3; ++p)
    if (kPresetDpis[p] == dpi) return p;
  return -1;
}

PageControls DecidePageControls(int page, bool noPictureAdjust, const Favourites& favourites) {
  PageControls c{};
  c.page1Controls = page == 1;
  c.slots = page == 2 || page == 3;
  c.page4Controls = page == 4;
  for (int i = 0; i < 6; ++i) c.slotEnabled[i] = page != 2 || favourites.used[i];

  c.greenEnabled = page != 2 && page != 3;
  if (page == 2 && noPictureAdjust) {
    c.yellowEnabled = false;
  } else if (page == 4 && noPictureAdjust) {
    c.yellowEnabled = favourites.count > 0;
  } else {
    c.yellowEnabled = page != 3;
  }
  c.redEnabled = page != 1;
  if (page == 1) c.greenEnabled = noPictureAdjust || favourites.count > 0;
  return c;
}

bool GreenEnabledOnPage4(int selectedWidth, int selectedHeight, int currentWidth,
                         int currentHeight, int dpiChoice, double currentDpi) {
  return selectedWidth != currentWidth || selectedHeight != currentHeight ||
         DpiOfChoice(dpiChoice) != currentDpi;
}

DefaultFocus DecideDefaultFocus(int page, int dpiPreset, const bool slotEnabled[6]) {
  switch (page) {
    case 1:
      return {1021, -1};
    case 2:
      for (int i = 0; i < 6; ++i)
        if (slotEnabled[i]) return {1030 + i, -1};
      return {0, -1};
    case 3:
      return {1030, -1};
    case 4:
      if (dpiPreset >= 0 && dpiPreset <= 2) {
        static const int presets[3] = {1052, 1054, 1055};
        return {presets[dpiPreset], 0};
      }
      return {1020, 1};
    default:
      return {0, -1};
  }
}

std::string SlotCaption(int width, int height, int dpi, bool blankWhenEmpty,
                        const SlotTexts& texts, bool turkish) {
  if (width < 1 || dpi < 75) return blankWhenEmpty ? std::string() : texts.noData;
  const std::string letter = dpi == 96 ? "S" : dpi == 120 ? "M" : dpi == 140 ? "L" : texts.noLetter;
  char buffer[260];
  std::snprintf(buffer, sizeof buffer, turkish ? "%s%s\\%d*%d" : "%s %s\\%d*%d",
                texts.fontLabel.c_str(), letter.c_str(), width, height);
  return buffer;
}

PageLabels DecidePageLabels(int page, bool noPictureAdjust, SaveState saved) {
  const char* yellow34 = noPictureAdjust ? "Load" : "Easy";
  switch (page) {
    case 1:
      return {"Easy Setting", "", "Load", "Advanced", "Exit"};
    case 2:
      return {"Load", "Cancel", "", noPictureAdjust ? "" : "Advanced", "Exit"};
    case 3:
      return {saved == SaveState::Saved    ? "Save successfully"
              : saved == SaveState::Failed ? "Save failed"
                                           : "Save",
              "Cancel", "Apply", yellow34, "Exit"};
    case 4:
      return {noPictureAdjust ? "Setting" : "Advanced", "Save", "Apply", yellow34, "Exit"};
    default:
      return {"", "", "", "", ""};
  }
}

int ScrollPosition(int code, int given, int position, int minimum, int maximum, int page,
                   int pageDivisor) {
  const int step = maximum / pageDivisor;
  switch (code) {
    case kLineLeft:
      return position > minimum ? position - 1 : position;
    case kLineRight:
      return position < maximum ? position + 1 : position;
    case kPageLeft:
      return position - step < minimum ? minimum : position - step;
    case kPageRight: {
      const int a = maximum - page, b = position + step;
      return a < b ? a : b;
    }
    case kThumbPosition:
    case kThumbTrack:
      return given;
    default:
      return position;
  }
}

int ResolutionTrackExtra(int sizeCount) {
  if (sizeCount <= 6) return 36;
  if (sizeCount <= 12) return 18;
  return 0;
}

int ResolutionSnapWidth(int sizeCount) {
  if (sizeCount <= 6) return 16;
  if (sizeCount <= 12) return 32;
  return 48;
}

DragOutcome DragResolutionThumb(int thumbLeft, int thumbRight, int trackLeft, int trackRight,
                                int sizeCount, int selectedIndex, int snapWidth, bool released) {
  const int span = trackRight - trackLeft;
  if (span <= 0 || sizeCount <= 0) return {DragOutcome::kNone, selectedIndex};
  const double exact = static_cast<double>(thumbLeft - trackLeft) / span * sizeCount;
  // Left of the track the position is negative: truncation must not round it to 0.
  const int position = exact < 0 ? -1 : RoundHalfUp(exact);
  if (position == selectedIndex && !released) {
    if (thumbLeft < trackLeft || thumbRight > trackRight + snapWidth)
      return {DragOutcome::kSnapBack, selectedIndex};
    return {DragOutcome::kMoveThumbFreely, selectedIndex};
  }
  if (position < 0) return {DragOutcome::kNone, selectedIndex};
  if (position > sizeCount - 1) {
    if (!released) return {DragOutcome::kNone, selectedIndex};
    return {DragOutcome::kSelect, sizeCount - 1};
  }
  return {DragOutcome::kSelect, position};
}

DragOutcome DragPictureSizeThumb(int thumbLeft, int trackLeft, int trackRight, int stepCount,
                                 int position, bool released) {
  const int span = trackRight - trackLeft;
  if (span <= 0 || stepCount <= 0) return {DragOutcome::kNone, position};
  const double exact = static_cast<double>(thumbLeft - trackLeft + 13) / span * stepCount;
  const int computed = exact < 0 ? -1 : RoundHalfUp(exact);
  if (computed != stepCount - 1 && computed != 0 && computed == position && !released)
    return {DragOutcome::kMoveThumbFreely, position};
  if (computed < 0) return {DragOutcome::kNone, position};
  if (computed > stepCount - 1) {
    if (!released) return {DragOutcome::kNone, position};
    return {DragOutcome::kSelect, stepCount - 1};
  }
  return {DragOutcome::kSelect, computed};
}

int ResolutionThumbX(int selectedIndex, int sizeCount, int trackLeft, int trackRight) {
  if (sizeCount <= 0) return trackLeft;
  return RoundHalfUp(static_cast<double>(selectedIndex) / sizeCount * (trackRight - trackLeft) +
                     trackLeft);
}

int PictureSizeThumbX(int position, int stepCount, int trackLeft, int trackRight) {
  if (stepCount <= 0) return trackLeft - 13;
  return RoundHalfUp(static_cast<double>(position) / stepCount * (trackRight - trackLeft) +
                     trackLeft - 23 + 10);
}

PreviewScale ComputePreviewScale(int currentWidth, int currentHeight, int selectedWidth,
                                 int selectedHeight, double previewDpi) {
  PreviewScale s = InitialPreviewScale(currentWidth, currentHeight);
  if (selectedWidth <= 0 || selectedHeight <= 0) return s;
  s.widthRatio = static_cast<double>(currentWidth) / selectedWidth;
  s.heightRatio = static_cast<double>(currentHeight) / selectedHeight;
  const double e = (RoundHalfUp(previewDpi) - 75) / 125.0;
  s.textScaleX = (e * 0.44666666999999993 + 0.91666666) * s.widthRatio;
  s.textScaleY = (e * 1.1956521699999998 + 0.76086957) * s.heightRatio;
  return s;
}

PreviewScale InitialPreviewScale(int currentWidth, int currentHeight) {
  PreviewScale s;
  if (currentWidth > 0) s.areaWidthRatio = 628.0 / currentWidth;
  if (currentHeight > 0) s.areaHeightRatio = 357.0 / currentHeight;
  return s;
}

PixelSize BackgroundPreviewSize(int currentWidth, int currentHeight, const PreviewScale& scale) {
  return PixelSize{std::max(628, RoundHalfUp(currentWidth * scale.widthRatio)),
                   std::max(357, RoundHalfUp(currentHeight * scale.heightRatio))};
}

std::vector<int> PrefetchOrder(int count, int selected, int limit) {
  std::vector<int> order;
  for (int d = 1; d < count && static_cast<int>(order.size()) < limit; ++d) {
    for (int i : {selected + d, selected - d}) {
      if (i >= 0 && i < count && static_cast<int>(order.size()) < limit) order.push_back(i);
    }
  }
  return order;
}

int PreviewFontHeight(double points, int dpiChoice) {
  // MulDiv(round(p), dpi, 72), rounded half away from zero as MulDiv does.
  const long long n = static_cast<long long>(RoundHalfUp(points)) * DpiOfChoice(dpiChoice);
  return -static_cast<int>((n + 36) / 72);
}

bool PreviewOffScreen(int left, int top, int right, int bottom, int screenWidth, int screenHeight) {
  return left < 0 || top < 0 || right > screenWidth || bottom > screenHeight;
}

bool MovedFarEnough(int x, int y, int lastX, int lastY) {
  return std::abs(x - lastX) > 10 && std::abs(y - lastY) > 10;
}

WindowCorner KeepTitleReachable(int x, int y, int width, int workLeft, int workTop, int workRight,
                                int workBottom, int titleHeight, int minVisible) {
  const int lowestY = workBottom - titleHeight;
  if (y > lowestY) y = lowestY;
  if (y < workTop) y = workTop;
  const int leftmost = workLeft - width + minVisible, rightmost = workRight - minVisible;
  if (x < leftmost) x = leftmost;
  if (x > rightmost) x = rightmost;
  return {x, y};
}
