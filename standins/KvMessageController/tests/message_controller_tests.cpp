// The message-controller stand-in as the installer and the libraries meet it:
// a hidden "#32770" window titled "KvMessageController", the libraries beside it
// called in the host's order, and an end on WM_CLOSE.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "files.h"
#include "message_pump.h"
#include "wine_paths.h"

namespace {

using test_support::ReadWholeFile;
using test_support::WindowsPath;

struct FindData {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindProc(HWND window, LPARAM param) {
  auto* data = reinterpret_cast<FindData*>(param);
  char cls[64] = {}, title[64] = {};
  DWORD pid = 0;
  GetClassNameA(window, cls, sizeof cls);
  GetWindowTextA(window, title, sizeof title);
  GetWindowThreadProcessId(window, &pid);
  if (pid == data->processId && std::string(cls) == "#32770" &&
      std::string(title) == "KvMessageController") {
    data->found = window;
    return FALSE;
  }
  return TRUE;
}

// One copy of the host in a folder of its own, with the chosen libraries beside it.
class Host : public ::testing::Test {
 protected:
  std::string folder;
  PROCESS_INFORMATION process{};

  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = std::string(temp) + "kvmc-host-" + info->name();
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "\\calls.log").c_str());
    ASSERT_TRUE(CopyFileA(WindowsPath(HOST_EXE).c_str(), (folder + "\\KvMessageController.exe").c_str(), FALSE));
  }

  void TearDown() override {
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
      WaitForSingleObject(process.hProcess, 5000);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
    for (const char* name : {"KvMessageController.exe", "KvRemoteControlHooker.dll", "KvACPINotify.dll", "calls.log"})
      DeleteFileA((folder + "\\" + name).c_str());
    RemoveDirectoryA(folder.c_str());
  }

  void Beside(const char* built, const char* name) {
    ASSERT_TRUE(CopyFileA(WindowsPath(built).c_str(), (folder + "\\" + name).c_str(), FALSE));
  }

  HWND Start(const char* arguments = "") {
    std::string command = "\"" + folder + "\\KvMessageController.exe\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &process))
      return nullptr;
    FindData data{process.dwProcessId, nullptr};
    test_support::PumpUntil([&] {
      EnumWindows(FindProc, reinterpret_cast<LPARAM>(&data));
      return data.found != nullptr;
    }, 10000);
    return data.found;
  }

  bool EndsWithin(DWORD ms) { return WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0; }
  std::string Calls() { return ReadWholeFile(folder + "\\calls.log"); }
};

TEST_F(Host, CallsBothLibrariesInTheHostOrderAndEndsOnClose) {
  Beside(RECORDING_HOOKER, "KvRemoteControlHooker.dll");
  Beside(RECORDING_ACPI, "KvACPINotify.dll");
  const HWND window = Start();
  ASSERT_TRUE(window);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(Calls(), "InitRemoteControlHook\nSetRemoteControlHook\nInitACPIInterface\nInitNotifyThread\n");

  // Synchronous, as the installer sends it: the libraries are stopped when it returns.
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(Calls(),
            "InitRemoteControlHook\nSetRemoteControlHook\nInitACPIInterface\nInitNotifyThread\n"
            "UnSetRemoteControlHook\nTerminateNotifyThread\n");
  ASSERT_TRUE(EndsWithin(5000));
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(Host, MissingLibrariesAndExportsAreSkipped) {
  // A library without the notifier's exports under the notifier's name.
  Beside(RECORDING_HOOKER, "KvACPINotify.dll");
  const HWND window = Start();
  ASSERT_TRUE(window);
  EXPECT_EQ(Calls(), "");
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(EndsWithin(5000));
  EXPECT_EQ(Calls(), "");
}

TEST_F(Host, NotALibraryAtAllIsSkipped) {
  std::ofstream(folder + "\\KvRemoteControlHooker.dll") << "not a library";
  Beside(RECORDING_ACPI, "KvACPINotify.dll");
  const HWND window = Start();
  ASSERT_TRUE(window);
  EXPECT_EQ(Calls(), "InitACPIInterface\nInitNotifyThread\n");
  PostMessageA(window, WM_CLOSE, 0, 0);
  ASSERT_TRUE(EndsWithin(5000));
  EXPECT_EQ(Calls(), "InitACPIInterface\nInitNotifyThread\nTerminateNotifyThread\n");
}

TEST_F(Host, IgnoreCloseKeepsTheWindow) {
  const HWND window = Start("--ignore-close");
  ASSERT_TRUE(window);
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_FALSE(EndsWithin(300));
  EXPECT_TRUE(IsWindow(window));
}

}  // namespace
