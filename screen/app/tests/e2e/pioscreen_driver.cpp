// Drives a running PioScreen from outside, as another program would: finds its
// window by class and title and answers one question or sends one message.
//   wait MS            waits for the window; prints its screen rectangle
//   gone MS            waits until no window is left
//   count              number of windows of that class and title
//   visible ID         1 when the control is visible
//   enabled ID         1 when the control is enabled
//   rect ID            the control's screen rectangle
//   scrollpos ID       the position of a scroll bar control
//   post MSG W L       posts a message (numbers in C notation; MSG may be "broadcast")
//   iconic | minimize | foreground
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND Find() { return FindWindowA("P-Screen Dialog", "Pio Screen Setting"); }

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM counter) {
  char cls[64] = "", title[64] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  GetWindowTextA(hwnd, title, sizeof title);
  if (!std::strcmp(cls, "P-Screen Dialog") && !std::strcmp(title, "Pio Screen Setting"))
    ++*reinterpret_cast<int*>(counter);
  return TRUE;
}

unsigned long Number(const char* text) { return std::strtoul(text, nullptr, 0); }

void PrintRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* what = argv[1];
  if (!std::strcmp(what, "wait") || !std::strcmp(what, "gone")) {
    const bool gone = what[0] == 'g';
    const DWORD limit = argc > 2 ? Number(argv[2]) : 10000, start = GetTickCount();
    while (GetTickCount() - start < limit) {
      HWND hwnd = Find();
      if (!gone && hwnd && IsWindowVisible(hwnd)) {
        PrintRect(hwnd);
        return 0;
      }
      if (gone && !hwnd) return 0;
      Sleep(50);
    }
    std::printf("timed out\n");
    return 1;
  }
  if (!std::strcmp(what, "count")) {
    int n = 0;
    EnumWindows(&CountWindow, reinterpret_cast<LPARAM>(&n));
    std::printf("%d\n", n);
    return 0;
  }
  HWND dialog = Find();
  if (!dialog) {
    std::printf("no window\n");
    return 1;
  }
  if (!std::strcmp(what, "visible") && argc > 2) {
    std::printf("%d\n", IsWindowVisible(GetDlgItem(dialog, Number(argv[2]))) ? 1 : 0);
  } else if (!std::strcmp(what, "enabled") && argc > 2) {
    std::printf("%d\n", IsWindowEnabled(GetDlgItem(dialog, Number(argv[2]))) ? 1 : 0);
  } else if (!std::strcmp(what, "rect") && argc > 2) {
    PrintRect(GetDlgItem(dialog, Number(argv[2])));
  } else if (!std::strcmp(what, "scrollpos") && argc > 2) {
    std::printf("%d\n", GetScrollPos(GetDlgItem(dialog, Number(argv[2])), SB_CTL));
  } else if (!std::strcmp(what, "post") && argc > 4) {
    const UINT message = !std::strcmp(argv[2], "broadcast")
                             ? RegisterWindowMessageA("WM_KAVO_BROADCAST_MESSAGE")
                             : Number(argv[2]);
    PostMessageA(dialog, message, Number(argv[3]), Number(argv[4]));
  } else if (!std::strcmp(what, "iconic")) {
    std::printf("%d\n", IsIconic(dialog) ? 1 : 0);
  } else if (!std::strcmp(what, "minimize")) {
    ShowWindow(dialog, SW_MINIMIZE);
  } else if (!std::strcmp(what, "foreground")) {
    std::printf("%d\n", GetForegroundWindow() == dialog ? 1 : 0);
  } else {
    return 2;
  }
  return 0;
}
