#include "acpi_notify.h"

#include <atomic>
#include <cstdint>
#include <vector>

#include "acpi_requests.h"
#include "broadcast.h"

namespace acpinotify {
namespace {

constexpr char kDeviceName[] = "\\\\.\\QRXACPI";
constexpr char kEventName[] = "KAVOACPI EVENT";
// The worker's wait: also how often it looks at the stop flag.
constexpr DWORD kStopPollMs = 1000;

using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);

// Module state, one per process. The device handle is written by the host's thread
// and read by the worker, hence atomic; the rest is written before the worker starts.
std::atomic<HANDLE> g_device{nullptr};  // none when the open failed
bool g_wow64 = false;
HANDLE g_event = nullptr;
HANDLE g_worker = nullptr;
std::atomic<bool> g_stop{false};
// Each worker holds a reference on this module, so that a host that unloads the
// library right after TerminateNotifyThread does not pull the code from under it.
std::atomic<HMODULE> g_module{nullptr};

const UINT g_broadcastMessage = broadcast::RegisterMessageA();
// Absent before Windows XP SP2: the process is then taken as native.
const IsWow64ProcessFn g_isWow64Process = reinterpret_cast<IsWow64ProcessFn>(
    GetProcAddress(GetModuleHandleA("kernel32"), "IsWow64Process"));

DeviceCalls g_deviceCalls = {&CreateFileA, &DeviceIoControl};

// All requests are synchronous. Without a device there is nothing to ask.
bool Request(DWORD code, void* in, DWORD inBytes, void* out, DWORD outBytes) {
  const HANDLE device = g_device.load();
  if (device == nullptr) return false;
  DWORD returned = 0;
  return g_deviceCalls.deviceIoControl(device, code, in, inBytes, out, outBytes, &returned,
                                       nullptr) != FALSE;
}

DWORD WINAPI NotificationWorker(LPVOID param) {
  const HANDLE event = param;
  while (!g_stop.load()) {
    if (WaitForSingleObject(event, kStopPollMs) != WAIT_OBJECT_0) continue;
    // One wake-up, one fetch, one post; a fetch that fails posts nothing rather
    // than a code the device never sent.
    std::uint32_t in = 0, code = 0;
    if (Request(kRequestFetchCode, &in, sizeof in, &code, sizeof code)) {
      PostMessageA(HWND_BROADCAST, g_broadcastMessage, broadcast::kFamilyAcpi,
                   static_cast<LPARAM>(broadcast::AcpiParam(code)));
    }
  }
  if (const HMODULE self = g_module.load()) FreeLibraryAndExitThread(self, 0);
  return 0;
}

void CloseDevice() {
  const HANDLE device = g_device.exchange(nullptr);
  if (device != nullptr) CloseHandle(device);
}

}  // namespace

DeviceCalls& Device() { return g_deviceCalls; }

HANDLE WorkerForTesting() { return g_worker; }

void ResetForTesting() {
  g_stop = true;
  if (g_worker != nullptr) {
    WaitForSingleObject(g_worker, 5000);
    CloseHandle(g_worker);
    g_worker = nullptr;
  }
  if (g_event != nullptr) CloseHandle(g_event);
  g_event = nullptr;
  CloseDevice();
  g_wow64 = false;
  g_stop = false;
}

}  // namespace acpinotify

using namespace acpinotify;

bool __cdecl InitACPIInterface(void) {
  g_wow64 = false;
  BOOL wow64 = FALSE;
  if (g_isWow64Process != nullptr && g_isWow64Process(GetCurrentProcess(), &wow64)) {
    g_wow64 = wow64 != FALSE;
  }

  g_device = nullptr;
  const HANDLE device = g_deviceCalls.createFileA(kDeviceName, GENERIC_READ | GENERIC_WRITE,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                  OPEN_EXISTING, 0, nullptr);
  if (device == INVALID_HANDLE_VALUE || device == nullptr) return false;
  g_device = device;

  // Its answer means nothing to us; a failure changes nothing.
  std::uint32_t out = 0;
  Request(kRequestOpen, nullptr, 0, &out, sizeof out);
  return true;
}

int __cdecl InitNotifyThread(void) {
  g_stop = false;

  // Automatic reset: signals that come while the worker is busy merge into one.
  const HANDLE event = CreateEventA(nullptr, FALSE, FALSE, kEventName);
  if (event == nullptr) {
    CloseDevice();
    return 1;
  }
  g_event = event;

  const InitRequestForm form = ChooseInitRequestForm(sizeof(void*) == 8, g_wow64);
  const auto arguments = InitArgumentBlock();
  // Only a 32-bit process sends the pointer form, so the address fits.
  const auto address =
      static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(arguments.data()));
  InitRequest init = BuildInitRequest(form, address);
  std::vector<std::uint8_t> initOutput(kInitOutputBytes);
  Request(kRequestCallInit, init.bytes.data(), static_cast<DWORD>(init.size), initOutput.data(),
          static_cast<DWORD>(initOutput.size()));

  HMODULE self = nullptr;
  if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCSTR>(&NotificationWorker), &self)) {
    self = nullptr;
  }
  g_module = self;
  const HANDLE worker = CreateThread(nullptr, 0, NotificationWorker, event, 0, nullptr);
  if (worker == nullptr) {
    if (self != nullptr) FreeLibrary(self);
    return 1;
  }
  g_worker = worker;

  // The device gets the event only now, when someone is waiting on it. Handle
  // values fit in 32 bits in 64-bit processes too.
  std::uint32_t handleValue = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(event));
  std::uint32_t out = 0;
  Request(kRequestSetEvent, &handleValue, sizeof handleValue, &out, sizeof out);
  return 0;
}

void __cdecl TerminateNotifyThread(void) { g_stop = true; }
