// The notifier's code in this process, with a played ACPI driver in place of the
// device calls, and a listening top-level window.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "acpi_notify.h"
#include "acpi_requests.h"
#include "broadcast_listener.h"
#include "message_pump.h"

namespace {

struct Call {
  DWORD code;
  std::vector<std::uint8_t> input;
  DWORD outputBytes;
  bool synchronous;
  bool workerRunning;  // the worker had been started when the request came
};

// The played driver. The worker thread calls it too, hence the lock.
struct PlayedDriver {
  bool present = true;
  HANDLE handle = nullptr;  // a real handle standing for the open device
  std::string openedName;
  DWORD access = 0, share = 0, disposition = 0, flags = 0;
  bool plainOpen = false;  // no security attributes, no template
  std::vector<Call> calls;
  std::deque<std::uint32_t> codes;  // answers to fetches; none left: the fetch fails
  std::uint32_t eventValue = 0;
  CRITICAL_SECTION lock;
  PlayedDriver() { InitializeCriticalSection(&lock); }
} g_driver;

struct Lock {
  Lock() { EnterCriticalSection(&g_driver.lock); }
  ~Lock() { LeaveCriticalSection(&g_driver.lock); }
};

HANDLE WINAPI PlayedCreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES sa,
                                DWORD disposition, DWORD flags, HANDLE templateFile) {
  Lock l;
  g_driver.openedName = name;
  g_driver.access = access;
  g_driver.share = share;
  g_driver.disposition = disposition;
  g_driver.flags = flags;
  g_driver.plainOpen = sa == nullptr && templateFile == nullptr;
  if (!g_driver.present) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  g_driver.handle = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  return g_driver.handle;
}

BOOL WINAPI PlayedDeviceIoControl(HANDLE device, DWORD code, LPVOID in, DWORD inBytes, LPVOID out,
                                  DWORD outBytes, LPDWORD returned, LPOVERLAPPED overlapped) {
  Lock l;
  if (device != g_driver.handle || device == nullptr) return FALSE;
  Call c{code, {}, outBytes, overlapped == nullptr, acpinotify::WorkerForTesting() != nullptr};
  if (in != nullptr) {
    const auto* p = static_cast<const std::uint8_t*>(in);
    c.input.assign(p, p + inBytes);
  }
  g_driver.calls.push_back(c);
  if (returned) *returned = 0;
  if (code == acpinotify::kRequestSetEvent && inBytes == 4) {
    std::memcpy(&g_driver.eventValue, in, 4);
  } else if (code == acpinotify::kRequestFetchCode) {
    if (g_driver.codes.empty() || outBytes < 4) return FALSE;
    std::memcpy(out, &g_driver.codes.front(), 4);
    g_driver.codes.pop_front();
    if (returned) *returned = 4;
  }
  return TRUE;
}

std::vector<Call> Calls() {
  Lock l;
  return g_driver.calls;
}

std::size_t CountOf(DWORD code) {
  std::size_t n = 0;
  for (const Call& c : Calls()) n += c.code == code;
  return n;
}

// The driver signals the event it was handed.
void Signal(std::uint32_t code) {
  HANDLE event;
  {
    Lock l;
    g_driver.codes.push_back(code);
    event = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(g_driver.eventValue));
  }
  ASSERT_TRUE(SetEvent(event));
}

// Some other party signals the event by its name.
void SignalByName() {
  HANDLE named = OpenEventA(EVENT_MODIFY_STATE, FALSE, "KAVOACPI EVENT");
  ASSERT_NE(named, nullptr);
  SetEvent(named);
  CloseHandle(named);
}

bool WaitUntil(bool (*condition)(), DWORD ms) { return test_support::PumpUntil(condition, ms); }

// Stops the worker and waits for its end: everything it could post is in this
// thread's queue then.
::testing::AssertionResult WorkerEnded() {
  const HANDLE worker = acpinotify::WorkerForTesting();
  if (!worker) return ::testing::AssertionFailure() << "no worker";
  TerminateNotifyThread();
  // Bounded by the one-second poll of the stop flag; the margin is for a busy machine.
  if (WaitForSingleObject(worker, 5000) != WAIT_OBJECT_0)
    return ::testing::AssertionFailure() << "the worker did not end";
  BroadcastListener::Pump();
  return ::testing::AssertionSuccess();
}

