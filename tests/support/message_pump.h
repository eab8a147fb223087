// Serving this thread's messages while a test waits for a state. A test never
// sleeps a fixed time: it waits until the state it checks is there, with a
// deadline, and then checks it.
#pragma once

#include <windows.h>

namespace test_support {

// Dispatches every message queued for this thread now (sent ones included).
void DispatchPending();

// Serves messages for `ms`: only for a poll that looks again after a pause.
void PumpFor(DWORD ms);

// Serves messages until done() holds or timeoutMs have passed; true when done()
// held. done() is asked after every batch of messages and at least every 10 ms,
// so that a state another thread or process makes is seen as well.
template <class Done>
bool PumpUntil(Done done, DWORD timeoutMs = 5000) {
  const DWORD start = GetTickCount();
  for (;;) {
    DispatchPending();
    if (done()) return true;
    const DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return false;
    const DWORD left = timeoutMs - spent;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, left < 10 ? left : 10, QS_ALLINPUT);
  }
}

}  // namespace test_support
