// A small host for the tests, loading the two hardware libraries as the
// message-controller program does: by file name from beside itself, each export
// looked up by name, called in the documented order from the thread that runs the
// message loop. Its window "PioTestMessageHost" answers the test's questions:
//   WM_APP      the start-up results: bit 0 InitRemoteControlHook, bit 1
//               SetRemoteControlHook, bit 2 InitACPIInterface, bits 8-15 InitNotifyThread
//   WM_APP + 1  calls UnSetRemoteControlHook and returns its result
//   WM_APP + 2  calls SetRemoteControlHook and returns its result
//   WM_CLOSE    unhooks, stops the notifier, unloads both libraries, lingers long
//               enough for a worker left in unloaded code to fault, and ends with 0.
// Exit codes: 0 clean, 2 a library missing, 3 an export missing.
#include <windows.h>

#include <string>

namespace {

bool(__cdecl* InitRemoteControlHook)();
bool(__cdecl* SetRemoteControlHook)();
int(__cdecl* UnSetRemoteControlHook)();
bool(__cdecl* InitACPIInterface)();
int(__cdecl* InitNotifyThread)();
void(__cdecl* TerminateNotifyThread)();

LRESULT g_startResults = 0;

template <class Fn>
bool Resolve(HMODULE module, const char* name, Fn& fn) {
  fn = reinterpret_cast<Fn>(GetProcAddress(module, name));
  return fn != nullptr;
}

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_APP:
      return g_startResults;
    case WM_APP + 1:
      return UnSetRemoteControlHook();
    case WM_APP + 2:
      return SetRemoteControlHook() ? 1 : 0;
    case WM_CLOSE:
      UnSetRemoteControlHook();
      TerminateNotifyThread();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcA(hwnd, msg, w, l);
}

}  // namespace

int main() {
  // A fault ends the host at once with its code, instead of waiting for a debugger.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.rfind('\\') + 1);

  HMODULE remote = LoadLibraryA((folder + "KvRemoteControlHooker.dll").c_str());
  HMODULE acpi = LoadLibraryA((folder + "KvACPINotify.dll").c_str());
  if (remote == nullptr || acpi == nullptr) return 2;
  if (!Resolve(remote, "InitRemoteControlHook", InitRemoteControlHook) ||
      !Resolve(remote, "SetRemoteControlHook", SetRemoteControlHook) ||
      !Resolve(remote, "UnSetRemoteControlHook", UnSetRemoteControlHook) ||
      !Resolve(acpi, "InitACPIInterface", InitACPIInterface) ||
      !Resolve(acpi, "InitNotifyThread", InitNotifyThread) ||
      !Resolve(acpi, "TerminateNotifyThread", TerminateNotifyThread)) {
    return 3;
  }

  const bool rcInit = InitRemoteControlHook();
  const bool rcSet = SetRemoteControlHook();
  const bool acpiInit = InitACPIInterface();
  const int notify = InitNotifyThread();
  g_startResults = (rcInit ? 1 : 0) | (rcSet ? 2 : 0) | (acpiInit ? 4 : 0) | ((notify & 0xFF) << 8);

  WNDCLASSA wc{};
  wc.lpfnWndProc = HostProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PioTestMessageHost";
  RegisterClassA(&wc);
  CreateWindowExA(0, wc.lpszClassName, wc.lpszClassName, WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                  wc.hInstance, nullptr);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }

  FreeLibrary(remote);
  FreeLibrary(acpi);
  Sleep(1500);
  return 0;
}
