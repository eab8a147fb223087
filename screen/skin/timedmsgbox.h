// The timed question: the general message box over a fade window, with a
// countdown line rewritten every second, that presses its default answer itself
// when the time is up. The caller learns the answer and whether a person gave it.
#pragma once

#include <windows.h>

#include <cstdint>

#include "msgbox_core.h"

class CGeneralMsgBox;

// Asks `message` in a box titled `title` over the application's main window
// (or over `parent` when given). Returns the answer as the box gives it (IDOK,
// IDCANCEL); `answered`, when given, becomes 1 when a person answered before the
// time-out and 0 when the time-out did.
int ShowTimedMessageBox(const char* message, const char* title, int* answered,
                        HWND parent = nullptr);

// One timed question; lives on the asker's stack while the box is up. The
// process's one-second timers find their question through a map from timer id.
class CDlgTimedMessageBox {
 public:
  CDlgTimedMessageBox(HWND parent, const char* message, const char* title,
                      const char* countdownFormat,
                      std::uint32_t timeoutMs = msgbox::kTimeoutMs);
  ~CDlgTimedMessageBox();
  CDlgTimedMessageBox(const CDlgTimedMessageBox&) = delete;
  CDlgTimedMessageBox& operator=(const CDlgTimedMessageBox&) = delete;

  // Runs the question; the box's answer.
  int Run();
  bool TimedOut() const { return m_timedOut; }

 private:
  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD);
  void OnTick();
  // Arms the one timer to fire in `delayMs` under a new id.
  void ArmTimer(UINT delayMs);
  void KillTimer();
  // message + the countdown for `seconds`, cut to the box's buffer.
  void ComposeText(std::uint32_t seconds, char (&out)[msgbox::kTextSize]) const;

  HWND m_parent;
  char m_message[msgbox::kTextSize];
  char m_countdownFormat[msgbox::kTextSize];
  char m_shownText[msgbox::kTextSize];
  char m_title[msgbox::kTextSize];
  std::uint32_t m_timeoutMs;
  DWORD m_startTick = 0;
  int m_buttonId = IDOK;
  UINT_PTR m_timerId = 0;
  bool m_running = false;
  bool m_timedOut = false;
  CGeneralMsgBox* m_messageBox = nullptr;  // while it is up; on the stack of Run
};
