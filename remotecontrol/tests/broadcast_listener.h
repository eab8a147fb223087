// A top-level window that records every broadcast message it receives, as any
// program of the suite would listen for it. Wine tests of both hardware libraries
// use it.
#pragma once

#include <windows.h>

#include <vector>

#include "broadcast.h"
#include "message_pump.h"

class BroadcastListener {
 public:
  struct Received {
    WPARAM wParam;
    std::uint32_t lParam;
    LONGLONG at;  // performance counter on arrival
  };

  BroadcastListener() : m_message(broadcast::RegisterMessageA()) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "PioBroadcastListener";
    RegisterClassA(&wc);
    // Unowned and not shown: a broadcast still reaches it.
    m_hwnd = CreateWindowExA(0, wc.lpszClassName, "listener", WS_POPUP, 0, 0, 10, 10, nullptr,
                             nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrA(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~BroadcastListener() { DestroyWindow(m_hwnd); }
  BroadcastListener(const BroadcastListener&) = delete;
  BroadcastListener& operator=(const BroadcastListener&) = delete;

  HWND hwnd() const { return m_hwnd; }
  const std::vector<Received>& received() const { return m_received; }
  void Clear() { m_received.clear(); }

  // Serves this thread's messages until `count` broadcasts have arrived in all, or
  // the time is up; then returns what has arrived.
  const std::vector<Received>& WaitFor(std::size_t count, DWORD timeoutMs) {
    test_support::PumpUntil([&] { return m_received.size() >= count; }, timeoutMs);
    return m_received;
  }

  static void Pump() { test_support::DispatchPending(); }

  static LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
  }
  static double Microseconds(LONGLONG ticks) {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(ticks) * 1e6 / static_cast<double>(f.QuadPart);
  }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
    auto* self = reinterpret_cast<BroadcastListener*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (self != nullptr && msg == self->m_message) {
      self->m_received.push_back({w, static_cast<std::uint32_t>(l), Now()});
      return 0;
    }
    return DefWindowProcA(hwnd, msg, w, l);
  }

  UINT m_message;
  HWND m_hwnd = nullptr;
  std::vector<Received> m_received;
};
