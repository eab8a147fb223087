// GoogleTest's Notification needs std::mutex, which the win32 thread model of our
// mingw compilers lacks; this one waits on a Win32 event instead. Force-included
// into GoogleTest and its users in the Windows builds.
#pragma once
#ifdef __cplusplus
#include <windows.h>

namespace testing {
namespace internal {
class Notification {
 public:
  Notification() : event_(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { ::CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  void Notify() { ::SetEvent(event_); }
  void WaitForNotification() { ::WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};
}  // namespace internal
}  // namespace testing
#endif
