#include "screenhelperdlg.h"

#include <iterator>

#include "broadcast.h"
#include "registry_dpi.h"
#include "resource.h"

namespace {

// Answered so that the hardware libraries' broadcasts find every window of the
// suite listening, and otherwise ignored.
const UINT g_broadcastMessage = broadcast::RegisterMessageW();

// The watcher's wake-up event, under the name it has always had.
const wchar_t kChangeEventName[] = L"RegMonitorChange";

// Every value and subkey under the request key, any change of data or attributes.
const DWORD kWatchFilter = REG_NOTIFY_CHANGE_ATTRIBUTES | REG_NOTIFY_CHANGE_LAST_SET;

// How often a deleted request key is looked for again.
const DWORD kReopenIntervalMs = 1000;

HKEY OpenForNotify(const wchar_t* path) {
  HKEY key = nullptr;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_NOTIFY | KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return key;
}

bool Arm(HKEY key, HANDLE event) {
  return ::RegNotifyChangeKeyValue(key, TRUE, kWatchFilter, event, TRUE) == ERROR_SUCCESS;
}

// Subkeys made or removed directly under the parent.
bool ArmParent(HKEY parent, HANDLE event) {
  return ::RegNotifyChangeKeyValue(parent, FALSE, REG_NOTIFY_CHANGE_NAME, event, TRUE) ==
         ERROR_SUCCESS;
}

// False once the key behind the handle has been deleted.
bool StillThere(HKEY key) {
  return ::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// LOGPIXELSY of the display; 0 when no display context can be had.
DWORD MeasureDpi() {
  HDC dc = ::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  if (!dc) return 0;
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSY);
  ::DeleteDC(dc);
  return dpi > 0 ? static_cast<DWORD>(dpi) : 0;
}

}  // namespace

CScreenHelperDlg::CScreenHelperDlg()
    : CDialog(IDD_SCREENHELPER_DIALOG),
      m_hIcon(::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CScreenHelperDlg::~CScreenHelperDlg() { StopWatching(); }

const MessageMap* CScreenHelperDlg::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      OnMessage(WM_WINDOWPOSCHANGING, &CScreenHelperDlg::OnWindowPosChanging),
      OnMessage(WM_PAINT, &CScreenHelperDlg::OnPaint),
      OnMessage(WM_QUERYDRAGICON, &CScreenHelperDlg::OnQueryDragIcon),
      OnMessage(WM_DESTROY, &CScreenHelperDlg::OnDestroy),
      OnRegisteredMessage(&g_broadcastMessage, &CScreenHelperDlg::OnBroadcast),
  };
  static const MessageMap map{CDialog::GetMessageMap(), entries, std::size(entries)};
  return &map;
}

BOOL CScreenHelperDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  SendMessage(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessage(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));

  // Announce the DPI in force; this also withdraws any earlier request.
  if (!m_rangeReg) {
    m_rangeReg = std::make_unique<DwordReg>(HKEY_CURRENT_USER, dpireg::kRequestKeyW,
                                            dpireg::kRequestValueW);
  }
  if (const DWORD dpi = MeasureDpi()) {
    m_currentDpi = dpi;
    m_rangeReg->Write(m_currentDpi);
  }

  m_hStopEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (m_hStopEvent) m_watchThread.Start(&CScreenHelperDlg::WatchThread, this);
  // No focus for a window nobody sees: the user's foreground window keeps it.
  return FALSE;
}

LRESULT CScreenHelperDlg::OnWindowPosChanging(WPARAM, LPARAM lParam) {
  const LRESULT result = Default();
  if (auto* pos = reinterpret_cast<WINDOWPOS*>(lParam)) {
    // Whoever tries to show the dialog (the dialog manager, the modal run), it
    // stays hidden and does not take the activation from the user's window.
    if (pos->flags & SWP_SHOWWINDOW) pos->flags = (pos->flags & ~SWP_SHOWWINDOW) | SWP_NOACTIVATE;
  }
  return result;
}

