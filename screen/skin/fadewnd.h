// CFadeWnd: dims the main dialog while a question is open. It takes a picture of
// the screen under the dialog, lays a window of the dialog's shape over it,
// disables the dialog, and on a worker thread fades the picture towards dark
// grey. Deleting it ends the fade and gives the dialog back, enabled and focused.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "fade_core.h"
#include "thread.h"
#include "wnd.h"

class CGeneralMsgBox;

// Posted by the question box once it is up: starts the fade.
constexpr UINT WM_FADE_START = 0x2B10;

class CFadeWnd : public CWnd {
 public:
  // Creates the fade over `parent` when it is a window (see CreateFade).
  explicit CFadeWnd(HWND parent);
  ~CFadeWnd() override;

  // Creates the fade window over `rect` (screen coordinates; empty: the parent's
  // window rectangle). False when the parent is not a window, the display works
  // with a palette, or the window cannot be made.
  bool CreateFade(HWND parent, const RECT& rect);
  // The question box shown over this window, kept on top of it.
  void SetMessageBox(CGeneralMsgBox* box) { m_messageBox = box; }

  // For tests: the fade has shown its last level; the parent it disabled.
  bool FadeDone() const { return ::InterlockedCompareExchange(&m_fadeDone, 0, 0) != 0; }
  HWND DisabledParent() const { return m_disabledParent; }
  int StepPercent() const { return static_cast<int>(::InterlockedCompareExchange(&m_stepPercent, 0, 0)); }

 protected:
  const MessageMap* GetMessageMap() const override;

 private:
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnMouseActivate(WPARAM, LPARAM);
  LRESULT OnActivate(WPARAM, LPARAM);
  LRESULT OnFadeStart(WPARAM, LPARAM);

  bool TakeSnapshot(const RECT& rect);
  void ShowLevel(int levelPercent);
  static UINT FadeThread(LPVOID self);
  void RunFade();

  CWnd m_hiddenOwner;  // invisible popup that owns the fade window
  HWND m_disabledParent = nullptr;  // not owned
  CGeneralMsgBox* m_messageBox = nullptr;  // not owned

  // The snapshot and the picture at the current level, 32-bit pixels, top row
  // first. The fade thread writes the picture while the window may be painting
  // it, so both go through the lock; neither is freed before the thread has ended.
  int m_width = 0, m_height = 0;
  std::vector<std::uint32_t> m_snapshot;
  std::vector<std::uint32_t> m_picture;
  CCriticalSection m_pictureLock;
  fade::ToneTable m_toneTable;

  CWorkerThread m_fadeThread;
  HANDLE m_stopRequest = nullptr;  // manual-reset event, owned
  mutable LONG m_fadeDone = 0;     // written by the fade thread
  mutable LONG m_stepPercent = 0;  // written by the fade thread
};
