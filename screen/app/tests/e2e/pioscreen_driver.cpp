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
//   shown CLASS MS       waits until a visible window of another program's CLASS
//                        is there and that program waits for input
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
//   minimize
// Question boxes and the window's state:
//   box MS | nobox MS    waits for a question box over the window (prints its
//                        rectangle) | until none is left
//   boxes                number of question boxes shown over the window
//   boxrect ID | boxtext a question box's control rectangle | its message
//   self enabled | self focused   the window enabled | it (or a control of it)
//                        has its thread's keyboard focus and is the active window
//   focus                the control id with the keyboard focus (0: the window
//                        itself, -1: nothing of it)
//   moving MS [0]        waits until the window is being moved by the mouse
//                        (until it is not, with 0)
//   kill                 ends the program at once, as a crash or a power cut would
// The display (no window needed):
//   mode | savedmode     the size in force | the size Windows starts with: "W H"
//   setmode W H [save]   shows that size (32 bits), and saves it when asked
//   backafter W H MS     waits for a question box, then until it is gone and the
//                        display is W x H; prints the milliseconds since it appeared
// Many commands, one process:
//   serve                reads commands, one a line, from its input, answers each
//                        and ends it with the line "@@rc CODE" (its exit code as a
//                        command of its own); ends with "quit" or its input. A
//                        script asks dozens of questions a walk, and under Wine
//                        each process start takes a fifth of a second.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// The question boxes: dialogs owned by the main window and shown.
struct Boxes {
  HWND owner;
  HWND first = nullptr;
  int count = 0;
};
BOOL CALLBACK CountBox(HWND hwnd, LPARAM p) {
  auto* boxes = reinterpret_cast<Boxes*>(p);
  char cls[16] = "";
  GetClassNameA(hwnd, cls, sizeof cls);
  if (!std::strcmp(cls, "#32770") && GetWindow(hwnd, GW_OWNER) == boxes->owner && IsWindowVisible(hwnd)) {
    if (!boxes->first) boxes->first = hwnd;
    ++boxes->count;
  }
  return TRUE;
}
Boxes FindBoxes(HWND owner) {
  Boxes boxes{owner};
  if (owner) EnumWindows(&CountBox, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

bool DisplaySize(DWORD which, long& width, long& height) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(nullptr, which, &mode)) return false;
  width = static_cast<long>(mode.dmPelsWidth);
  height = static_cast<long>(mode.dmPelsHeight);
  return true;
}

// The display's commands: their exit code, or -1 for another command.
int DisplayCommand(int argc, char** argv) {
  const char* what = argv[1];
  long w = 0, h = 0;
  if (!std::strcmp(what, "mode") || !std::strcmp(what, "savedmode")) {
    if (!DisplaySize(what[0] == 'm' ? ENUM_CURRENT_SETTINGS : ENUM_REGISTRY_SETTINGS, w, h)) return 1;
    std::printf("%ld %ld\n", w, h);
    return 0;
  }
  if (!std::strcmp(what, "setmode") && argc > 3) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
      if (static_cast<long>(mode.dmPelsWidth) == Number(argv[2]) &&
          static_cast<long>(mode.dmPelsHeight) == Number(argv[3]) && mode.dmBitsPerPel == 32) {
        const DWORD flags = argc > 4 && !std::strcmp(argv[4], "save") ? CDS_UPDATEREGISTRY : 0;
        return ChangeDisplaySettingsExA(nullptr, &mode, nullptr, flags, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
      }
    }
    return 1;
  }
  if (!std::strcmp(what, "backafter") && argc > 4) {
    const DWORD limit = static_cast<DWORD>(Number(argv[4])), start = GetTickCount();
    DWORD asked = 0;
    bool answered = false;
    while (GetTickCount() - start < limit) {
      const int boxes = FindBoxes(Find()).count;
      if (!asked && boxes > 0) asked = GetTickCount();
      if (asked && boxes == 0) answered = true;
      // Only once the question is gone: while it is up, the display may still show
      // the old size for a moment under Wine, however the question ends.
      if (answered && DisplaySize(ENUM_CURRENT_SETTINGS, w, h) && w == Number(argv[2]) && h == Number(argv[3])) {
        std::printf("%lu\n", GetTickCount() - asked);
        return 0;
      }
      Sleep(5);
    }
    std::printf("timed out\n");
    return 1;
  }
  return -1;
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