class AcpiNotify : public ::testing::Test {
 protected:
  void SetUp() override {
    acpinotify::ResetForTesting();
    saved_ = acpinotify::Device();
    acpinotify::Device() = {&PlayedCreateFileA, &PlayedDeviceIoControl};
    Lock l;
    g_driver.present = true;
    g_driver.handle = nullptr;
    g_driver.calls.clear();
    g_driver.codes.clear();
    g_driver.eventValue = 0;
  }
  void TearDown() override {
    TerminateNotifyThread();
    acpinotify::ResetForTesting();
    acpinotify::Device() = saved_;
    BroadcastListener::Pump();
  }

  acpinotify::DeviceCalls saved_{};
  BroadcastListener listener_;
};

TEST_F(AcpiNotify, OpensTheDeviceSynchronouslyAndSendsTheFirstRequest) {
  ASSERT_TRUE(InitACPIInterface());
  EXPECT_EQ(g_driver.openedName, "\\\\.\\QRXACPI");
  EXPECT_EQ(g_driver.access, static_cast<DWORD>(GENERIC_READ | GENERIC_WRITE));
  EXPECT_EQ(g_driver.share, static_cast<DWORD>(FILE_SHARE_READ | FILE_SHARE_WRITE));
  EXPECT_EQ(g_driver.disposition, static_cast<DWORD>(OPEN_EXISTING));
  EXPECT_EQ(g_driver.flags, 0u);
  EXPECT_TRUE(g_driver.plainOpen);
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].code, acpinotify::kRequestOpen);
  EXPECT_TRUE(calls[0].input.empty());
  EXPECT_EQ(calls[0].outputBytes, 4u);
  EXPECT_TRUE(calls[0].synchronous);
}

TEST_F(AcpiNotify, StartsTheWorkerBeforeHandingTheNamedEventToTheDevice) {
  ASSERT_TRUE(InitACPIInterface());
  ASSERT_EQ(InitNotifyThread(), 0);
  const auto calls = Calls();
  ASSERT_EQ(calls.size(), 3u);

  // A 64-bit process sends the inline INIT block: fixed word 2, "INIT", one
  // argument of 8 bytes, then the argument (integer, 4 bytes, value 0).
  EXPECT_EQ(calls[1].code, 0x222404u);
  const std::vector<std::uint8_t> init = {0x02, 0x00, 0x00, 0x00, 'I',  'N',  'I',  'T',
                                          0x01, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00,
                                          0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00};
  EXPECT_EQ(calls[1].input, init);
  EXPECT_EQ(calls[1].outputBytes, 1024u);
  EXPECT_FALSE(calls[1].workerRunning);

  EXPECT_EQ(calls[2].code, 0x222400u);
  EXPECT_EQ(calls[2].input.size(), 4u);
  EXPECT_EQ(calls[2].outputBytes, 4u);
  EXPECT_TRUE(calls[2].workerRunning);
  for (const Call& c : calls) EXPECT_TRUE(c.synchronous);

  // The handed value is the named event: a signal by name wakes the worker.
  listener_.Clear();
  {
    Lock l;
    g_driver.codes.push_back(7);
  }
  SignalByName();
  const auto& got = listener_.WaitFor(1, 5000);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, 0x01000007u);
}

TEST_F(AcpiNotify, EachSignalGivesOneBroadcastWithTheFamilyBitSet) {
  ASSERT_TRUE(InitACPIInterface());
  ASSERT_EQ(InitNotifyThread(), 0);
  const std::uint32_t codes[] = {5, 0x80, 0x00FFFFFF, 0x00000000, 0xFE000001};
  for (std::size_t i = 0; i < std::size(codes); ++i) {
    Signal(codes[i]);
    const auto& got = listener_.WaitFor(i + 1, 5000);
    ASSERT_EQ(got.size(), i + 1);
    EXPECT_EQ(got[i].wParam, 0x2255u);
    EXPECT_EQ(got[i].lParam, codes[i] | 0x01000000u);
  }
  ASSERT_TRUE(WorkerEnded());
  EXPECT_EQ(listener_.received().size(), std::size(codes)) << "one broadcast a signal";
  EXPECT_EQ(CountOf(acpinotify::kRequestFetchCode), std::size(codes));
  for (const Call& c : Calls()) {
    if (c.code == acpinotify::kRequestFetchCode) {
      EXPECT_EQ(c.input.size(), 4u);
      EXPECT_EQ(c.outputBytes, 4u);
    }
  }
}

