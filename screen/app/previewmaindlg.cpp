// The main dialog's construction, initialisation, destruction, pages, keys and
// keyboard.
#include "previewmaindlg.h"

#include <cstdio>
#include <cstring>

#include "broadcast.h"
#include "contour.h"
#include "generalmsgbox.h"
#include "images.h"
#include "language.h"
#include "startup_phases.h"
#include "tvpicture.h"
#include "winapp.h"

UINT g_broadcastMessage = broadcast::RegisterMessageW();

namespace {
// GDI+ runs while the main dialog lives; null when it does not run.
std::unique_ptr<GdiplusRuntime> g_gdiplus;

}  // namespace

CPreviewMainDlg::CPreviewMainDlg() : CSkinnedDialog(ids::kDialog) {
  StartPreparingSizes();
  // The skin thread starts GDI+ before its first picture: loading the decoder
  // then costs the window's thread nothing.
  if (!g_gdiplus) g_gdiplus = std::make_unique<GdiplusRuntime>();
  ::GetModuleFileNameA(nullptr, m_programFolder, MAX_PATH);
  if (char* slash = std::strrchr(m_programFolder, '\\')) slash[1] = '\0';
  // The language is known before the skin thread starts: it picks the preview's
  // dialog picture (right to left for Arabic).
  LoadLanguageLibrary();
  StartPreparing(g_gdiplus.get());

  WaitForDisplaySetUp();
  m_icon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(ids::kIcon));
  for (int i = 0; i < kSkinnedButtonCount; ++i) m_buttons[i] = std::make_unique<CxSkinButton>(this);
  for (auto& piece : m_pieces) piece = std::make_unique<CContourBitmap>();
  // Pages 2 and 3 are never the first: their controls are made when first shown.
  MakeControlsLater({std::begin(ids::kFavouritePages), std::end(ids::kFavouritePages)});
  ::GetCursorPos(&m_lastCursor);
  startup_phases::MarkEnd("dialog object");
}

CPreviewMainDlg::~CPreviewMainDlg() {
  ForgetPrepared();
  // A dialog whose window was never made still holds what the skin thread read
  // for its first preview.
  ReleasePreviewPictures();
}

const MessageMap* CPreviewMainDlg::GetMessageMap() const {
  using D = CPreviewMainDlg;
  static const MessageMapEntry entries[] = {
      OnMessage(WM_PAINT, &D::OnPaint),
      OnMessage(WM_QUERYDRAGICON, &D::OnQueryDragIcon),
      OnMessage(WM_ERASEBKGND, &D::OnEraseBkgnd),
      OnMessage(WM_DESTROY, &D::OnDestroy),
      OnMessage(WM_LBUTTONDOWN, &D::OnLButtonDown),
      OnMessage(WM_SETCURSOR, &D::OnSetCursor),
      OnMessage(WM_HSCROLL, &D::OnHScroll),
      OnCommandId(BN_CLICKED, ids::kEndAsOk, &D::OnEndAsOk),
      OnCommandId(BN_CLICKED, ids::kRedKey, &D::OnRedKey),
      OnCommandId(BN_CLICKED, ids::kGreenKey, &D::OnGreenKey),
      OnCommandId(BN_CLICKED, ids::kYellowKey, &D::OnYellowKey),
      OnCommandId(BN_CLICKED, ids::kBlueKey, &D::OnBlueKey),
      OnCommandRange(BN_CLICKED, ids::kSlot1, ids::kSlot6, &D::OnSlot),
      OnCommandRange(BN_CLICKED, ids::kQuickApply[0], ids::kQuickApply[0], &D::OnQuickApply),
      OnCommandRange(BN_CLICKED, ids::kQuickApply[1], ids::kQuickApply[5], &D::OnQuickApply),
      OnCommandId(BN_CLICKED, ids::kPresetSmall, &D::OnPresetKey),
      OnCommandId(BN_CLICKED, ids::kPresetMedium, &D::OnPresetKey),
      OnCommandId(BN_CLICKED, ids::kPresetLarge, &D::OnPresetKey),
      OnRegisteredMessage(&g_broadcastMessage, &D::OnBroadcast),
      OnMessage(WM_SYSCOMMAND, &D::OnSysCommand),
      OnMessage(WM_WINDOWPOSCHANGING, &D::OnWindowPosChanging),
  };
  static const MessageMap map{CSkinnedDialog::GetMessageMap(), entries, std::size(entries)};
  return &map;
}