int RunCommand(int argc, char** argv) {
  if (argc < 2) return 2;
  const char* what = argv[1];
  const int display = DisplayCommand(argc, argv);
  if (display >= 0) return display;
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
  if (!std::strcmp(what, "shown") && argc > 3) {
    const char* cls = argv[2];
    const long shown = WaitFor([cls] {
      HWND other = FindWindowA(cls, nullptr);
      return other && IsWindowVisible(other) ? 1L : 0L;
    }, 1, static_cast<DWORD>(Number(argv[3])), &Equal);
    DWORD pid = 0;
    if (shown) GetWindowThreadProcessId(FindWindowA(cls, nullptr), &pid);
    HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid) : nullptr;
    const bool idle = process && WaitForInputIdle(process, static_cast<DWORD>(Number(argv[3]))) == 0;
    if (process) CloseHandle(process);
    return idle ? 0 : 1;
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
  if ((!std::strcmp(what, "box") || !std::strcmp(what, "nobox")) && argc > 2) {
    const bool none = what[0] == 'n';
    const long count = WaitFor([] { return static_cast<long>(FindBoxes(Find()).count > 0); },
                               none ? 0 : 1, limit, &Equal);
    if (count == (none ? 0 : 1)) {
      if (!none) PrintRect(FindBoxes(Find()).first);
      return 0;
    }
    std::printf("timed out\n");
    return 1;
  }
  HWND dialog = Find();
  if (!dialog) {
    std::printf("no window\n");
    return 1;
  }
  GUITHREADINFO thread{};
  thread.cbSize = sizeof thread;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &thread);
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
      if (!message || !PostMessageA(dialog, message, w, l)) {
        std::printf("not posted (error %lu)\n", GetLastError());
        return 1;
      }
    } else {
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutA(dialog, message, w, l, SMTO_NORMAL, 10000, &result)) {
        std::printf("not answered\n");
        return 1;
      }
    }
  } else if (!std::strcmp(what, "boxes")) {
    std::printf("%d\n", FindBoxes(dialog).count);
  } else if (!std::strcmp(what, "boxrect") && argc > 2) {
    const Boxes boxes = FindBoxes(dialog);
    if (!boxes.first) return 1;
    PrintRect(GetDlgItem(boxes.first, Number(argv[2])));
  } else if (!std::strcmp(what, "boxtext")) {
    const Boxes boxes = FindBoxes(dialog);
    char text[260] = "";
    if (boxes.first) GetDlgItemTextA(boxes.first, 1016, text, sizeof text);
    std::printf("%s\n", text);
  } else if (!std::strcmp(what, "self") && argc > 2 && !std::strcmp(argv[2], "enabled")) {
    std::printf("%d\n", IsWindowEnabled(dialog) ? 1 : 0);
  } else if (!std::strcmp(what, "self") && argc > 2 && !std::strcmp(argv[2], "focused")) {
    const bool focused = thread.hwndActive == dialog &&
                         (thread.hwndFocus == dialog || IsChild(dialog, thread.hwndFocus));
    std::printf("%d\n", focused ? 1 : 0);
  } else if (!std::strcmp(what, "focus")) {
    std::printf("%d\n", thread.hwndFocus == dialog           ? 0
                        : IsChild(dialog, thread.hwndFocus) ? GetDlgCtrlID(thread.hwndFocus)
                                                            : -1);
  } else if (!std::strcmp(what, "moving") && argc > 2) {
    const DWORD thread_id = GetWindowThreadProcessId(dialog, nullptr);
    const long moving = WaitFor([thread_id] {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      return GetGUIThreadInfo(thread_id, &info) && (info.flags & GUI_INMOVESIZE) ? 1L : 0L;
    }, argc > 3 ? Number(argv[3]) : 1, limit, &Equal);
    return moving == (argc > 3 ? Number(argv[3]) : 1) ? 0 : 1;
  } else if (!std::strcmp(what, "kill")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(dialog, &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process || !TerminateProcess(process, 9)) return 1;
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  } else if (!std::strcmp(what, "minimize")) {
    ShowWindow(dialog, SW_MINIMIZE);
  } else {
    return 2;
  }
  return 0;
}

namespace {

int Serve() {
  char line[512];
  while (std::fgets(line, sizeof line, stdin)) {
    std::vector<std::string> words{"driver"};
    for (char* word = std::strtok(line, " \t\r\n"); word; word = std::strtok(nullptr, " \t\r\n"))
      words.emplace_back(word);
    if (words.size() < 2) continue;
    if (words[1] == "quit") break;
    std::vector<char*> args;
    for (std::string& word : words) args.push_back(&word[0]);
    args.push_back(nullptr);
    const int rc = RunCommand(static_cast<int>(words.size()), args.data());
    std::printf("@@rc %d\n", rc);
    std::fflush(stdout);
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && !std::strcmp(argv[1], "serve")) return Serve();
  return RunCommand(argc, argv);
}
