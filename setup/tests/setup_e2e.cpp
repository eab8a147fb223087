// setup.exe as a package maintainer runs it: copies of the installed sample
// package, each one edited like another application's package, started under
// Wine against the real registry, files, shell and the stand-ins. Checks the
// console output byte for byte (the C runtime writes "\n" as CR LF into a file),
// the exit codes and what is left on the machine.
//
// Everything it creates is removed again and Wine's version setting is put back:
// the prefix is shared with the other test programs of a run.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr char kRecordKey[] = "SOFTWARE\\KAVO\\KvMessageController";
constexpr char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kTasksKey[] = "Software\\PioStandins\\Quillbeck\\Tasks";
constexpr char kWineKey[] = "Software\\Wine";

// ---- small tools -----------------------------------------------------------

std::string WinePath(std::string path) {
  for (char& c : path)
    if (c == '/') c = '\\';
  return !path.empty() && path[0] == '\\' ? "Z:" + path : path;
}

std::string Crlf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((from + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      CopyTree(from + "\\" + name, to + "\\" + name);
    else
      CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

void DeleteTree(const std::string& path) {
  if (!Exists(path)) return;
  const std::string from = path + std::string(2, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  SHFileOperationA(&op);
}

std::optional<std::string> RegText(HKEY root, const char* key, const char* name) {
  char value[1024];
  DWORD size = sizeof value;
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return std::nullopt;
  const LONG r = RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) return std::nullopt;
  return std::string(value, strnlen(value, size));
}

std::optional<DWORD> RegNumber(HKEY root, const char* key, const char* name) {
  DWORD value = 0, size = sizeof value;
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_QUERY_VALUE, &k) != ERROR_SUCCESS) return std::nullopt;
  const LONG r = RegQueryValueExA(k, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(k);
  if (r != ERROR_SUCCESS) return std::nullopt;
  return value;
}

void RegSetText(HKEY root, const char* key, const char* name, const std::string& value) {
  HKEY k;
  if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS) return;
  RegSetValueExA(k, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
  RegCloseKey(k);
}

void RegDeleteValueIn(HKEY root, const char* key, const char* name) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
  RegDeleteValueA(k, name);
  RegCloseKey(k);
}

bool KeyExists(HKEY root, const char* key) {
  HKEY k;
  if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

// Deletes a key whose subkeys the test knows (none here), then its parent when empty.
void RegDeleteKeyAndEmptyParent(HKEY root, const std::string& key) {
  RegDeleteKeyA(root, key.c_str());
  const std::string parent = key.substr(0, key.rfind('\\'));
  RegDeleteKeyA(root, parent.c_str());  // fails, harmlessly, while it has subkeys
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms = 10000) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

HWND ComponentWindow() { return FindWindowA("#32770", "KvMessageController"); }

DWORD ComponentProcessId() {
  DWORD pid = 0;
  if (const HWND w = ComponentWindow()) GetWindowThreadProcessId(w, &pid);
  return pid;
}

// Every running copy of the component, also one still starting without a window.
void KillComponents() {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(entry.szExeFile, "KvMessageController.exe") != 0) continue;
    if (const HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
      TerminateProcess(p, 1);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
  }
  CloseHandle(snapshot);
}

struct Result {
  DWORD code = 0xFFFFFFFF;
  std::string output;
  double ms = 0;
};

// ---- the machine and the packages ------------------------------------------

class SetupE2E : public ::testing::Test {
 protected:
  static std::string dist_;          // the installed sample package
  static std::string work_;          // package copies
  static std::string programFiles_;
  static std::string target_;        // where the sample package installs the component
  static std::optional<std::string> wineVersion_;

