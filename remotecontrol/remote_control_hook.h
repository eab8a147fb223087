// KvRemoteControlHooker: a hidden window on the host's thread receives raw HID
// input and broadcasts one code per message. The host calls InitRemoteControlHook
// once, SetRemoteControlHook from the thread whose message loop serves the window,
// and UnSetRemoteControlHook from that thread before it unloads the library.
#pragma once

#include <windows.h>

extern "C" {
bool __cdecl InitRemoteControlHook(void);
bool __cdecl SetRemoteControlHook(void);
int __cdecl UnSetRemoteControlHook(void);
}

namespace remotecontrol {

// The raw-input queries, replaceable so that a test can play a HID device where
// the system has none (Wine delivers no HID input).
struct RawInputCalls {
  UINT(WINAPI* getRawInputData)(HRAWINPUT, UINT, LPVOID, PUINT, UINT);
  UINT(WINAPI* getRawInputDeviceInfoA)(HANDLE, UINT, LPVOID, PUINT);
};
RawInputCalls& RawInput();

// Tests only: forgets the configuration read so far (the window must be gone).
void ForgetConfigurationForTesting();

}  // namespace remotecontrol
