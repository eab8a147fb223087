// Stand-in for the maker's message-controller program, the host of the two input
// libraries. It does the least the installer and the libraries rely on:
//  - a hidden dialog-class window titled "KvMessageController" that ends the
//    program on WM_CLOSE (the installer stops the component that way);
//  - when KvRemoteControlHooker.dll and KvACPINotify.dll lie beside it, it loads
//    them by full path and calls their exports in the order they expect of a
//    host, from the thread that runs the message loop; missing libraries or
//    exports are skipped.
// Test aid: "--ignore-close" makes the window ignore WM_CLOSE, as a component
// that will not stop.
#include <windows.h>

#include <cstring>
#include <string>

#include "message_controller_ids.h"

namespace {

// The libraries' exports: no arguments, C calling convention, one-byte booleans.
using BoolExport = unsigned char(__cdecl*)();
using IntExport = int(__cdecl*)();
using VoidExport = void(__cdecl*)();

bool g_ignoreClose = false;
HMODULE g_hooker = nullptr;
HMODULE g_acpi = nullptr;

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::string folder(path, length);
  folder.resize(folder.rfind('\\') + 1);
  return folder;
}

// Only a library beside the program: the bare name would also find copies on the search path.
HMODULE LoadBeside(const char* name) {
  const std::string folder = ProgramFolder();
  if (folder.empty()) return nullptr;
  const std::string path = folder + name;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return nullptr;
  return LoadLibraryA(path.c_str());
}

template <typename Fn>
Fn Export(HMODULE module, const char* name) {
  return module ? reinterpret_cast<Fn>(GetProcAddress(module, name)) : nullptr;
}

void StartLibraries() {
  g_hooker = LoadBeside("KvRemoteControlHooker.dll");
  if (auto init = Export<BoolExport>(g_hooker, "InitRemoteControlHook")) init();
  // Raw input reaches the library's window through this thread's message loop.
  if (auto set = Export<BoolExport>(g_hooker, "SetRemoteControlHook")) set();

  g_acpi = LoadBeside("KvACPINotify.dll");
  if (auto init = Export<BoolExport>(g_acpi, "InitACPIInterface")) init();
  // Called also without the device: the library copes, and only then polls.
  if (auto start = Export<IntExport>(g_acpi, "InitNotifyThread")) start();
}

void StopLibraries() {
  if (auto unset = Export<IntExport>(g_hooker, "UnSetRemoteControlHook")) unset();
  if (auto stop = Export<VoidExport>(g_acpi, "TerminateNotifyThread")) stop();
  // The libraries stay loaded: the notifier's worker may still be finishing its
  // last wait, and the process ends right after this anyway.
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_CLOSE:
      if (!g_ignoreClose) {
        StopLibraries();
        DestroyWindow(window);
      }
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--ignore-close") == 0) g_ignoreClose = true;
  // A library that cannot be loaded must not stop a hidden program with a dialog.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

  StartLibraries();
  // Created hidden: the template has no WS_VISIBLE and nothing ever shows it.
  const HWND window = CreateDialogParamA(GetModuleHandleA(nullptr),
                                         MAKEINTRESOURCEA(IDD_MESSAGE_CONTROLLER), nullptr,
                                         DialogProc, 0);
  if (!window) {
    StopLibraries();
    return 1;
  }
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (!IsDialogMessageA(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  return 0;
}
