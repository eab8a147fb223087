// The main dialog's sliders, mouse and timers. Handlers only set request flags;
// timer 1000, restarted by every change, folds a burst of changes into one repaint.
#include "contour.h"
#include "language.h"
#include "previewmaindlg.h"
#include "tvpicture.h"

namespace {
const char kDialogClass[] = "P-Screen Dialog";
const char kDialogTitle[] = "Pio Screen Setting";

void PlaceHiddenAtBottom(HWND bar, const PixelRect& r) {
  ::SetWindowPos(bar, HWND_BOTTOM, r.x, r.y, r.w, r.h, SWP_HIDEWINDOW);
}

// A scroll bar's client rectangle in its dialog's client coordinates.
RECT TrackOf(HWND bar, HWND dialog) {
  RECT r{};
  ::GetClientRect(bar, &r);
  ::MapWindowPoints(bar, dialog, reinterpret_cast<POINT*>(&r), 2);
  return r;
}
}  // namespace

void CPreviewMainDlg::SetUpSliders() {
  m_dpiScroll = GetDlgItem(ids::kDpiScroll);
  m_resolutionScroll = GetDlgItem(ids::kResolutionScroll);
  m_pictureSizeScroll = GetDlgItem(ids::kPictureSizeScroll);

  ::SetScrollRange(m_dpiScroll, SB_CTL, 75, 200, FALSE);
  const int preset = PresetOfDpi(m_current.dpi);
  if (preset >= 0) {
    m_dpiPreset = preset;
    m_dpiChoice = kPresetChoices[preset];
    SetPresetLatches();
  } else {
    m_dpiPreset = -1;
    m_previewKind = 1;
    m_dpiChoice = ChoiceOfDpi(m_current.dpi);
  }
  ::SetScrollPos(m_dpiScroll, SB_CTL, m_dpiChoice, FALSE);
  PlaceHiddenAtBottom(m_dpiScroll, kDpiScrollPlace);

  const int sizeCount = static_cast<int>(m_sizes.size());
  ::SetScrollRange(m_resolutionScroll, SB_CTL, 0, sizeCount > 0 ? sizeCount - 1 : 0, FALSE);
  m_selectedSizeIndex = IndexOfCurrentSize(m_sizes, m_current.width, m_current.height);
  ::SetScrollPos(m_resolutionScroll, SB_CTL, m_selectedSizeIndex, FALSE);
  PlaceHiddenAtBottom(m_resolutionScroll, kResolutionScrollPlace);
  m_resolutionTrack = TrackOf(m_resolutionScroll, m_hWnd);
  m_resolutionTrack.right += ResolutionTrackExtra(sizeCount);

  if (m_noPictureAdjust || !m_tvPicture) return;
  const TvSliderSetup slider = m_tvPicture->SliderSetup();
  ::SetScrollRange(m_pictureSizeScroll, SB_CTL, slider.minimum, slider.maximum, FALSE);
  m_pictureSizePosition = slider.position;
  ::SetScrollPos(m_pictureSizeScroll, SB_CTL, m_pictureSizePosition, FALSE);
  PlaceHiddenAtBottom(m_pictureSizeScroll, kPictureSizeScrollPlace);
  m_pictureSizeTrack = TrackOf(m_pictureSizeScroll, m_hWnd);
  m_pictureSizeTrack.left += 7;
  m_pictureSizeTrack.right -= 7;
}

