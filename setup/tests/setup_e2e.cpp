// setup.exe's scenarios of the Part's command line and flows, as a package
// maintainer runs it (machine and packages: setup_e2e.h).
#include "setup_e2e.h"

namespace setup_e2e {
namespace {

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
  EXPECT_EQ(ReadWholeFile(Installed()), ReadWholeFile(PackageConfig(a)));
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
  const std::string config = ReadWholeFile(Installed());
  const Result r = RunSetup(a, "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) + UpdateTail());
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(ReadWholeFile(Installed()), config);
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
      // A real scheduled task named after the program; the tool is started, not waited for.
      EXPECT_TRUE(WaitUntil([] { return TaskExists("KvMessageController"); }));
      EXPECT_FALSE(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"));
    } else {
      EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"), Program());
      EXPECT_FALSE(TaskExists("KvMessageController"));
    }
    r = RunSetup(a, "-U");
    EXPECT_EQ(r.code, 0u);
    EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true, c.name) + UninstallTail());
    EXPECT_TRUE(WaitUntil([] { return !TaskExists("KvMessageController"); }));
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

  EXPECT_EQ(ReadWholeFile(canary), "canary");
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
}  // namespace setup_e2e
