// Both shipped libraries, loaded by a host program from beside it, under Wine:
// no ACPI driver and no HID device exist here, so this is the path of a machine
// without them.
#include <gtest/gtest.h>

#include <string>

#include "broadcast_listener.h"
#include "message_pump.h"

namespace {

std::string HostFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s(path);
  return s.substr(0, s.rfind('\\')) + "\\host";
}

HWND HostWindow() { return FindWindowA("PioTestMessageHost", nullptr); }
HWND HookWindow() { return FindWindowA("KvRemoteControl", "KvRemoteControlWnd"); }

// Every case has a host of its own, started afresh and ended after it, so that no
// case depends on what an earlier one left running or stopped.
class LibraryHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(nullptr, HostWindow()) << "a host of an earlier run still runs";
    const std::string ini = HostFolder() + "\\KvMessageController.ini";
    WritePrivateProfileStringA("MainConfig", "1", "PioScreen", ini.c_str());
    WritePrivateProfileStringA("PioScreen", "HIDREG1", "0x000C:0x0001", ini.c_str());

    std::string command = "\"" + HostFolder() + "\\mc_test_host.exe\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                               HostFolder().c_str(), &si, &process_));
    ASSERT_TRUE(test_support::PumpUntil(
        [this] { return HostWindow() != nullptr || Ended(0); }, 30000));
  }
  void TearDown() override {
    if (process_.hProcess != nullptr) {
      if (!Ended(0)) {
        if (HWND host = HostWindow()) PostMessageA(host, WM_CLOSE, 0, 0);
        if (!Ended(15000)) TerminateProcess(process_.hProcess, 99);
        WaitForSingleObject(process_.hProcess, 5000);
      }
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    DeleteFileA((HostFolder() + "\\KvMessageController.ini").c_str());
  }
  bool Ended(DWORD ms) const {
    return WaitForSingleObject(process_.hProcess, ms) == WAIT_OBJECT_0;
  }
  // Closes the host and waits for its end: all it could ever post is here then.
  void EndHost() {
    ASSERT_NE(HostWindow(), nullptr);
    PostMessageA(HostWindow(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(Ended(15000));
  }
  PROCESS_INFORMATION process_{};
};

TEST_F(LibraryHost, LoadsBothLibrariesAndCallsEveryExportInOrder) {
  DWORD exitCode = 0;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  ASSERT_EQ(exitCode, static_cast<DWORD>(STILL_ACTIVE)) << "2: a library missing, 3: an export";
  ASSERT_NE(HostWindow(), nullptr);
  const LRESULT results = SendMessageA(HostWindow(), WM_APP, 0, 0);
  EXPECT_TRUE(results & 1) << "InitRemoteControlHook";
  EXPECT_TRUE(results & 2) << "SetRemoteControlHook";
  EXPECT_FALSE(results & 4) << "InitACPIInterface without a driver";
  EXPECT_EQ((results >> 8) & 0xFF, 0) << "InitNotifyThread without a driver";

  const HWND hook = HookWindow();
  ASSERT_NE(hook, nullptr);
  DWORD owner = 0;
  GetWindowThreadProcessId(hook, &owner);
  EXPECT_EQ(owner, process_.dwProcessId);
  EXPECT_FALSE(IsWindowVisible(hook));
}

TEST_F(LibraryHost, WithoutDriverOrDeviceNothingIsEverPosted) {
  BroadcastListener listener;
  // The notifier's event exists and wakes its worker, which has no device to ask.
  HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, "KAVOACPI EVENT");
  ASSERT_NE(event, nullptr);
  SetEvent(event);
  CloseHandle(event);
  // A raw-input message the system cannot read.
  PostMessageA(HookWindow(), WM_INPUT, RIM_INPUT, 0x1234);
  EndHost();
  BroadcastListener::Pump();
  EXPECT_TRUE(listener.received().empty());
}

TEST_F(LibraryHost, UnhookingAndHookingAgain) {
  ASSERT_NE(HostWindow(), nullptr);
  EXPECT_NE(SendMessageA(HostWindow(), WM_APP + 1, 0, 0), 0);
  EXPECT_EQ(HookWindow(), nullptr);
  EXPECT_EQ(SendMessageA(HostWindow(), WM_APP + 1, 0, 0), 0);
  EXPECT_EQ(SendMessageA(HostWindow(), WM_APP + 2, 0, 0), 1);
  EXPECT_NE(HookWindow(), nullptr);
}

TEST_F(LibraryHost, ShutsDownCleanlyEvenWhenUnloadingRightAfterStopping) {
  EndHost();
  DWORD exitCode = 1;
  GetExitCodeProcess(process_.hProcess, &exitCode);
  EXPECT_EQ(exitCode, 0u) << std::hex << exitCode;
  EXPECT_EQ(HookWindow(), nullptr);
}

}  // namespace
