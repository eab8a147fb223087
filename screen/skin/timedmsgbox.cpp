#include "timedmsgbox.h"

#include <map>

#include "fadewnd.h"
#include "generalmsgbox.h"
#include "language.h"
#include "thread.h"
#include "winapp.h"

namespace {

// Made during static initialisation, before any question: a timer callback gets
// only its timer's id, and finds its question here.
CCriticalSection g_timerLock;
std::map<UINT_PTR, CDlgTimedMessageBox*> g_timers;

HWND MainWindow() {
  CWinApp* app = AfxGetApp();
  return app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
}

}  // namespace

int ShowTimedMessageBox(const char* message, const char* title, int* answered, HWND parent) {
  char format[msgbox::kTextSize];
  msgbox::CopyText(format, sizeof format, TranslateText(msgbox::kCountdownFormat), &IsAnsiLeadByte);
  CDlgTimedMessageBox question(parent ? parent : MainWindow(), message, title, format);
  const int result = question.Run();
  if (answered) *answered = question.TimedOut() ? 0 : 1;
  return result;
}

CDlgTimedMessageBox::CDlgTimedMessageBox(HWND parent, const char* message, const char* title,
                                         const char* countdownFormat, std::uint32_t timeoutMs)
    : m_parent(parent), m_timeoutMs(timeoutMs) {
  msgbox::CopyText(m_message, sizeof m_message, message, &IsAnsiLeadByte);
  msgbox::CopyText(m_title, sizeof m_title, title, &IsAnsiLeadByte);
  msgbox::CopyText(m_countdownFormat, sizeof m_countdownFormat, countdownFormat, &IsAnsiLeadByte);
  // A translation whose placeholders do not fit the count is not used: the
  // English line is better than reading an argument that is not there.
  char probe[msgbox::kTextSize];
  if (m_countdownFormat[0] && !msgbox::FormatCount(m_countdownFormat, 16, probe, sizeof probe))
    msgbox::CopyText(m_countdownFormat, sizeof m_countdownFormat, msgbox::kCountdownFormat);
  m_shownText[0] = '\0';
}

CDlgTimedMessageBox::~CDlgTimedMessageBox() { KillTimer(); }

void CDlgTimedMessageBox::ComposeText(std::uint32_t seconds, char (&out)[msgbox::kTextSize]) const {
  const std::size_t n = msgbox::CopyText(out, sizeof out, m_message, &IsAnsiLeadByte);
  if (!m_countdownFormat[0]) return;
  char countdown[msgbox::kTextSize];
  if (msgbox::FormatCount(m_countdownFormat, seconds, countdown, sizeof countdown))
    msgbox::CopyText(out + n, sizeof out - n, countdown, &IsAnsiLeadByte);
}

int CDlgTimedMessageBox::Run() {
  m_running = true;
  m_timedOut = false;
  ComposeText(msgbox::InitialSeconds(m_timeoutMs), m_shownText);

  int result;
  {
    CFadeWnd fade(m_parent);
    CGeneralMsgBox box(m_parent, &fade, m_shownText, sizeof m_shownText);
    box.SetTitle(m_title);
    fade.SetMessageBox(&box);
    m_messageBox = &box;
    m_startTick = ::GetTickCount();
    ArmTimer(msgbox::NextTickMs(m_timeoutMs, 0));
    result = static_cast<int>(box.DoModal());
    m_messageBox = nullptr;
    m_running = false;
    KillTimer();
    fade.SetMessageBox(nullptr);
  }
  if (result < 0) {
    // The box could not be shown: nobody can have accepted anything.
    m_timedOut = true;
    result = IDCANCEL;
  }
  return result;
}

void CDlgTimedMessageBox::ArmTimer(UINT delayMs) {
  CSingleLock lock(g_timerLock);
  if (m_timerId) {
    ::KillTimer(nullptr, m_timerId);
    g_timers.erase(m_timerId);
  }
  m_timerId = ::SetTimer(nullptr, 0, delayMs, &CDlgTimedMessageBox::TimerProc);
  if (m_timerId) g_timers[m_timerId] = this;
}

void CDlgTimedMessageBox::KillTimer() {
  CSingleLock lock(g_timerLock);
  if (!m_timerId) return;
  ::KillTimer(nullptr, m_timerId);
  g_timers.erase(m_timerId);
  m_timerId = 0;
}

void CALLBACK CDlgTimedMessageBox::TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
  CDlgTimedMessageBox* question = nullptr;
  {
    CSingleLock lock(g_timerLock);
    auto found = g_timers.find(id);
    if (found != g_timers.end()) question = found->second;
  }
  if (question) question->OnTick();
}

void CDlgTimedMessageBox::OnTick() {
  if (!m_running || !m_messageBox || !m_messageBox->m_hWnd) return;
  HWND box = m_messageBox->m_hWnd;
  const std::uint32_t elapsed = ::GetTickCount() - m_startTick;
  if (msgbox::IsTimeUp(m_timeoutMs, elapsed)) {
    m_timedOut = true;
    // Posted, as a press is: the box ends in its own loop, after this callback.
    ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(m_buttonId),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, m_buttonId)));
    ArmTimer(1000);  // should the press be lost, press again
    return;
  }
  char text[msgbox::kTextSize];
  ComposeText(msgbox::SecondsLeft(m_timeoutMs, elapsed), text);
  m_messageBox->SetText(text);
  ArmTimer(msgbox::NextTickMs(m_timeoutMs, ::GetTickCount() - m_startTick));
}
