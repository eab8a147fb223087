// KvACPINotify: a pipe from the ACPI device "\\.\QRXACPI" to the broadcast
// message. The host calls InitACPIInterface once, then InitNotifyThread once, and
// TerminateNotifyThread when it shuts down.
#pragma once

#include <windows.h>

extern "C" {
bool __cdecl InitACPIInterface(void);
int __cdecl InitNotifyThread(void);  // 0 on success, 1 on failure
void __cdecl TerminateNotifyThread(void);
}

namespace acpinotify {

// Opening the device and talking to it, replaceable so that a test can play the
// driver, which Wine does not have.
struct DeviceCalls {
  HANDLE(WINAPI* createFileA)(LPCSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
  BOOL(WINAPI* deviceIoControl)(HANDLE, DWORD, LPVOID, DWORD, LPVOID, DWORD, LPDWORD, LPOVERLAPPED);
};
DeviceCalls& Device();

// Tests only: the running worker's thread handle (none before InitNotifyThread).
HANDLE WorkerForTesting();
// Tests only: waits for the worker to end, then closes every handle and forgets the
// device, as an unload of the library would.
void ResetForTesting();

}  // namespace acpinotify