  static void SetUpTestSuite() {
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("PIO_DIST_DIR", buffer, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH) << "PIO_DIST_DIR is not set";
    dist_ = WinePath(buffer) + "\\package";
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
    DeleteTree(target_);
    RemoveDirectoryA((programFiles_ + "\\KAVO").c_str());
    RegDeleteKeyAndEmptyParent(HKEY_LOCAL_MACHINE, kRecordKey);
    RegDeleteValueIn(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController");
    RegDeleteValueIn(HKEY_CURRENT_USER, kTasksKey, "KvMessageController");
    RegDeleteKeyAndEmptyParent(HKEY_CURRENT_USER, kTasksKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\PioStandins");
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
    run.output = ReadFile(outFile);
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

std::string SetupE2E::dist_;
std::string SetupE2E::work_;
std::string SetupE2E::programFiles_;
std::string SetupE2E::target_;
std::optional<std::string> SetupE2E::wineVersion_;

// ---- scenarios ---------------------------------------------------------------

TEST_F(SetupE2E, UsageAndInvalidOptions) {
  const std::string a = Package("a", "1.9");
  const std::string usage = Crlf("setup.exe [-I | -U]\n-I \t Install ZidEzez\n-U \t Uninstall ZidEzez\n");
  for (const char* args : {"", "-I -U", "-U -U"}) {
    const Result r = RunSetup(a, args);
    EXPECT_EQ(r.code, 0u) << args;
    EXPECT_EQ(r.output, usage) << args;
  }
  for (const char* args : {"-i", "/I", "-u", "I"}) {
    const Result r = RunSetup(a, args);
    EXPECT_EQ(r.code, 14u) << args;
    EXPECT_EQ(r.output, Crlf("Invalid Parameter\n")) << args;
  }
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
  EXPECT_FALSE(Exists(target_));
}

TEST_F(SetupE2E, FirstInstall) {
  const std::string a = Package("a", "1.9");
  const Result r = RunSetup(a, "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(false, "1.9", "PioScreen", false) + FirstInstallTail());
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRecordKey, "VERSION"), "1.9");
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"), Program());
  for (const char* file : {"KvMessageController.exe", "KvMessageController.ini", "KvRemoteControlHooker.dll",
                           "KvACPINotify.dll"})
    EXPECT_TRUE(Exists(target_ + "\\" + file)) << file;
  EXPECT_EQ(ReadFile(Installed()), ReadFile(PackageConfig(a)));
  EXPECT_TRUE(ComponentRuns());
}

TEST_F(SetupE2E, SecondApplicationRegisters) {
  Install(Package("a", "1.9"));
  const Result r = RunSetup(Package("b", "1.9", "DemoApp", 3), "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "DemoApp", false) + UpdateTail());
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 2u);
  EXPECT_EQ(Registered(), (std::vector<std::string>{"PioScreen", "DemoApp"}));
  EXPECT_EQ(Get(Installed(), "DemoApp", "Version"), "3");
  EXPECT_EQ(Get(Installed(), "DemoApp", "HookType"), "0x2");
  EXPECT_EQ(Get(Installed(), "DemoApp", "group"), "0x0");
  EXPECT_EQ(Get(Installed(), "DemoApp", "HIDREG1"), "0x000C:0x00E9");
  EXPECT_EQ(Get(Installed(), "PioScreen", "HIDREG2"), "0xFFBC:0x0088");
  EXPECT_TRUE(ComponentRuns());
}

TEST_F(SetupE2E, UpdateComparesVersionsAsText) {
  Install(Package("a", "1.9"));
  const auto newer = [&](const std::string& name, const std::string& version) {
    const std::string p = Package(name, version, "DemoApp");
    std::ofstream(p + "\\Message Controller\\Marker" + name + ".dll") << "";
    Set(PackageConfig(p), "Keyboad_Group_Config", "1", "group of " + version);
    Set(PackageConfig(p), "HID_DataLoc_Config", "DATA_BYTE1", "0x7");
    return p;
  };
  // "1.10" sorts before "1.9": nothing of the component is updated.
  Result r = RunSetup(newer("b", "1.10"), "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.10", "DemoApp", false) + UpdateTail());
  EXPECT_FALSE(Exists(target_ + "\\Markerb.dll"));
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRecordKey, "VERSION"), "1.9");
  EXPECT_EQ(Get(Installed(), "Keyboad_Group_Config", "1"), "0x12005B,0x12005C,0x12005D,0x12005E");
  ASSERT_TRUE(ComponentRuns());

  const DWORD before = ComponentProcessId();
  r = RunSetup(newer("c", "2.0"), "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "2.0", "DemoApp", true) + UpdateTail());
  EXPECT_TRUE(Exists(target_ + "\\Markerc.dll"));
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRecordKey, "VERSION"), "2.0");
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 2u);
  EXPECT_EQ(Get(Installed(), "Keyboad_Group_Config", "1"), "group of 2.0");
  EXPECT_EQ(Get(Installed(), "Keyboad_Group_Config", "6"), "");
  EXPECT_EQ(Get(Installed(), "HID_DataLoc_Config", "DATA_BYTE1"), "7");
  EXPECT_EQ(Get(Installed(), "HID_DataLoc_Config", "DATA_BYTE3"), "0");
  EXPECT_EQ(Registered(), (std::vector<std::string>{"PioScreen", "DemoApp"}));
  EXPECT_TRUE(ComponentRuns());
  EXPECT_NE(ComponentProcessId(), before);  // stopped before the copy, started after
}