TEST_F(AcpiNotify, AFailedFetchPostsNothingAndTheWorkerCarriesOn) {
  ASSERT_TRUE(InitACPIInterface());
  ASSERT_EQ(InitNotifyThread(), 0);
  SignalByName();  // no code waiting: the fetch fails
  ASSERT_TRUE(WaitUntil([] { return CountOf(acpinotify::kRequestFetchCode) == 1; }, 5000));
  // The worker goes on: the next signal is answered, and it is the first
  // broadcast (one of the failed fetch would have come before it).
  Signal(9);
  const auto& got = listener_.WaitFor(1, 5000);
  ASSERT_TRUE(WorkerEnded());
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].lParam, 0x01000009u);
}

TEST_F(AcpiNotify, WithoutTheDeviceTheWorkerRunsButNeverPosts) {
  g_driver.present = false;
  EXPECT_FALSE(InitACPIInterface());
  EXPECT_EQ(InitNotifyThread(), 0);
  ASSERT_NE(acpinotify::WorkerForTesting(), nullptr);
  EXPECT_EQ(WaitForSingleObject(acpinotify::WorkerForTesting(), 0),
            static_cast<DWORD>(WAIT_TIMEOUT));
  SignalByName();
  SignalByName();
  ASSERT_TRUE(WorkerEnded());
  EXPECT_TRUE(listener_.received().empty());
  EXPECT_TRUE(Calls().empty());
}

TEST_F(AcpiNotify, TerminateReturnsAtOnceAndTheWorkerEndsWithinASecond) {
  ASSERT_TRUE(InitACPIInterface());
  ASSERT_EQ(InitNotifyThread(), 0);
  const HANDLE worker = acpinotify::WorkerForTesting();
  ASSERT_NE(worker, nullptr);

  const LONGLONG start = BroadcastListener::Now();
  TerminateNotifyThread();
  const double returnUs = BroadcastListener::Microseconds(BroadcastListener::Now() - start);
  // Bounded by the one-second poll; the margin is for a loaded machine.
  ASSERT_EQ(WaitForSingleObject(worker, 2500), static_cast<DWORD>(WAIT_OBJECT_0));
  const double endedMs = BroadcastListener::Microseconds(BroadcastListener::Now() - start) / 1000;
  DWORD exitCode = 1;
  GetExitCodeThread(worker, &exitCode);
  EXPECT_EQ(exitCode, 0u);
  std::printf("TerminateNotifyThread returned after %.1f us; the worker ended after %.0f ms\n",
              returnUs, endedMs);

  Signal(3);  // nobody left to answer it
  BroadcastListener::Pump();
  EXPECT_TRUE(listener_.received().empty());
}

TEST_F(AcpiNotify, TerminateBeforeInitDoesNotStopTheLaterWorker) {
  TerminateNotifyThread();
  ASSERT_TRUE(InitACPIInterface());
  ASSERT_EQ(InitNotifyThread(), 0);
  // A stale stop would end the worker after its first round at the latest: the
  // second signal is answered too.
  Signal(5);
  ASSERT_EQ(listener_.WaitFor(1, 5000).size(), 1u);
  Signal(6);
  const auto& got = listener_.WaitFor(2, 5000);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0].lParam, 0x01000005u);
  EXPECT_EQ(got[1].lParam, 0x01000006u);
}

TEST_F(AcpiNotify, AnEventThatCannotBeMadeClosesTheDeviceAndStartsNothing) {
  // Another object holds the event's name.
  const HANDLE squatter = CreateMutexA(nullptr, FALSE, "KAVOACPI EVENT");
  ASSERT_NE(squatter, nullptr);
  ASSERT_TRUE(InitACPIInterface());
  const HANDLE device = g_driver.handle;
  EXPECT_EQ(InitNotifyThread(), 1);
  EXPECT_EQ(acpinotify::WorkerForTesting(), nullptr);
  DWORD info = 0;
  EXPECT_FALSE(GetHandleInformation(device, &info));  // closed by the library
  EXPECT_EQ(Calls().size(), 1u);                      // only the first request
  CloseHandle(squatter);
}

}  // namespace
