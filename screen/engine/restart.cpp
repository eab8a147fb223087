#include "restart.h"

#include <windows.h>

#ifndef SHTDN_REASON_MAJOR_APPLICATION
#define SHTDN_REASON_MAJOR_APPLICATION 0x00040000
#endif

bool RestartComputer() {
  HANDLE token = nullptr;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token))
    return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  const bool found = ::LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  ::SetLastError(ERROR_SUCCESS);
  const bool adjusted = found && ::AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  // Success with ERROR_NOT_ALL_ASSIGNED means the privilege was not granted.
  const bool enabled = adjusted && ::GetLastError() == ERROR_SUCCESS;
  ::CloseHandle(token);
  if (!enabled) return false;
  return ::ExitWindowsEx(EWX_REBOOT | EWX_FORCEIFHUNG, SHTDN_REASON_MAJOR_APPLICATION) != FALSE;
}