TEST_F(SetupE2E, SameVersionAgainOnlyRestarts) {
  const std::string a = Package("a", "1.9");
  Install(a);
  const DWORD before = ComponentProcessId();
  const std::string config = ReadFile(Installed());
  const Result r = RunSetup(a, "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) + UpdateTail());
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(ReadFile(Installed()), config);
  EXPECT_TRUE(ComponentRuns());
  EXPECT_NE(ComponentProcessId(), before);
}

TEST_F(SetupE2E, UnregisterOneOfTwo) {
  Install(Package("a", "1.9"));
  const std::string b = Package("b", "1.9", "DemoApp");
  Install(b);
  const Result r = RunSetup(b, "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "DemoApp", true) + UninstallTail());
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(Registered(), std::vector<std::string>{"PioScreen"});
  EXPECT_EQ(Get(Installed(), "MainConfig", "2"), "");
  EXPECT_EQ(Get(Installed(), "DemoApp", "Version"), "");
  EXPECT_TRUE(Exists(Program()));
  EXPECT_TRUE(ComponentRuns());

  // Again: no longer registered, so nothing happens and nothing is stopped.
  const DWORD running = ComponentProcessId();
  const Result again = RunSetup(b, "-U");
  EXPECT_EQ(again.code, 0u);
  EXPECT_EQ(again.output, StartUp(true, "1.9", "DemoApp", false) + UninstallTail());
  EXPECT_EQ(ComponentProcessId(), running);
}

TEST_F(SetupE2E, UnregisterTheLastRemovesEverything) {
  const std::string a = Package("a", "1.9");
  Install(a);
  const Result r = RunSetup(a, "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) + UninstallTail());
  EXPECT_FALSE(Exists(target_));
  EXPECT_TRUE(Exists(programFiles_));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
  EXPECT_FALSE(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"));
  EXPECT_EQ(ComponentWindow(), nullptr);
}

TEST_F(SetupE2E, ComponentThatWillNotCloseEndsWithFive) {
  const std::string a = Package("a", "1.9");
  Install(a);
  KillComponents();
  std::string command = "\"" + Program() + "\" --ignore-close";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION stubborn{};
  ASSERT_TRUE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, target_.c_str(), &si, &stubborn));
  ASSERT_TRUE(WaitUntil([&] { return ComponentProcessId() == stubborn.dwProcessId; }));

  Result r = RunSetup(Package("b", "2.0", "DemoApp"), "-I");
  EXPECT_EQ(r.code, 5u);
  EXPECT_EQ(r.output, StartUp(true, "2.0", "DemoApp", false));
  r = RunSetup(a, "-U");
  EXPECT_EQ(r.code, 5u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) + Crlf("Begin Uninstall...\n"));
  // Nothing changed.
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRecordKey, "VERSION"), "1.9");
  EXPECT_EQ(Registered(), std::vector<std::string>{"PioScreen"});
  EXPECT_TRUE(Exists(Program()));

  TerminateProcess(stubborn.hProcess, 1);
  WaitForSingleObject(stubborn.hProcess, 5000);
  CloseHandle(stubborn.hProcess);
  CloseHandle(stubborn.hThread);
}

TEST_F(SetupE2E, WindowsNamesChooseTheAutostartForm) {
  const std::string a = Package("a", "1.9");
  struct Case {
    const char* wine;
    const char* name;
    bool task;
  };
  for (const Case& c : {Case{"winxp", "Microsoft Windows XP", false}, Case{"vista", "Windows Vista", true},
                        Case{"win7", "", false}}) {
    SCOPED_TRACE(c.wine);
    SetWineVersion(std::string(c.wine));
    Result r = RunSetup(a, "-I");
    EXPECT_EQ(r.code, 0u);
    EXPECT_EQ(r.output, StartUp(false, "1.9", "PioScreen", false, c.name) + FirstInstallTail());
    EXPECT_TRUE(ComponentRuns());
    if (c.task) {
      // The task tool is started, not waited for.
      EXPECT_TRUE(WaitUntil([] { return RegText(HKEY_CURRENT_USER, kTasksKey, "KvMessageController").has_value(); }));
      EXPECT_EQ(RegText(HKEY_CURRENT_USER, kTasksKey, "KvMessageController"), Program());
      EXPECT_FALSE(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"));
    } else {
      EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"), Program());
      EXPECT_FALSE(RegText(HKEY_CURRENT_USER, kTasksKey, "KvMessageController"));
    }
    r = RunSetup(a, "-U");
    EXPECT_EQ(r.code, 0u);
    EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true, c.name) + UninstallTail());
    EXPECT_TRUE(WaitUntil([] { return !RegText(HKEY_CURRENT_USER, kTasksKey, "KvMessageController"); }));
    EXPECT_FALSE(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"));
    EXPECT_FALSE(Exists(target_));
  }
}

