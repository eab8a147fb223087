// A library in place of the remote-control hook or the ACPI notifier that writes
// the name of every export called into "calls.log" beside itself, so a test can
// read the order in which the host calls them.
#include <windows.h>

#include <string>

namespace {

HMODULE g_self = nullptr;

void Record(const char* name) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(g_self, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::string log(path, length);
  log.resize(log.rfind('\\') + 1);
  log += "calls.log";
  const HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string line = std::string(name) + "\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) g_self = instance;
  return TRUE;
}

extern "C" {
#ifdef RECORD_HOOKER
unsigned char InitRemoteControlHook() { Record("InitRemoteControlHook"); return 1; }
unsigned char SetRemoteControlHook() { Record("SetRemoteControlHook"); return 1; }
int UnSetRemoteControlHook() { Record("UnSetRemoteControlHook"); return 1; }
#endif
#ifdef RECORD_ACPI
unsigned char InitACPIInterface() { Record("InitACPIInterface"); return 0; }
int InitNotifyThread() { Record("InitNotifyThread"); return 0; }
void TerminateNotifyThread() { Record("TerminateNotifyThread"); }
#endif
}