void CPreviewMainDlg::DoDataExchange(CDataExchange* dx) {
  CSkinnedDialog::DoDataExchange(dx);
  for (int i = 0; i < kSkinnedButtonCount; ++i) DDX_Control(dx, kSkinnedButtons[i].id, *m_buttons[i]);
}

BOOL CPreviewMainDlg::OnInitDialog() {
  CSkinnedDialog::OnInitDialog();
  ::SetWindowLongA(m_hWnd, GWL_ID, ids::kDialog);
  ::SetWindowLongA(m_hWnd, GWL_STYLE,
                   ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
  // The small one first: a big icon given alone is first copied to the small size.
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_icon));
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_icon));
  startup_phases::MarkEnd("template, controls");

  // The dialog chooses its cursor itself (WM_SETCURSOR).
  ::SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, 0);
  m_arrowCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  m_handCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(ids::kHandCursor));
  ::SetCursor(m_arrowCursor);

  ::SetWindowTextA(m_hWnd, "Pio Screen Setting");
  ::SetWindowLongA(m_hWnd, GWL_EXSTYLE, ::GetWindowLongA(m_hWnd, GWL_EXSTYLE) | WS_EX_WINDOWEDGE);

  SIZE frame{1024, 576};
  TakePreparedPieces();
  // The first background piece is the frame: it gives the window's size.
  if (!m_pieces[0]->GetSafeHandle()) m_pieces[0]->LoadBitmap(kBackgroundPieces[0].bitmapId);
  if (m_pieces[0]->GetSafeHandle()) frame = m_pieces[0]->GetSize();
  // Sized and centred at once while still hidden: the modal run shows the dialog
  // when its initialisation is over and paints it at once, so that the first
  // frame anybody sees is the finished one, in its place, on its page.
  RECT work{};
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  ::SetWindowPos(m_hWnd, nullptr, work.left + ((work.right - work.left) - frame.cx) / 2,
                 work.top + ((work.bottom - work.top) - frame.cy) / 2, frame.cx, frame.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  startup_phases::MarkEnd("size, centre");
  SetUpSkin();
  startup_phases::MarkEnd("skinned buttons");

  // Read, and the size list enumerated, while the window was made (the driver's
  // list is slow to walk, and finding the file loads the shell).
  if (m_sizesPrepared) ::WaitForSingleObject(m_sizesPrepared, INFINITE);
  std::snprintf(m_configPath, sizeof m_configPath, "%s", m_preparedFavourites.path.c_str());
  m_favourites = std::make_unique<ScreenConfigRecord>(m_preparedFavourites.record);
  startup_phases::MarkEnd("favourites");

  m_sizes.clear();
  m_sizes = std::move(m_preparedSizes);
  if (m_sizes.empty()) m_sizes = BuildDisplaySizeList();

  ReadCurrentDisplayMode(m_current, true);
  m_scale = InitialPreviewScale(m_current.width, m_current.height);
  startup_phases::MarkEnd("size list, mode in force");

  m_tvPicture = std::make_unique<TvPictureAdjustment>();
  m_tvPicture->Start();
  m_noPictureAdjust = m_tvPicture->Adjustable() ? 0 : 1;
  startup_phases::MarkEnd("TV library");

  NudgeBottomRowForLanguage();
  CreateFonts();
  // The preview is built by the first paint, which finds the rebuild request set
  // and needs the scale factors of the selection anyway: building it here too
  // would make every start pay for it twice.
  DeletePreviewBitmaps();
  startup_phases::MarkEnd("fonts");

  SetUpSliders();

  SwitchToPage(m_noPictureAdjust ? 4 : 1);
  // Where the first paint would put them: the dialog is shown finished.
  if (m_page == 4) PlaceResolutionThumb();
  if (m_page == 1) PlacePictureSizeThumb();
  startup_phases::MarkEnd("sliders, page");

  m_timer1000 = ::SetTimer(m_hWnd, 1000, 10, &CPreviewMainDlg::TimerProc);
  m_timer2000 = ::SetTimer(m_hWnd, 2000, m_timer2000Period, &CPreviewMainDlg::TimerProc);
  m_mouseHook = ::SetWindowsHookExW(WH_MOUSE, &CPreviewMainDlg::MouseHookProc, nullptr,
                                    ::GetWindowThreadProcessId(m_hWnd, nullptr));
  startup_phases::MarkEnd("timers, hook");
  return TRUE;
}

