#include "fadewnd.h"

#include <mmsystem.h>

#include <cstring>
#include <iterator>

#include "generalmsgbox.h"
#include "latebound.h"
#include "winapp.h"

namespace {

const char kFadeClass[] = "FadeWnd";

// The multimedia clock, bound by the first fade rather than at the program's
// start; the tick count stands in should it be missing.
DWORD Milliseconds() {
  static const auto now = LateBound<decltype(&::timeGetTime)>("winmm.dll", "timeGetTime");
  return now ? now() : ::GetTickCount();
}

bool RegisterFadeClass() {
  HINSTANCE instance = ::GetModuleHandleA(nullptr);
  WNDCLASSA existing;
  if (::GetClassInfoA(instance, kFadeClass, &existing)) return true;
  WNDCLASSA wc{};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = instance;
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kFadeClass;  // no brush: the window paints all of itself
  return ::RegisterClassA(&wc) != 0;
}

BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

CFadeWnd::CFadeWnd(HWND parent)
    : m_toneTable(fade::MakeToneTable(fade::kTargetColour, fade::kStartColour)) {
  RegisterFadeClass();
  m_stopRequest = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
  if (parent && ::IsWindow(parent)) CreateFade(parent, RECT{});
}

CFadeWnd::~CFadeWnd() {
  if (m_fadeThread.Handle()) {
    if (m_stopRequest) ::SetEvent(m_stopRequest);
    // The thread touches no window but through InvalidateRect, which never waits
    // for this thread: a plain wait cannot deadlock.
    m_fadeThread.Join();
    m_fadeThread.Close();
  }
  if (m_stopRequest) ::CloseHandle(m_stopRequest);
  m_stopRequest = nullptr;

  if (m_disabledParent && ::IsWindow(m_disabledParent)) {
    ::EnableWindow(m_disabledParent, TRUE);
    ::SetFocus(m_disabledParent);
  }
  if (m_hWnd) DestroyWindow();
  if (m_hiddenOwner.m_hWnd) m_hiddenOwner.DestroyWindow();
}

const MessageMap* CFadeWnd::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      OnMessage(WM_PAINT, &CFadeWnd::OnPaint),
      OnMessage(WM_MOUSEACTIVATE, &CFadeWnd::OnMouseActivate),
      OnMessage(WM_ACTIVATE, &CFadeWnd::OnActivate),
      OnMessage(WM_FADE_START, &CFadeWnd::OnFadeStart),
  };
  static const MessageMap map{CWnd::GetMessageMap(), entries, std::size(entries)};
  return &map;
}

bool CFadeWnd::CreateFade(HWND parent, const RECT& requested) {
  if (m_hWnd || !parent || !::IsWindow(parent)) return false;
  {
    HDC screen = ::GetDC(nullptr);
    const bool palette = screen && (::GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE);
    if (screen) ::ReleaseDC(nullptr, screen);
    if (palette) return false;  // a faded picture would need a palette of its own
  }
  RECT rect = requested;
  if (::IsRectEmpty(&rect)) ::GetWindowRect(parent, &rect);

  // The picture first: once the fade window is up it would be in it.
  TakeSnapshot(rect);

  if (!m_hiddenOwner.m_hWnd) {
    CWinApp* app = AfxGetApp();
    HWND owner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : parent;
    // An owned, never shown popup: it keeps the fade window off the task bar.
    m_hiddenOwner.CreateEx(0, kFadeClass, "", WS_POPUP, RECT{}, owner, 0);
  }
  char title[256] = "";
  ::GetWindowTextA(parent, title, sizeof title);
  HWND owner = m_hiddenOwner.m_hWnd ? m_hiddenOwner.m_hWnd : parent;
  if (!CreateEx(0, kFadeClass, title, WS_POPUP, rect, owner, 0)) return false;

  if (parent != ::GetDesktopWindow()) {
    m_disabledParent = parent;
    ::EnableWindow(parent, FALSE);
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    if (shape && ::GetWindowRgn(parent, shape) != ERROR) {
      ::SetWindowRgn(m_hWnd, shape, FALSE);  // the system owns it from here
    } else if (shape) {
      ::DeleteObject(shape);
    }
  }
  ShowLevel(0);
  // Shown only now, with its shape and its first picture: never an empty frame.
  ::ShowWindow(m_hWnd, SW_SHOWNOACTIVATE);
  ::UpdateWindow(m_hWnd);
  return true;
}

