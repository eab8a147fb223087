// Drives a running PioScreen from outside, as another program would: finds its
// window by class and title and answers one question or sends one message.
// Commands that wait poll the state they name until it holds or MS run out, and
// then print it (as it is at the end, so a failed wait shows what was there).
//   wait MS              the window shown and its program waiting for input
//                        (WaitForInputIdle); prints its screen rectangle
//   firstframe MS        prints "ready", then waits for the window and reads it
//                        the moment it is first visible:
//                        "LEFT TOP V1020 V1021 THUMBTOP" (start it first)
//   gone MS              waits until no window is left
//   count                number of windows of that class and title
//   visible ID [V MS]    1 when the control is visible (waits for V)
//   enabled ID [V MS]    1 when the control is enabled (waits for V)
//   iconic [V MS]        1 when the window is minimised (waits for V)
//   rect ID              the control's screen rectangle
//   scrollpos ID [OP V MS]  a scroll bar's position (waits for it to be
//                        "gt", "lt" or "eq" V)
//   cursor X Y MS        waits until the system has the pointer at X, Y
//   post MSG W L         posts a message (numbers in C notation; MSG may be
//   send MSG W L         "broadcast"); send returns once it was handled
//   minimize | foreground
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

long Number(const char* text) { return std::strtol(text, nullptr, 0); }

void PrintRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

// Asks `state` until it returns `wanted` or the time is up; returns the last answer.
template <class State>
long WaitFor(State state, long wanted, DWORD ms, bool (*holds)(long, long)) {
  const DWORD start = GetTickCount();
  long value = state();
  while (!holds(value, wanted) && GetTickCount() - start < ms) {
    Sleep(10);
    value = state();
  }
  return value;
}

bool Equal(long a, long b) { return a == b; }

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* what = argv[1];
  const DWORD limit = argc > 2 ? static_cast<DWORD>(Number(argv[2])) : 10000;
  if (!std::strcmp(what, "wait") || !std::strcmp(what, "gone") || !std::strcmp(what, "firstframe")) {
    if (what[0] == 'f') {
      // Started before the program: says when it looks.
      std::printf("ready\n");
      std::fflush(stdout);
    }
    const DWORD start = GetTickCount();
    for (;;) {
      HWND hwnd = Find();
      if (what[0] == 'g' && !hwnd) return 0;
      if (what[0] != 'g' && hwnd && IsWindowVisible(hwnd)) {
        if (what[0] == 'f') {
          RECT window{}, thumb{};
          GetWindowRect(hwnd, &window);
          HWND t = GetDlgItem(hwnd, 1020);
          GetWindowRect(t, &thumb);
          MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&thumb), 2);
          std::printf("%ld %ld %d %d %ld\n", window.left, window.top, IsWindowVisible(t) ? 1 : 0,
                      IsWindowVisible(GetDlgItem(hwnd, 1021)) ? 1 : 0, thumb.top);
          return 0;
        }
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
        const DWORD left = limit - (GetTickCount() - start);
        const bool idle = process && WaitForInputIdle(process, left) == 0;
        if (process) CloseHandle(process);
        if (!idle) break;
        PrintRect(hwnd);
        return 0;
      }
      if (GetTickCount() - start >= limit) break;
      Sleep(what[0] == 'f' ? 0 : 10);  // the first frame is looked for without a pause
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
  if (!std::strcmp(what, "cursor") && argc > 4) {
    const long x = Number(argv[2]), y = Number(argv[3]);
    const DWORD ms = static_cast<DWORD>(Number(argv[4]));
    const long at = WaitFor([] {
      POINT p{};
      GetCursorPos(&p);
      return p.x * 100000 + p.y;
    }, x * 100000 + y, ms, &Equal);
    std::printf("%ld %ld\n", at / 100000, at % 100000);
    return at == x * 100000 + y ? 0 : 1;
  }
  HWND dialog = Find();
  if (!dialog) {
    std::printf("no window\n");
    return 1;
  }
  // The optional wait of the state questions: argv[3] (or argv[4]) and on.
  auto answer = [&](auto state, int waitArg, bool (*holds)(long, long)) {
    long value = state();
    if (argc > waitArg + 1) value = WaitFor(state, Number(argv[waitArg]), Number(argv[waitArg + 1]), holds);
    std::printf("%ld\n", value);
  };
  if (!std::strcmp(what, "visible") && argc > 2) {
    HWND item = GetDlgItem(dialog, Number(argv[2]));
    answer([item] { return IsWindowVisible(item) ? 1L : 0L; }, 3, &Equal);
  } else if (!std::strcmp(what, "enabled") && argc > 2) {
    HWND item = GetDlgItem(dialog, Number(argv[2]));
    answer([item] { return IsWindowEnabled(item) ? 1L : 0L; }, 3, &Equal);
  } else if (!std::strcmp(what, "iconic")) {
    answer([dialog] { return IsIconic(dialog) ? 1L : 0L; }, 2, &Equal);
  } else if (!std::strcmp(what, "rect") && argc > 2) {
    PrintRect(GetDlgItem(dialog, Number(argv[2])));
  } else if (!std::strcmp(what, "scrollpos") && argc > 2) {
    HWND bar = GetDlgItem(dialog, Number(argv[2]));
    auto position = [bar] { return static_cast<long>(GetScrollPos(bar, SB_CTL)); };
    if (argc > 5) {
      bool (*holds)(long, long) = &Equal;
      if (!std::strcmp(argv[3], "gt")) holds = [](long a, long b) { return a > b; };
      if (!std::strcmp(argv[3], "lt")) holds = [](long a, long b) { return a < b; };
      std::printf("%ld\n", WaitFor(position, Number(argv[4]), Number(argv[5]), holds));
    } else {
      std::printf("%ld\n", position());
    }
  } else if ((!std::strcmp(what, "post") || !std::strcmp(what, "send")) && argc > 4) {
    const UINT message = !std::strcmp(argv[2], "broadcast")
                             ? RegisterWindowMessageA("WM_KAVO_BROADCAST_MESSAGE")
                             : static_cast<UINT>(Number(argv[2]));
    const WPARAM w = static_cast<WPARAM>(std::strtoul(argv[3], nullptr, 0));
    const LPARAM l = static_cast<LPARAM>(std::strtoul(argv[4], nullptr, 0));
    if (what[0] == 'p') {
      PostMessageA(dialog, message, w, l);
    } else {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutA(dialog, message, w, l, SMTO_NORMAL, 10000, &result)) {
        std::printf("not answered\n");
        return 1;
      }
    }
  } else if (!std::strcmp(what, "minimize")) {
    ShowWindow(dialog, SW_MINIMIZE);
  } else if (!std::strcmp(what, "foreground")) {
    std::printf("%d\n", GetForegroundWindow() == dialog ? 1 : 0);
  } else {
    return 2;
  }
  return 0;
}