LRESULT CPreviewMainDlg::OnDestroy(WPARAM, LPARAM) {
  Default();
  if (m_timer1000) ::KillTimer(m_hWnd, m_timer1000);
  if (m_timer2000) ::KillTimer(m_hWnd, m_timer2000);
  if (m_timer3000) ::KillTimer(m_hWnd, m_timer3000);
  m_timer1000 = m_timer2000 = m_timer3000 = 0;
  if (m_mouseHook) ::UnhookWindowsHookEx(m_mouseHook);
  m_mouseHook = nullptr;

  UnloadLanguageLibrary();
  if (m_tvPicture) m_tvPicture->Stop();

  // The buttons' windows are still there: unbind them before their objects go.
  for (auto& button : m_buttons) button.reset();
  for (auto& piece : m_pieces) piece.reset();

  ReleasePreviewPictures();  // while the decoder still runs
  if (g_gdiplus) {
    g_gdiplus->Stop();
    g_gdiplus.reset();
  }
  m_favourites.reset();
  m_captionFont.DeleteObject();
  m_labelFont.DeleteObject();
  m_previewFont.DeleteObject();
  m_sizes.clear();
  return 0;
}

LRESULT CPreviewMainDlg::OnQueryDragIcon(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_icon);
}

LRESULT CPreviewMainDlg::OnEndAsOk(WPARAM, LPARAM) {
  OnOK();
  return 0;
}

// --- pages -----------------------------------------------------------------

Favourites CPreviewMainDlg::FavouriteSlots() const {
  Favourites f;
  if (!m_favourites) return f;
  f.count = m_favourites->count;
  for (int i = 0; i < 6; ++i) f.used[i] = m_favourites->width[i] > 0;
  return f;
}

void CPreviewMainDlg::SwitchToPage(int page) {
  if (page == m_page) return;
  if (page == 2 || page == 3) MakeFavouriteControls();
  m_page = page;
  m_saved = SaveState::None;
  for (int id : ids::kQuickApply) ::ShowWindow(GetDlgItem(id), SW_HIDE);

  const PageControls c = DecidePageControls(page, m_noPictureAdjust != 0, FavouriteSlots());
  auto show = [this](int id, bool visible) { ::ShowWindow(GetDlgItem(id), visible ? SW_SHOW : SW_HIDE); };
  show(ids::kPage1Text, c.page1Controls);
  show(ids::kPictureSizeThumb, c.page1Controls);
  for (int i = 0; i < 6; ++i) show(ids::kSlot1 + i, c.slots);
  show(ids::kResolutionCaption, c.page4Controls);
  show(ids::kResolutionThumb, c.page4Controls);
  for (int id : ids::kPresets) show(id, c.page4Controls);
  show(ids::kDpiCaption, false);
  show(ids::kDpiThumb, false);

  for (int i = 0; i < 6; ++i) ::EnableWindow(GetDlgItem(ids::kSlot1 + i), c.slotEnabled[i]);
  ::EnableWindow(GetDlgItem(ids::kGreenKey), c.greenEnabled);
  ::EnableWindow(GetDlgItem(ids::kYellowKey), c.yellowEnabled);
  ::EnableWindow(GetDlgItem(ids::kRedKey), c.redEnabled);

  UpdateGreenKey();
  SetDefaultFocus();
  if (page == 2 || page == 3) SetSlotCaptions(page == 2);
}

void CPreviewMainDlg::UpdateGreenKey() {
  if (m_page != 4) return;
  const ScreenSize* selected = SizeAt(m_sizes, m_selectedSizeIndex);
  if (!selected) return;
  ::EnableWindow(GetDlgItem(ids::kGreenKey),
                 GreenEnabledOnPage4(selected->width, selected->height, m_current.width,
                                     m_current.height, m_dpiChoice, m_current.dpi));
}

void CPreviewMainDlg::FocusControl(HWND control) {
  if (!control) return;
  ActivateWindow(control);
  ::SetFocus(control);
}

