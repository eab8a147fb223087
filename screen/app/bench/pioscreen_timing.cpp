// Timing of the real main dialog under Wine: process start to the end of the first
// paint, one preview rebuild at two selected sizes, and how many full repaints and
// preview rebuilds a burst of 20 resolution steps costs. Prints its figures.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "mainapp.h"
#include "previewmaindlg.h"
#include "startup_phases.h"

namespace {

double Milliseconds(LONGLONG from, LONGLONG to) {
  LARGE_INTEGER frequency;
  ::QueryPerformanceFrequency(&frequency);
  return (to - from) * 1000.0 / frequency.QuadPart;
}

LONGLONG Now() {
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

// Dispatches messages until `done` or the time runs out.
template <class Done>
void Pump(DWORD timeoutMs, Done done) {
  const DWORD start = ::GetTickCount();
  while (!done() && ::GetTickCount() - start < timeoutMs) {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double SinceProcessStart() {
  FILETIME created, exited, kernel, user, now;
  ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
  ::GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER a{}, b{};
  a.LowPart = created.dwLowDateTime;
  a.HighPart = created.dwHighDateTime;
  b.LowPart = now.dwLowDateTime;
  b.HighPart = now.dwHighDateTime;
  return (b.QuadPart - a.QuadPart) / 10000.0;
}

void SelectSize(CPreviewMainDlg& dialog, int width, int height) {
  const int index = FindSize(dialog.Sizes(), width, height);
  if (index >= 0)
    ::SendMessageA(dialog.m_hWnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, index),
                   reinterpret_cast<LPARAM>(dialog.GetDlgItem(1028)));
}

}  // namespace

// Where the start-up's time went, phase by phase, from the dialog's own marks.
void PrintPhases(double atMain, LONGLONG mainCounter) {
  const startup_phases::Mark* marks = startup_phases::Marks();
  double previous = atMain;
  std::printf("start-up phases (ms): process start to main %.1f", atMain);
  for (int i = 0; i < startup_phases::Count(); ++i) {
    const double at = atMain + Milliseconds(mainCounter, marks[i].counter);
    std::printf("; %s %.1f", marks[i].name, at - previous);
    previous = at;
  }
  std::printf("\n");
}

int main() {
  const double atMain = SinceProcessStart();
  const LONGLONG mainCounter = Now();
  // In the program's own order: the dialog object starts its skin thread before
  // the class is registered.
  CPreviewMainDlg dialog;
  RegisterDialogClass(::GetModuleHandleA(nullptr));
  if (!dialog.Create(251)) {
    std::printf("the main dialog could not be created\n");
    return 1;
  }
  dialog.ShowInitialised();
  Pump(10000, [&] { return dialog.FirstPaintEnd() != 0; });
  const double firstPaint = SinceProcessStart();
  Pump(300, [] { return false; });  // let the start-up timers settle
  PrintPhases(atMain, mainCounter);

  // One start, the phases' own: a session's first program also waits for Wine to
  // start its desktop. The start-up ratio, from outside over many runs, is the
  // figure to go by.
  std::printf("process start to end of first paint: %.0f ms (one start), of which "
              "%.0f ms before the program's first line\n", firstPaint, atMain);
  // A rebuild from scratch scales both pictures; once the slider's pictures are
  // made ahead (after the start) a rebuild finds the desktop picture ready.
  for (const SIZE size : {SIZE{1920, 1080}, SIZE{1280, 720}}) {
    SelectSize(dialog, size.cx, size.cy);
    Pump(200, [] { return false; });
    std::vector<double> scratch, ahead;
    for (int i = 0; i < 9; ++i) {
      dialog.ForgetScaledPictures();
      const LONGLONG start = Now();
      dialog.RebuildPreview();
      scratch.push_back(Milliseconds(start, Now()));
    }
    for (int i = 0; i < 9; ++i) {
      dialog.ForgetScaledPictures(true);  // the dialog picture is scaled each time
      const LONGLONG start = Now();
      dialog.RebuildPreview();
      ahead.push_back(Milliseconds(start, Now()));
    }
    std::printf("preview rebuild for %ldx%ld: %.1f ms with its desktop picture made ahead "
                "(goal: at most 16), %.1f ms from scratch (medians of 9)\n",
                size.cx, size.cy, Median(ahead), Median(scratch));
  }

  Pump(300, [] { return false; });
  const int repaints = dialog.FullRepaintCount(), rebuilds = dialog.PreviewRebuildCount();
  HWND bar = dialog.GetDlgItem(1028);
  for (int i = 0; i < 20; ++i)
    ::PostMessageA(dialog.m_hWnd, WM_HSCROLL, i % 2 ? SB_LINERIGHT : SB_LINELEFT,
                   reinterpret_cast<LPARAM>(bar));
  Pump(5000, [&] { return dialog.FullRepaintCount() != repaints; });
  Pump(300, [] { return false; });
  std::printf("burst of 20 resolution steps: %d full repaint(s), %d preview rebuild(s) (goal: 1)\n",
              dialog.FullRepaintCount() - repaints, dialog.PreviewRebuildCount() - rebuilds);
  dialog.DestroyWindow();
  return 0;
}