bool CFadeWnd::TakeSnapshot(const RECT& rect) {
  const int width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = ::CreateDCA("DISPLAY", nullptr, nullptr, nullptr);
  if (!screen) return false;
  bool taken = false;
  HDC memory = ::CreateCompatibleDC(screen);
  BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  HBITMAP dib = memory ? ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
  if (dib && bits) {
    HGDIOBJ previous = ::SelectObject(memory, dib);
    if (::BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY)) {
      ::GdiFlush();
      const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
      const auto* pixels = static_cast<const std::uint32_t*>(bits);
      CSingleLock lock(m_pictureLock);
      m_snapshot.assign(pixels, pixels + count);
      m_picture.assign(count, 0);
      m_width = width;
      m_height = height;
      taken = true;
    }
    ::SelectObject(memory, previous);
  }
  if (dib) ::DeleteObject(dib);
  if (memory) ::DeleteDC(memory);
  ::DeleteDC(screen);
  return taken;
}

void CFadeWnd::ShowLevel(int levelPercent) {
  {
    CSingleLock lock(m_pictureLock);
    if (m_snapshot.empty()) return;
    fade::FadePixels(m_snapshot.data(), m_picture.data(), m_snapshot.size(), levelPercent,
                     m_toneTable);
  }
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

LRESULT CFadeWnd::OnPaint(WPARAM, LPARAM) {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  if (dc) {
    CSingleLock lock(m_pictureLock);
    if (!m_picture.empty()) {
      const BITMAPINFO info = TopDownInfo(m_width, m_height);
      ::StretchDIBits(dc, 0, 0, m_width, m_height, 0, 0, m_width, m_height, m_picture.data(),
                      &info, DIB_RGB_COLORS, SRCCOPY);
    }
  }
  ::EndPaint(m_hWnd, &ps);
  return 0;
}

// A click on the backdrop must not take the keyboard from the question.
LRESULT CFadeWnd::OnMouseActivate(WPARAM, LPARAM) { return MA_NOACTIVATE; }

LRESULT CFadeWnd::OnActivate(WPARAM, LPARAM) {
  const LRESULT result = Default();
  if (m_messageBox && ::IsWindow(m_messageBox->m_hWnd)) ::BringWindowToTop(m_messageBox->m_hWnd);
  return result;
}

LRESULT CFadeWnd::OnFadeStart(WPARAM, LPARAM) {
  if (!m_fadeThread.Handle() && m_stopRequest) m_fadeThread.Start(&CFadeWnd::FadeThread, this);
  return 0;
}

UINT CFadeWnd::FadeThread(LPVOID self) {
  static_cast<CFadeWnd*>(self)->RunFade();
  return 0;
}

void CFadeWnd::RunFade() {
  int level = 0, step = 0;
  for (;;) {
    if (::WaitForSingleObject(m_stopRequest, 0) == WAIT_OBJECT_0) return;
    const DWORD t0 = Milliseconds();
    ShowLevel(level);
    if (step == 0) {
      step = fade::StepPercent(Milliseconds() - t0);
      ::InterlockedExchange(&m_stepPercent, step);
    }
    level += step;
    if (level >= 100) break;
    // A step quicker than its share of the fade waits for the rest, so the fade
    // lasts about as long on a fast machine as on a slow one; a stop ends the wait.
    const DWORD spent = Milliseconds() - t0, slot = fade::StepSlotMs(step);
    if (spent < slot && ::WaitForSingleObject(m_stopRequest, slot - spent) == WAIT_OBJECT_0) return;
  }
  ::InterlockedExchange(&m_fadeDone, 1);
}