LRESULT CPreviewMainDlg::OnHScroll(WPARAM wParam, LPARAM lParam) {
  HWND bar = reinterpret_cast<HWND>(lParam);
  if (bar == m_resolutionScroll || bar == m_pictureSizeScroll || bar == m_dpiScroll) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    ::GetScrollInfo(bar, SB_CTL, &info);
    const int divisor = bar == m_dpiScroll ? 20 : 10;
    const int position = ScrollPosition(LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                                        info.nPos, info.nMin, info.nMax,
                                        static_cast<int>(info.nPage), divisor);
    if (position != info.nPos) {
      ::SetScrollPos(bar, SB_CTL, position, TRUE);
      if (bar == m_resolutionScroll) {
        // The thumb and the size text follow at once; the costly preview waits for
        // timer 1000, which every step restarts, so a burst of steps rebuilds and
        // repaints the whole window once.
        m_selectedSizeIndex = position;
        m_previewRebuildRequest = 0;
        m_previewRefreshToggle = 0;
        RepaintRightPanel();
        RestartTimer1000(2);
      } else if (bar == m_pictureSizeScroll) {
        m_pictureSizePosition = position;
        if (m_tvPicture) m_tvPicture->Send(position);
        m_previewRebuildRequest = 0;
        m_previewRefreshToggle = 0;
        RepaintWhole();
      } else {
        m_dpiChoice = position;
      }
    }
    UpdateGreenKey();
  }
  return Default();
}