LRESULT CScreenHelperDlg::OnPaint(WPARAM, LPARAM) {
  if (!::IsIconic(m_hWnd)) return Default();
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  const int x = (client.right - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
  ::DrawIcon(dc, x, y, m_hIcon);
  ::EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT CScreenHelperDlg::OnQueryDragIcon(WPARAM, LPARAM) {
  return reinterpret_cast<LRESULT>(m_hIcon);
}

LRESULT CScreenHelperDlg::OnBroadcast(WPARAM, LPARAM) { return 0; }

LRESULT CScreenHelperDlg::OnDestroy(WPARAM, LPARAM) {
  const LRESULT result = Default();
  StopWatching();
  m_logPixelsReg.reset();
  m_rangeReg.reset();
  return result;
}

void CScreenHelperDlg::StopWatching() {
  if (m_hStopEvent) ::SetEvent(m_hStopEvent);
  m_watchThread.Join();
  m_watchThread.Close();
  if (m_hStopEvent) ::CloseHandle(m_hStopEvent);
  m_hStopEvent = nullptr;
}

UINT CScreenHelperDlg::WatchThread(LPVOID dialog) {
  static_cast<CScreenHelperDlg*>(dialog)->Watch();
  return 0;
}

void CScreenHelperDlg::Watch() {
  HKEY key = OpenForNotify(dpireg::kRequestKeyW);
  if (!key) return;  // the program runs on without watching
  HANDLE change = ::CreateEventW(nullptr, TRUE, FALSE, kChangeEventName);
  if (!change) {
    ::RegCloseKey(key);
    return;
  }
  // Not every system wakes a watch when its key is deleted (Wine does not); the
  // parent sees the removal as a change of its subkeys' names.
  HANDLE parentChange = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HKEY parent = nullptr;
  auto watchParent = [&] {
    if (parent) ::RegCloseKey(parent);
    parent = parentChange ? OpenForNotify(dpireg::kRequestParentKeyW) : nullptr;
    if (parent) ArmParent(parent, parentChange);
  };
  watchParent();
  const HANDLE waits[] = {m_hStopEvent, change, parentChange};
  const DWORD waitCount = parentChange ? 3 : 2;

  bool armed = Arm(key, change);
  while (armed) {
    const DWORD woke = ::WaitForMultipleObjects(waitCount, waits, FALSE, INFINITE);
    if (woke == WAIT_OBJECT_0 + 2) {
      ::ResetEvent(parentChange);
      if (parent) ArmParent(parent, parentChange);
      if (StillThere(key)) continue;  // some other subkey came or went
    } else if (woke != WAIT_OBJECT_0 + 1) {
      break;  // stopped
    }
    // Arm again before reading: a change made while this one is copied wakes the
    // next round, so the last request always reaches the machine-wide value.
    ::ResetEvent(change);
    armed = StillThere(key) && Arm(key, change);
    if (!armed) {
      // The key was deleted under the watch. The next request makes it again:
      // look for it now and then, and copy what was requested with it.
      ::RegCloseKey(key);
      key = WaitForWatchedKey();
      if (!key) break;
      watchParent();
      armed = Arm(key, change);  // failing again ends the watch after this copy
    }
    CopyRequest();
  }
  if (key) ::RegCloseKey(key);
  if (parent) ::RegCloseKey(parent);
  if (parentChange) ::CloseHandle(parentChange);
  ::CloseHandle(change);
}

HKEY CScreenHelperDlg::WaitForWatchedKey() const {
  HKEY key = nullptr;
  while (!key && ::WaitForSingleObject(m_hStopEvent, kReopenIntervalMs) == WAIT_TIMEOUT) {
    key = OpenForNotify(dpireg::kRequestKeyW);
  }
  return key;
}

void CScreenHelperDlg::CopyRequest() {
  if (!m_logPixelsReg) {
    m_logPixelsReg = std::make_unique<DwordReg>(HKEY_LOCAL_MACHINE, dpireg::kSystemKeyW,
                                                dpireg::kSystemValueW);
  }
  DWORD dpi = 0;
  if (!m_rangeReg || !m_rangeReg->TryRead(dpi)) return;  // no request: nothing to copy
  m_currentDpi = dpi;
  // Any user may write the request, and the machine-wide value applies to every
  // account after the next start: a DPI no display can use is never copied.
  if (!dpireg::IsUsableDpi(dpi)) return;
  m_logPixelsReg->Write(dpi);  // a failed write is tried again at the next change
}