void CPreviewMainDlg::SetDefaultFocus() {
  bool enabled[6];
  for (int i = 0; i < 6; ++i) enabled[i] = IsEnabled(ids::kSlot1 + i);
  const DefaultFocus focus = DecideDefaultFocus(m_page, m_dpiPreset, enabled);
  if (focus.previewKind >= 0) m_previewKind = focus.previewKind;
  FocusControl(focus.controlId ? GetDlgItem(focus.controlId) : m_hWnd);
}

void CPreviewMainDlg::RepaintWhole() {
  ++m_fullRepaints;
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

void CPreviewMainDlg::RepaintRightPanel() {
  const RECT panel{kRightPanel.x, kRightPanel.y, kRightPanel.right(), kRightPanel.bottom()};
  ::RedrawWindow(m_hWnd, &panel, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// --- keys --------------------------------------------------------------------

LRESULT CPreviewMainDlg::OnRedKey(WPARAM, LPARAM) {
  if (!IsEnabled(ids::kRedKey)) return 0;
  m_previewRefreshToggle = 1;
  if (m_page == 2) SwitchToPage(m_noPictureAdjust ? 4 : 1);
  else if (m_page == 3) SwitchToPage(4);
  else if (m_page == 4) SwitchToPage(3);
  m_previewRebuildRequest = 0;
  RepaintWhole();
  return 0;
}

LRESULT CPreviewMainDlg::OnGreenKey(WPARAM, LPARAM) {
  if (!IsEnabled(ids::kGreenKey)) return 0;
  m_previewRefreshToggle = 1;
  if (m_page == 1) {
    SwitchToPage(2);
  } else if (m_page == 3) {
    ApplySettings();
    FocusControl(m_hoveredSlot >= 0 ? GetDlgItem(m_hoveredSlot) : m_hWnd);
  } else if (m_page == 4) {
    ApplySettings();
    if (m_previewKind == 1) FocusControl(GetDlgItem(ids::kResolutionThumb));
  }
  m_previewRebuildRequest = 0;
  RepaintWhole();
  return 0;
}

LRESULT CPreviewMainDlg::OnYellowKey(WPARAM, LPARAM) {
  if (!IsEnabled(ids::kYellowKey)) return 0;
  m_previewRefreshToggle = 1;
  if (m_page == 1) {
    SwitchToPage(4);
  } else if (m_page == 2) {
    if (!m_noPictureAdjust) {
      SwitchToPage(4);
      RepaintWhole();
    }
    return 0;
  } else if (m_page == 3 || m_page == 4) {
    SwitchToPage(m_noPictureAdjust ? 2 : 1);
  }
  m_previewRebuildRequest = 0;
  RepaintWhole();
  return 0;
}

LRESULT CPreviewMainDlg::OnBlueKey(WPARAM, LPARAM) {
  AskToExit();
  return 0;
}

void CPreviewMainDlg::AskToExit() {
  // A key or a broadcast can arrive while the question is open: one at a time.
  if (!IsEnabled(ids::kBlueKey) || m_exitQuestionOpen) return;
  m_exitQuestionOpen = 1;
  if (AskOverFade(m_hWnd, "Are you sure to exit ?") == IDOK) {
    OnOK();  // the program ends with the dialog
    return;
  }
  m_previewRebuildRequest = 0;
  if (m_timer2000) ::KillTimer(m_hWnd, m_timer2000);
  RestartTimer1000(m_timer1000RestartPeriod);
  m_timer2000 = ::SetTimer(m_hWnd, 2000, m_timer2000Period, &CPreviewMainDlg::TimerProc);
  m_exitQuestionOpen = 0;
}

LRESULT CPreviewMainDlg::OnPresetKey(WPARAM wParam, LPARAM) {
  for (int p = 0; p < 3; ++p)
    if (ids::kPresets[p] == LOWORD(wParam)) SelectPreset(p);
  return 0;
}

void CPreviewMainDlg::SelectSizeAndDpi(int width, int height, double dpi) {
  const int index = FindSize(m_sizes, width, height);
  if (index >= 0) {
    m_selectedSizeIndex = index;
    ::SetScrollPos(m_resolutionScroll, SB_CTL, index, TRUE);
  }
  m_dpiChoice = ChoiceOfDpi(dpi);
  ::SetScrollPos(m_dpiScroll, SB_CTL, m_dpiChoice, TRUE);
  m_previewRebuildRequest = 1;
}

void CPreviewMainDlg::SelectPreset(int preset) {
  if (preset < 0 || preset > 2) return;
  m_dpiPreset = preset;
  m_dpiChoice = kPresetChoices[preset];
  ::SetScrollPos(m_dpiScroll, SB_CTL, m_dpiChoice, TRUE);
  SetPresetLatches();
  RefreshPreview();
}

void CPreviewMainDlg::SetPresetLatches() {
  for (int p = 0; p < 3; ++p) {
    CxSkinButton* key = static_cast<CxSkinButton*>(CWnd::FromHandlePermanent(GetDlgItem(ids::kPresets[p])));
    if (!key) continue;
    key->m_selected = p == m_dpiPreset ? 1 : 0;
    key->Invalidate(FALSE);
  }
}

void CPreviewMainDlg::SelectDpiPreset(int preset) {
  if (preset != m_dpiPreset) SelectPreset(preset);
}

void CPreviewMainDlg::SetHoveredSizeButton(int id) {
  if (id >= ids::kSlot1 && id <= ids::kSlot6) m_hoveredSlot = id;
}

LRESULT CPreviewMainDlg::OnBroadcast(WPARAM wParam, LPARAM lParam) {
  // While a question is up the dialog waits disabled: a remote control presses
  // no key of it then, as a mouse cannot (no second question, no apply inside one).
  if (wParam != broadcast::kFamilyRemoteControl || !IsWindowEnabled()) return 0;
  int key = 0;
  switch (static_cast<std::uint32_t>(lParam)) {
    case broadcast::kRedKey: key = ids::kRedKey; break;
    case broadcast::kGreenKey: key = ids::kGreenKey; break;
    case broadcast::kYellowKey: key = ids::kYellowKey; break;
    case broadcast::kBlueKey: key = ids::kBlueKey; break;
    default: return 0;
  }
  if (IsEnabled(key)) SendMessage(WM_COMMAND, MAKEWPARAM(key, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(key)));
  return 0;
}

LRESULT CPreviewMainDlg::OnSysCommand(WPARAM wParam, LPARAM) {
  const bool altF4 = (::GetKeyState(VK_F4) & 0x8000) &&
                     ((::GetKeyState(VK_LMENU) & 0x8000) || (::GetKeyState(VK_RMENU) & 0x8000) ||
                      (::GetKeyState(VK_MENU) & 0x8000));
  if ((wParam & 0xFFF0) == SC_CLOSE && altF4) {
    AskToExit();
    return 0;
  }
  // Everything else, closing from the task bar included, as the system does it.
  return Default();
}

// The frame's title band, and how much of it must stay on the screen.
constexpr int kTitleBandHeight = 70;
constexpr int kTitleBandMinVisible = 120;

LRESULT CPreviewMainDlg::OnWindowPosChanging(WPARAM, LPARAM lParam) {
  auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
  if (pos && !(pos->flags & SWP_NOMOVE)) {
    RECT now{}, work{};
    ::GetWindowRect(m_hWnd, &now);
    const int width = (pos->flags & SWP_NOSIZE) ? now.right - now.left : pos->cx;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const WindowCorner corner = KeepTitleReachable(pos->x, pos->y, width, work.left, work.top,
                                                   work.right, work.bottom, kTitleBandHeight,
                                                   kTitleBandMinVisible);
    pos->x = corner.x;
    pos->y = corner.y;
  }
  return Default();
}

// --- keyboard ----------------------------------------------------------------

namespace {
bool IsNavigationKey(WPARAM key) {
  switch (key) {
    case VK_RETURN: case VK_ESCAPE: case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_NUMPAD2: case VK_NUMPAD4: case VK_NUMPAD6: case VK_NUMPAD8:
      return true;
    default:
      return false;
  }
}
}  // namespace

BOOL CPreviewMainDlg::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && IsNavigationKey(msg->wParam)) {
    ::TranslateMessage(msg);
    SendMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
    return TRUE;
  }
  return CDialog::PreTranslateMessage(msg);
}

BOOL CPreviewMainDlg::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_DISPLAYCHANGE) {
    OnDisplayChange(LOWORD(lParam), HIWORD(lParam), static_cast<int>(wParam));
  } else if (message == WM_KEYDOWN) {
    switch (wParam) {
      case VK_ESCAPE: AskToExit(); break;
      case VK_RETURN: Navigate(VK_RETURN); break;
      case VK_LEFT: case VK_NUMPAD4: Navigate(VK_LEFT); break;
      case VK_UP: case VK_NUMPAD8: Navigate(VK_UP); break;
      case VK_RIGHT: case VK_NUMPAD6: Navigate(VK_RIGHT); break;
      case VK_DOWN: case VK_NUMPAD2: Navigate(VK_DOWN); break;
      default: break;
    }
  }
  return CDialog::OnWndMsg(message, wParam, lParam, result);
}

