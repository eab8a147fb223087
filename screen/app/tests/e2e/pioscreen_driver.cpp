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
//   send MSG W L       sends a message and prints the result ("timeout" after 5 s)
//   box MS             waits for a question box over the window; prints its rectangle
//   nobox MS           waits until no question box is left
//   boxes              number of question boxes shown over the window
//   boxrect ID | boxtext   a question box's control rectangle; its message
//   self enabled | self focused   the window enabled; it (or a control of it) has
//                      the keyboard focus of its thread and is the active window
//   kill               ends the program at once, as a crash or a power cut would
//   moving MS          waits until the window is being moved by the mouse
// The display (no window needed):
//   mode | savedmode   the size in force, the size Windows starts with: "W H"
//   setmode W H [save] shows that size (32 bits, 60 Hz), and saves it when asked
//   backafter W H MS   waits for a question box, then until the display is W x H;
//                      prints the milliseconds between the two
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

void PrintRect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

bool DisplaySize(DWORD which, DWORD& width, DWORD& height) {
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  if (!EnumDisplaySettingsA(nullptr, which, &mode)) return false;
  width = mode.dmPelsWidth;
  height = mode.dmPelsHeight;
  return true;
}

int DisplayCommand(int argc, char** argv) {
  const char* what = argv[1];
  DWORD w = 0, h = 0;
  if (!std::strcmp(what, "mode") || !std::strcmp(what, "savedmode")) {
    if (!DisplaySize(what[0] == 'm' ? ENUM_CURRENT_SETTINGS : ENUM_REGISTRY_SETTINGS, w, h)) return 1;
    std::printf("%lu %lu\n", w, h);
    return 0;
  }
  if (!std::strcmp(what, "setmode") && argc > 3) {
    DEVMODEA mode{};
    mode.dmSize = sizeof mode;
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
      if (mode.dmPelsWidth == Number(argv[2]) && mode.dmPelsHeight == Number(argv[3]) &&
          mode.dmBitsPerPel == 32) {
        const DWORD flags = argc > 4 && !std::strcmp(argv[4], "save") ? CDS_UPDATEREGISTRY : 0;
        return ChangeDisplaySettingsExA(nullptr, &mode, nullptr, flags, nullptr) == DISP_CHANGE_SUCCESSFUL ? 0 : 1;
      }
    }
    return 1;
  }
  if (!std::strcmp(what, "backafter") && argc > 4) {
    const DWORD limit = Number(argv[4]), start = GetTickCount();
    DWORD asked = 0;
    while (GetTickCount() - start < limit) {
      if (!asked && FindBoxes(FindWindowA("P-Screen Dialog", "Pio Screen Setting")).count > 0)
        asked = GetTickCount();
      if (asked && DisplaySize(ENUM_CURRENT_SETTINGS, w, h) && w == Number(argv[2]) && h == Number(argv[3])) {
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
  const int display = DisplayCommand(argc, argv);
  if (display >= 0) return display;
  if ((!std::strcmp(what, "box") || !std::strcmp(what, "nobox")) && argc > 2) {
    const bool none = what[0] == 'n';
    const DWORD limit = Number(argv[2]), start = GetTickCount();
    while (GetTickCount() - start < limit) {
      const Boxes boxes = FindBoxes(Find());
      if (!none && boxes.count > 0) {
        PrintRect(boxes.first);
        return 0;
      }
      if (none && boxes.count == 0) return 0;
      Sleep(20);
    }
    std::printf("timed out\n");
    return 1;
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
  } else if (!std::strcmp(what, "send") && argc > 4) {
    const UINT message = !std::strcmp(argv[2], "broadcast")
                             ? RegisterWindowMessageA("WM_KAVO_BROADCAST_MESSAGE")
                             : Number(argv[2]);
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(dialog, message, Number(argv[3]), Number(argv[4]), SMTO_NORMAL, 5000, &result))
      std::printf("%lu\n", static_cast<unsigned long>(result));
    else
      std::printf("timeout\n");
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
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const bool got = GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
    const bool focused = got && info.hwndActive == dialog &&
                         (info.hwndFocus == dialog || IsChild(dialog, info.hwndFocus));
    std::printf("%d\n", focused ? 1 : 0);
  } else if (!std::strcmp(what, "moving") && argc > 2) {
    const DWORD limit = Number(argv[2]), start = GetTickCount();
    for (;;) {
      GUITHREADINFO info{};
      info.cbSize = sizeof info;
      if (GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) &&
          (info.flags & GUI_INMOVESIZE))
        return 0;
      if (GetTickCount() - start >= limit) return 1;
      Sleep(5);
    }
  } else if (!std::strcmp(what, "kill")) {
    DWORD pid = 0;
    GetWindowThreadProcessId(dialog, &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process || !TerminateProcess(process, 9)) return 1;
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
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
