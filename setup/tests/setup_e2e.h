// The machine and the packages of setup.exe's end-to-end scenarios: copies of
// the installed sample package, each one edited like another application's
// package, started under Wine against the real registry, files, shell and the
// stand-ins. Scenarios check the console output byte for byte (the C runtime
// writes "\n" as CR LF into a file), the exit codes and what is left on the
// machine.
//
// Everything a scenario creates is removed again and Wine's version setting is
// put back: the prefix is shared with the other test programs of a run. Files
// are made only below C:\ (temp and Program Files), which the prefix owns.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "file_tree.h"
#include "files.h"
#include "message_pump.h"
#include "processes.h"
#include "wine_paths.h"

namespace setup_e2e {

constexpr char kRecordKey[] = "SOFTWARE\\KAVO\\KvMessageController";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kWineKey[] = "Software\\Wine";

// ---- small tools -----------------------------------------------------------

using test_support::WindowsPath;

inline std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

using test_support::CopyTree;
using test_support::DeleteTree;
using test_support::Exists;
using test_support::ReadWholeFile;

inline std::optional<std::string> RegText(HKEY root, const char* key, const char* name) {
  char value[1024];
  DWORD size = sizeof value;
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return std::nullopt;
  const LONG r = RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) return std::nullopt;
  return std::string(value, strnlen(value, size));
}

inline std::optional<DWORD> RegNumber(HKEY root, const char* key, const char* name) {
  DWORD value = 0, size = sizeof value;
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return std::nullopt;
  const LONG r = RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) return std::nullopt;
  return value;
}

inline void RegSetText(HKEY root, const char* key, const char* name, const std::string& value) {
  HKEY k;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}

inline void RegSetNumber(HKEY root, const char* key, const char* name, DWORD value) {
  HKEY k;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExA(k, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(k);
}

inline void RegDeleteValueIn(HKEY root, const char* key, const char* name) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
  RegDeleteValueA(k, name);
  RegCloseKey(k);
}

inline bool KeyExists(HKEY root, const char* key) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

// Deletes a key whose subkeys the test knows (none here), then its parent when empty.
inline void RegDeleteKeyAndEmptyParent(HKEY root, const std::string& key) {
  RegDeleteKeyA(root, key.c_str());
  const std::string parent = key.substr(0, key.rfind('\\'));
  RegDeleteKeyA(root, parent.c_str());  // fails, harmlessly, while it has subkeys
}

inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000) {
  return test_support::PumpUntil(done, ms);
}

// The Task Scheduler keeps a registered task as a file of its name here.
inline bool TaskExists(const std::string& name) {
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, MAX_PATH);
  return Exists(std::string(windows) + "\\system32\\tasks\\" + name);
}

inline HWND ComponentWindow() { return FindWindowA("#32770", "KvMessageController"); }

inline DWORD ComponentProcessId() {
  DWORD pid = 0;
  if (const HWND w = ComponentWindow()) GetWindowThreadProcessId(w, &pid);
  return pid;
}

// Every running copy of the component, also one still starting without a window.
inline std::vector<DWORD> ComponentProcesses() {
  return test_support::ProcessesNamed("KvMessageController.exe");
}

inline void KillComponents() { test_support::EndProcessesNamed("KvMessageController.exe"); }

struct Result {
  DWORD code = 0xFFFFFFFF;
  std::string output;
  double ms = 0;
};

// ---- the machine and the packages ------------------------------------------

class SetupE2E : public ::testing::Test {
 protected:
  static inline std::string dist_;          // the installed sample package
  static inline std::string work_;          // package copies
  static inline std::string programFiles_;
  static inline std::string target_;        // where the sample package installs the component
  static inline std::optional<std::string> wineVersion_;

  static void SetUpTestSuite() {
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("PIO_DIST_DIR", buffer, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH) << "PIO_DIST_DIR is not set";
    dist_ = WindowsPath(buffer) + "\\package";
    ASSERT_TRUE(Exists(dist_ + "\\setup.exe")) << dist_ << ": run cmake --install first";
    GetTempPathA(MAX_PATH, buffer);
    work_ = std::string(buffer) + "pio-setup-e2e";
    SHGetSpecialFolderPathA(nullptr, buffer, CSIDL_PROGRAM_FILES, FALSE);
    programFiles_ = buffer;
    GetPrivateProfileStringA("SETUP_INFO", "SubTargetPath", "", buffer, MAX_PATH, (dist_ + "\\setup.ini").c_str());
    ASSERT_STREQ(buffer, "\\KAVO\\Message Controller");
    target_ = programFiles_ + buffer;
    wineVersion_ = RegText(HKEY_CURRENT_USER, kWineKey, "Version");
  }

  static void TearDownTestSuite() {
    CleanMachine();
    SetWineVersion(wineVersion_);
    DeleteTree(work_);
  }

  void SetUp() override {
    CleanMachine();
    DeleteTree(work_);
    CreateDirectoryA(work_.c_str(), nullptr);
  }
  void TearDown() override {
    CleanMachine();
    SetWineVersion(wineVersion_);
  }