void CPreviewMainDlg::Navigate(UINT key) {
  HWND focus = ::GetFocus();
  m_lastFocused = focus;
  m_navigationTarget = focus;
  const int focusId = focus && ::IsChild(m_hWnd, focus) ? ::GetDlgCtrlID(focus) : 0;

  if (m_page == 2 || m_page == 3) {
    if (key == VK_LEFT || key == VK_RIGHT) return;
    if (focusId >= ids::kSlot1 && focusId <= ids::kSlot6) {
      if (key == VK_UP) {
        for (int id = focusId - 1; id >= ids::kSlot1; --id)
          if (IsEnabled(id)) { m_navigationTarget = GetDlgItem(id); break; }
      } else if (key == VK_DOWN) {
        for (int id = focusId + 1; id <= ids::kSlot6; ++id)
          if (IsEnabled(id)) { m_navigationTarget = GetDlgItem(id); break; }
      }
    }
  }

  auto focusAndRepaint = [this](int id) {
    FocusControl(GetDlgItem(id));
    RepaintRightPanel();
  };
  auto green = [this] { SendMessage(WM_COMMAND, MAKEWPARAM(ids::kGreenKey, BN_CLICKED), 0); };
  auto toResolution = [&] {
    m_previewKind = 1;
    focusAndRepaint(ids::kResolutionThumb);
  };

  if (focusId >= ids::kSlot1 && focusId <= ids::kSlot6) {
    if (key == VK_RETURN) SendMessage(WM_COMMAND, MAKEWPARAM(focusId, BN_CLICKED), 0);
    else if (key == VK_DOWN) FocusControl(m_navigationTarget);
    else if (key == VK_UP && focusId != ids::kSlot1) FocusControl(m_navigationTarget);
    return;
  }
  switch (focusId) {
    case ids::kPresetSmall:
      if (key == VK_RETURN) green();
      else if (key == VK_RIGHT) { focusAndRepaint(ids::kPresetMedium); SelectPreset(1); }
      else if (key == VK_DOWN) toResolution();
      break;
    case ids::kPresetMedium:
      if (key == VK_RETURN) green();
      else if (key == VK_LEFT) { focusAndRepaint(ids::kPresetSmall); SelectPreset(0); }
      else if (key == VK_RIGHT) { focusAndRepaint(ids::kPresetLarge); SelectPreset(2); }
      else if (key == VK_DOWN) toResolution();
      break;
    case ids::kPresetLarge:
      if (key == VK_RETURN) green();
      else if (key == VK_LEFT) { focusAndRepaint(ids::kPresetMedium); SelectPreset(1); }
      else if (key == VK_DOWN) toResolution();
      break;
    case ids::kResolutionThumb:
      if (key == VK_RETURN) green();
      else if (key == VK_LEFT || key == VK_RIGHT)
        SendMessage(WM_HSCROLL, key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT,
                    reinterpret_cast<LPARAM>(m_resolutionScroll));
      else if (key == VK_UP) {
        m_previewKind = 0;
        if (m_dpiPreset >= 0) {
          focusAndRepaint(ids::kPresets[m_dpiPreset]);
        } else {
          focusAndRepaint(ids::kPresetSmall);
          SelectPreset(0);
        }
      }
      break;
    case ids::kPictureSizeThumb:
      if (key == VK_LEFT || key == VK_RIGHT)
        SendMessage(WM_HSCROLL, key == VK_LEFT ? SB_LINELEFT : SB_LINERIGHT,
                    reinterpret_cast<LPARAM>(m_pictureSizeScroll));
      break;
    default:
      break;
  }
}