TEST_F(SetupE2E, DangerousPackagesAreRefusedWithNothingDeleted) {
  Install(Package("a", "1.9"));
  ASSERT_TRUE(ComponentRuns());
  const DWORD running = ComponentProcessId();
  const std::string canary = programFiles_ + "\\pio-setup-canary.txt";
  std::ofstream(canary) << "canary";
  // A sibling of Program Files laid out as an installed component with this
  // application as the last one: what "KAVO" (no leading backslash) would name.
  const std::string sibling = programFiles_ + "KAVO";
  CreateDirectoryA(sibling.c_str(), nullptr);
  for (const char* file : {"KvMessageController.exe", "KvRemoteControlHooker.dll", "KvACPINotify.dll"})
    std::ofstream(sibling + "\\" + file) << "";
  Set(sibling + "\\KvMessageController.ini", "MainConfig", "1", "PioScreen");

  int n = 0;
  for (const char* sub : {"\\", "\\.", "\\..", "\\KAVO\\..", "\\KAVO\\Message Controller\\..\\..", "KAVO",
                          "\\. ", "\\*"}) {
    const std::string p = Package("bad" + std::to_string(++n), "1.9");
    Set(p + "\\setup.ini", "SETUP_INFO", "SubTargetPath", sub);
    for (const char* option : {"-U", "-I"}) {
      const Result r = RunSetup(p, option);
      EXPECT_EQ(r.code, 15u) << sub << " " << option;
      EXPECT_EQ(r.output, Crlf("OS Version : \nInvalid SubTargetPath\n")) << sub << " " << option;
    }
  }
  for (const char* exe : {"..\\..\\KvMessageController", "Message Controller\\KvMessageController"}) {
    const std::string p = Package("bad" + std::to_string(++n), "1.9");
    Set(p + "\\setup.ini", "SETUP_INFO", "ExeFileName", exe);
    for (const char* option : {"-U", "-I"}) {
      const Result r = RunSetup(p, option);
      EXPECT_EQ(r.code, 15u) << exe << " " << option;
      EXPECT_EQ(r.output, Crlf("OS Version : \nInvalid ExeFileName\n")) << exe << " " << option;
    }
  }

  EXPECT_EQ(ReadFile(canary), "canary");
  EXPECT_TRUE(Exists(sibling + "\\KvMessageController.exe"));
  EXPECT_TRUE(Exists(Program()));
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"), Program());
  EXPECT_EQ(ComponentProcessId(), running);  // not even stopped

  DeleteFileA(canary.c_str());
  DeleteTree(sibling);
}

// Not a pass/fail check: prints how long an update run takes when the component
// closes at once, against the two seconds a fixed wait would cost.
TEST_F(SetupE2E, UpdateRunTime) {
  const std::string a = Package("a", "1.0");
  Install(a);
  std::vector<double> times;
  for (int i = 1; i <= 5; ++i) {
    const std::string version = "2." + std::to_string(i);
    const std::string p = Package("u" + std::to_string(i), version);
    ASSERT_TRUE(ComponentRuns());
    const Result r = RunSetup(p, "-I");
    ASSERT_EQ(r.code, 0u) << r.output;
    ASSERT_EQ(RegText(HKEY_LOCAL_MACHINE, kRecordKey, "VERSION"), version);
    times.push_back(r.ms);
  }
  // What starting any program costs here: setup showing its usage text.
  std::vector<double> bare;
  for (int i = 0; i < 5; ++i) bare.push_back(RunSetup(a, "").ms);
  const auto median = [](std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  };
  std::printf("setup -I, update with a prompt component, wall time (ms):");
  for (double t : times) std::printf(" %.0f", t);
  std::printf("\n  median %.0f ms (goal under 500 ms; the fixed wait alone was 2000 ms);"
              " setup showing its usage text: median %.0f ms\n",
              median(times), median(bare));
}

}  // namespace