int CPreviewMainDlg::DragSliderThumb(int previousX, CxSkinButton* thumb, bool released) {
  if (!thumb) return 0;
  POINT cursor;
  ::GetCursorPos(&cursor);
  ::ScreenToClient(m_hWnd, &cursor);
  RECT r{};
  ::GetWindowRect(thumb->m_hWnd, &r);
  ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  ::OffsetRect(&r, cursor.x - previousX, 0);

  const int id = ::GetDlgCtrlID(thumb->m_hWnd);
  if (id == ids::kResolutionThumb) {
    static const int snap = ResolutionSnapWidth(static_cast<int>(m_sizes.size()));
    const DragOutcome d = DragResolutionThumb(r.left, r.right, m_resolutionTrack.left,
                                              m_resolutionTrack.right,
                                              static_cast<int>(m_sizes.size()),
                                              m_selectedSizeIndex, snap, released);
    switch (d.action) {
      case DragOutcome::kSnapBack:
        m_selectedSizeIndex = d.position;
        m_thumbFreeMoving = 0;
        return 0;
      case DragOutcome::kMoveThumbFreely:
        ::MoveWindow(thumb->m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        m_thumbFreeMoving = 1;
        return 0;
      case DragOutcome::kNone:
        m_thumbFreeMoving = 0;
        return 0;
      case DragOutcome::kSelect:
        m_thumbFreeMoving = 0;
        m_selectedSizeIndex = d.position;
        ::SetScrollPos(m_resolutionScroll, SB_CTL, d.position, TRUE);
        if (released) {
          RefreshPreview();
        } else {
          m_previewRebuildRequest = 0;
          RepaintRightPanel();
        }
        return 1;
    }
  } else if (id == ids::kPictureSizeThumb) {
    const int steps = m_tvPicture ? m_tvPicture->StepCount() : 16;
    const DragOutcome d = DragPictureSizeThumb(r.left, m_pictureSizeTrack.left,
                                               m_pictureSizeTrack.right, steps,
                                               m_pictureSizePosition, released);
    switch (d.action) {
      case DragOutcome::kMoveThumbFreely:
        ::MoveWindow(thumb->m_hWnd, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
        m_thumbFreeMoving = 1;
        return 0;
      case DragOutcome::kSelect: {
        m_thumbFreeMoving = 0;
        m_pictureSizePosition = d.position;
        ::SetScrollPos(m_pictureSizeScroll, SB_CTL, d.position, TRUE);
        if (released) {
          if (m_tvPicture) m_tvPicture->Send(d.position);
        } else {
          m_previewRebuildRequest = 0;
          RepaintRightPanel();
        }
        return 1;
      }
      default:
        m_thumbFreeMoving = 0;
        return 0;
    }
  }
  return 0;
}

void CPreviewMainDlg::SetPreviewKind(int kind) {
  if (kind == m_previewKind) return;
  m_previewKind = kind;
  m_previewRebuildRequest = 0;
  RepaintRightPanel();
}

void CPreviewMainDlg::RefreshPreview() {
  m_previewRebuildRequest = 1;
  m_previewRefreshToggle = 0;
  const RECT area = ClientRectOf(ids::kPreviewPicture);
  ::RedrawWindow(m_hWnd, &area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  UpdateGreenKey();
  HWND focus = ::GetFocus();
  if (focus == GetDlgItem(ids::kResolutionThumb) || m_previewKind == 1) {
    const BackgroundPieceRow* row = FindBackgroundPiece(pieces::kResolutionHighlight);
    CClientDC dc(m_hWnd);
    Piece(row->bitmapId)->Draw(dc, row->place.x, row->place.y);
  }
  RestartTimer1000(2);
}

void CPreviewMainDlg::OnDisplayChange(int width, int height, int bitsPerPixel) {
  ReadCurrentDisplayMode(m_current, false);
  // The notice names the new mode; a read made while the change is still under
  // way may yet describe the old one.
  if (width > 0 && height > 0) {
    m_current.width = width;
    m_current.height = height;
  }
  if (bitsPerPixel > 0) m_current.bitsPerPixel = static_cast<std::uint32_t>(bitsPerPixel);
  const int index = FindSize(m_sizes, m_current.width, m_current.height);
  if (index < 0) return;
  m_selectedSizeIndex = index;
  ::SetScrollPos(m_resolutionScroll, SB_CTL, index, TRUE);
  m_previewRebuildRequest = 1;
  RefreshPreview();
}

LRESULT CPreviewMainDlg::OnLButtonDown(WPARAM, LPARAM lParam) {
  POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  if (m_page == 4) {
    m_lastFocused = ::GetFocus();
    if (kDpiHalf.Contains(p.x, p.y)) {
      if (m_dpiPreset >= 0) {
        FocusControl(GetDlgItem(ids::kPresets[m_dpiPreset]));
        m_previewKind = 0;
      } else {
        FocusControl(GetDlgItem(ids::kResolutionThumb));
        m_previewKind = 1;
      }
      m_previewRebuildRequest = 0;
      RepaintRightPanel();
    } else if (kResolutionHalf.Contains(p.x, p.y) &&
               ::GetFocus() != GetDlgItem(ids::kResolutionThumb)) {
      FocusControl(GetDlgItem(ids::kResolutionThumb));
      m_previewKind = 1;
      m_previewRebuildRequest = 0;
      RepaintRightPanel();
    }
  }
  POINT screen = p;
  ::ClientToScreen(m_hWnd, &screen);
  m_lastCursor = screen;
  return MoveFromFace(screen);
}

LRESULT CPreviewMainDlg::OnSetCursor(WPARAM wParam, LPARAM) {
  HWND over = reinterpret_cast<HWND>(wParam);
  const bool arrow = over == m_hWnd || over == GetDlgItem(ids::kPreviewPicture);
  ::SetCursor(arrow || !m_handCursor ? m_arrowCursor : m_handCursor);
  return TRUE;
}

// --- timers ------------------------------------------------------------------

void CPreviewMainDlg::RestartTimer1000(UINT periodMs) {
  if (m_timer1000) ::KillTimer(m_hWnd, m_timer1000);
  m_timer1000 = ::SetTimer(m_hWnd, 1000, periodMs, &CPreviewMainDlg::TimerProc);
}

void CALLBACK CPreviewMainDlg::TimerProc(HWND hwnd, UINT message, UINT_PTR id, DWORD) {
  if (message != WM_TIMER) return;
  auto* self = dynamic_cast<CPreviewMainDlg*>(CWnd::FromHandlePermanent(hwnd));
  if (self) self->OnTimerTick(id);
}

void CPreviewMainDlg::OnTimerTick(UINT_PTR id) {
  if (id == m_timer1000 && m_timer1000) {
    ::KillTimer(m_hWnd, m_timer1000);
    m_timer1000 = 0;
    m_previewRebuildRequest = 1;
    m_previewRefreshToggle = 1;
    RepaintWhole();
    StartMakingPicturesAhead();
  } else if (id == m_timer3000 && m_timer3000) {
    MakeNextPreviewAhead();
  } else if (id == m_timer2000 && m_timer2000) {
    HWND foreground = ::GetForegroundWindow();
    if (::GetWindowThreadProcessId(foreground, nullptr) != ::GetWindowThreadProcessId(m_hWnd, nullptr)) {
      m_previewRebuildRequest = 1;
      m_previewRefreshToggle = 1;
    }
  }
}

// After the start-up's repaint, the desktop pictures of the other slider positions
// are made while nobody waits, so that moving the slider finds them ready instead
// of scaling for each step.
// The first picture waits a quarter of a second: the program first shows itself
// and waits for input, then makes one picture every 20 ms.
void CPreviewMainDlg::StartMakingPicturesAhead() {
  if (m_madeAheadStarted) return;
  m_madeAheadStarted = true;
  m_timer3000 = ::SetTimer(m_hWnd, 3000, 250, &CPreviewMainDlg::TimerProc);
}

void CPreviewMainDlg::MakeNextPreviewAhead() {
  m_timer3000 = ::SetTimer(m_hWnd, 3000, 20, &CPreviewMainDlg::TimerProc);
  // Nothing while a person waits for an answer: input first.
  if (HIWORD(::GetQueueStatus(QS_INPUT | QS_POSTMESSAGE))) return;
  const int count = static_cast<int>(m_sizes.size());
  for (int index : PrefetchOrder(count, m_selectedSizeIndex, 16)) {
    const ScreenSize& size = m_sizes[static_cast<size_t>(index)];
    const PreviewScale scale =
        ComputePreviewScale(m_current.width, m_current.height, size.width, size.height, m_current.dpi);
    const PixelSize scaled = BackgroundPreviewSize(m_current.width, m_current.height, scale);
    if (!m_backgroundScaled.Has(scaled.width, scaled.height)) {
      ScaledBackground(scaled);  // one a tick
      return;
    }
  }
  ::KillTimer(m_hWnd, m_timer3000);
  m_timer3000 = 0;
}

// --- mouse hook ----------------------------------------------------------------

CPreviewMainDlg* CPreviewMainDlg::FindRunningDialog() {
  HWND hwnd = ::FindWindowA(kDialogClass, kDialogTitle);
  return dynamic_cast<CPreviewMainDlg*>(CWnd::FromHandlePermanent(hwnd));
}

LRESULT CALLBACK CPreviewMainDlg::MouseHookProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && code != HC_NOREMOVE) {
    CPreviewMainDlg* self = FindRunningDialog();
    const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
    if (self && info) {
      if (wParam == WM_LBUTTONUP) self->OnHookButtonUp(info->pt);
      else if (wParam == WM_MOUSEMOVE) self->OnHookMouseMove(info->pt);
    }
  }
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

void CPreviewMainDlg::OnHookButtonUp(POINT cursor) {
  HWND under = ::WindowFromPoint(cursor);
  static const int sliders[] = {ids::kPresetSmall, ids::kPresetMedium, ids::kPresetLarge,
                                ids::kResolutionThumb, ids::kPictureSizeThumb};
  for (int id : sliders) {
    if (under && under == GetDlgItem(id)) {
      m_previewRefreshToggle = 0;
      m_previewRebuildRequest = 0;
      return;
    }
  }
  HWND focus = ::GetFocus();
  static const int keys[] = {ids::kRedKey, ids::kGreenKey, ids::kYellowKey, ids::kBlueKey};
  for (int id : keys) {
    if (focus && focus == GetDlgItem(id) && under != focus) {
      m_previewRefreshToggle = 0;
      m_previewRebuildRequest = 0;
      ::SetFocus(m_hWnd);
      return;
    }
  }
  m_previewRefreshToggle = 1;
  m_previewRebuildRequest = 1;
}

void CPreviewMainDlg::OnHookMouseMove(POINT cursor) {
  if (m_previewRebuildRequest) return;
  RECT preview{};
  ::GetWindowRect(GetDlgItem(ids::kPreviewPicture), &preview);
  if (!PreviewOffScreen(preview.left, preview.top, preview.right, preview.bottom, m_current.width,
                        m_current.height))
    return;
  if (MovedFarEnough(cursor.x, cursor.y, m_lastCursor.x, m_lastCursor.y)) {
    m_lastCursor = cursor;
    m_previewRebuildRequest = 1;
    m_previewRefreshToggle = 1;
  }
}