  static void CleanMachine() {
    KillComponents();
    DeleteTree(programFiles_ + "\\KAVO");
    RegDeleteKeyAndEmptyParent(HKEY_LOCAL_MACHINE, kRecordKey);
    RegDeleteValueIn(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController");
    if (TaskExists("KvMessageController")) RunTaskTool("-D -T:\"KvMessageController\"");
  }

  // The task tool of the sample package, as setup starts it; its exit code.
  static DWORD RunTaskTool(const std::string& arguments) {
    std::string command = "\"" + dist_ + "\\Quillbeck.exe\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    DWORD code = 0xFFFFFFFF;
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
      return code;
    if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return code;
  }

  static void SetWineVersion(const std::optional<std::string>& version) {
    if (version)
      RegSetText(HKEY_CURRENT_USER, kWineKey, "Version", *version);
    else
      RegDeleteValueIn(HKEY_CURRENT_USER, kWineKey, "Version");
  }

  // A copy of the sample package for application `app` carrying component
  // version `version`; the sample's own application is "PioScreen".
  std::string Package(const std::string& name, const std::string& version,
                      const std::string& app = "PioScreen", int appVersion = 1) {
    const std::string folder = work_ + "\\" + name;
    CopyTree(dist_, folder);
    // Without the libraries of the other folders in this build, empty files
    // stand for them: the component then counts as installed all the same.
    for (const char* library : {"KvRemoteControlHooker.dll", "KvACPINotify.dll"}) {
      const std::string path = folder + "\\Message Controller\\" + library;
      if (!Exists(path)) std::ofstream(path) << "";
    }
    Set(folder + "\\setup.ini", "SETUP_INFO", "Version", version);
    const std::string config = PackageConfig(folder);
    Set(config, "MainConfig", "1", app);
    if (app != "PioScreen") {
      Set(config, app, "Version", std::to_string(appVersion));
      Set(config, app, "HookType", "0x2");
      Set(config, app, "HIDREG1", "0x000C:0x00E9");
    } else {
      Set(config, app, "Version", std::to_string(appVersion));
    }
    return folder;
  }

  static std::string PackageConfig(const std::string& folder) {
    return folder + "\\Message Controller\\KvMessageController.ini";
  }
  static std::string Installed() { return target_ + "\\KvMessageController.ini"; }
  static std::string Program() { return target_ + "\\KvMessageController.exe"; }

  static void Set(const std::string& file, const std::string& section, const std::string& key,
                  const std::string& value) {
    WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
  }
  static std::string Get(const std::string& file, const std::string& section, const std::string& key) {
    char value[256];
    GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value, sizeof value, file.c_str());
    return value;
  }
  static std::vector<std::string> Registered() {
    std::vector<std::string> names;
    for (int i = 1;; ++i) {
      const std::string name = Get(Installed(), "MainConfig", std::to_string(i));
      if (name.empty()) return names;
      names.push_back(name);
    }
  }

  Result RunSetup(const std::string& package, const std::string& arguments) {
    const std::string outFile = work_ + "\\out.txt";
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE out = CreateFileA(outFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = out;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::string command = "\"" + package + "\\setup.exe\"" + (arguments.empty() ? "" : " " + arguments);
    PROCESS_INFORMATION pi{};
    Result run;
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    // Started from the work folder: the package folder comes from setup's own path.
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, work_.c_str(), &si, &pi)) {
      if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 99);
      QueryPerformanceCounter(&t1);
      GetExitCodeProcess(pi.hProcess, &run.code);
      CloseHandle(pi.hProcess);
      CloseHandle(pi.hThread);
    }
    CloseHandle(out);
    run.ms = 1000.0 * static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
    run.output = ReadWholeFile(outFile);
    return run;
  }

  static bool ComponentRuns() { return WaitUntil([] { return ComponentWindow() != nullptr; }); }

  // An install as a maintainer runs it, who lets the started component come up
  // before the next run (it is started, not waited for).
  void Install(const std::string& package) {
    const Result r = RunSetup(package, "-I");
    ASSERT_EQ(r.code, 0u) << r.output;
    ASSERT_TRUE(ComponentRuns());
  }

  static std::string StartUp(bool componentInstalled, const std::string& version, const std::string& app,
                             bool registered, const std::string& os = "") {
    return Crlf("OS Version : " + os + "\n" +
                (componentInstalled ? "ZidEzez was installed\n" : "ZidEzez wasn't installed\n") +
                "Prepare install ZidEzez " + version + "\n" + "ZidEzez install for " + app + "\n" + app +
                (registered ? " was installed\n" : " wasn't installed\n") + "setup initial complete\n");
  }
  static std::string FirstInstallTail() {
    return Crlf("begin install...\ninstall success...\nOpen ZidEzez Success...\n");
  }
  static std::string UpdateTail() {
    return Crlf("Begin update ZidEzez...\nUpdate ZidEzez success...\nOpen ZidEzez Success...\n");
  }
  static std::string UninstallTail() { return Crlf("Begin Uninstall...\nUninstall complete...\n"); }
};

}  // namespace setup_e2e
