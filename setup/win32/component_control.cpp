#include "component_control.h"

#include <windows.h>

namespace setup {
namespace {
HWND FindComponentWindow() { return FindWindowA(kComponentWindowClass, kComponentWindowTitle); }
}  // namespace

bool StopComponent(std::uint32_t maxWaitMs) {
  const HWND window = FindComponentWindow();
  if (!window) return true;

  // Taken before the close request: once the process has ended, its id may
  // already name another one.
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  const HANDLE process = processId ? OpenProcess(SYNCHRONIZE, FALSE, processId) : nullptr;

  // A program that no longer answers messages must not hold the installer for ever.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, maxWaitMs, &ignored);
  if (process) {
    WaitForSingleObject(process, maxWaitMs);
    CloseHandle(process);
  } else {
    Sleep(maxWaitMs);  // the process cannot be watched: give it the whole time
  }
  return FindComponentWindow() == nullptr;
}

}  // namespace setup
