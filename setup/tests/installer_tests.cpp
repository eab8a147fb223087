// The installer's flows over a recorded machine: which operations run, in which
// order, with which console texts and exit codes.
#include <gtest/gtest.h>

#include "fake_system.h"
#include "installer.h"

using setup_test::FakeSystem;
using Log = std::vector<std::string>;

namespace {

const std::string kPkg = "C:\\pkg";
const std::string kSource = kPkg + "\\Message Controller";
const std::string kSetupIni = kPkg + "\\setup.ini";
const std::string kPackageIni = kSource + "\\KvMessageController.ini";
const std::string kTarget = "C:\\Program Files\\KAVO\\MC";
const std::string kInstalledIni = kTarget + "\\KvMessageController.ini";
const std::string kProgram = kTarget + "\\KvMessageController.exe";

const std::string kStop = "stop " + kProgram + " 2000";
const std::string kMakeFolders[] = {"mkdir C:\\Program Files\\KAVO", "mkdir " + kTarget};
const std::string kStart = "start KvMessageController.exe in " + kTarget;

std::string StartUpText(bool componentInstalled, const std::string& version,
                        const std::string& app, bool registered, const std::string& os = "") {
  return "OS Version : " + os + "\n" +
         (componentInstalled ? "ZidEzez was installed\n" : "ZidEzez wasn't installed\n") +
         "Prepare install ZidEzez " + version + "\n" + "ZidEzez install for " + app + "\n" + app +
         (registered ? " was installed\n" : " wasn't installed\n") + "setup initial complete\n";
}

class Installer : public ::testing::Test {
 protected:
  FakeSystem sys;

  void SetUp() override { Package("1.0", "AppA"); }

  // A package carrying component version `version` for application `app`.
  void Package(const std::string& version, const std::string& app, int appVersion = 1) {
    sys.Set(kSetupIni, "SETUP_INFO", "SubTargetPath", "\\KAVO\\MC");
    sys.Set(kSetupIni, "SETUP_INFO", "ExeFileName", "KvMessageController");
    sys.Set(kSetupIni, "SETUP_INFO", "Version", version);
    sys.Set(kSetupIni, "FILE_FOR_CHECK", "1", "KvMessageController.exe");
    sys.Set(kSetupIni, "FILE_FOR_CHECK", "2", "KvMessageController.ini");
    sys.AddFile(kSource + "\\KvMessageController.exe");
    sys.AddFile(kSource + "\\KvRemoteControlHooker.dll");
    sys.Set(kPackageIni, "MainConfig", "1", app);
    sys.Set(kPackageIni, "Keyboad_Group_Config", "1", "package group " + version);
    sys.Set(kPackageIni, "HID_DataLoc_Config", "DATA_BYTE1", "3");
    sys.Set(kPackageIni, app, "Version", std::to_string(appVersion));
    sys.Set(kPackageIni, app, "HookType", "1");
    sys.Set(kPackageIni, app, "HIDREG1", "0x000C:0x0001");
  }

  // The component as installed with `apps` registered.
  void Installed(const std::string& version, std::uint32_t count, const Log& apps) {
    sys.record = setup::InstallRecord{version, count};
    sys.AddFile(kProgram);
    sys.Set(kInstalledIni, "Keyboad_Group_Config", "1", "installed group");
    for (std::size_t i = 0; i < apps.size(); ++i) {
      sys.Set(kInstalledIni, "MainConfig", std::to_string(i + 1), apps[i]);
      sys.Set(kInstalledIni, apps[i], "Version", "1");
      sys.Set(kInstalledIni, apps[i], "HIDREG1", "installed " + apps[i]);
    }
  }

  int Run(const std::string& option) {
    sys.output.clear();
    sys.log.clear();
    return setup::RunSetup(sys, {option});
  }

  Log Registered() {
    Log names;
    for (int i = 1; auto v = sys.Get(kInstalledIni, "MainConfig", std::to_string(i)); ++i)
      names.push_back(*v);
    return names;
  }
};

TEST_F(Installer, ArgumentsAreCheckedBeforeAnythingElse) {
  const std::string usage =
      "setup.exe [-I | -U]\n-I \t Install ZidEzez\n-U \t Uninstall ZidEzez\n";
  for (const Log& args : {Log{}, Log{"-I", "-U"}, Log{"-I", "-I"}}) {
    sys.output.clear();
    EXPECT_EQ(setup::RunSetup(sys, args), 0);
    EXPECT_EQ(sys.output, usage);
  }
  for (const char* option : {"-i", "/I", "-u", "I", "-I ", "-Install", ""}) {
    EXPECT_EQ(Run(option), 14) << option;
    EXPECT_EQ(sys.output, "Invalid Parameter\n");
  }
  EXPECT_TRUE(sys.log.empty());
}

TEST_F(Installer, IncompletePackagesStopAtStartUp) {
  struct Case {
    const char* file;
    const char* section;
    const char* key;
    int code;
    const char* lastLine;
  };
  const std::string ini = kPackageIni;
  for (const Case& c : {Case{kSetupIni.c_str(), "SETUP_INFO", "SubTargetPath", 2, "Get SubTargetPath failed\n"},
                        Case{kSetupIni.c_str(), "SETUP_INFO", "ExeFileName", 2, "Get ExeFileName failed\n"},
                        Case{kSetupIni.c_str(), "SETUP_INFO", "Version", 2, "Can't get ZidEzez version\n"},
                        Case{ini.c_str(), "MainConfig", "1", 3, "Can't get AP name version\n"}}) {
    FakeSystem fresh;
    sys = fresh;
    Package("1.0", "AppA");
    Installed("1.0", 1, {"AppA"});
    sys.Set(c.file, c.section, c.key, "");
    for (const char* option : {"-I", "-U"}) {
      EXPECT_EQ(Run(option), c.code) << c.key;
      EXPECT_TRUE(sys.output.size() >= std::string(c.lastLine).size() &&
                  sys.output.compare(sys.output.size() - std::string(c.lastLine).size(),
                                     std::string::npos, c.lastLine) == 0)
          << sys.output;
      EXPECT_TRUE(sys.Effects().empty());
    }
  }

  sys.programFiles.clear();
  EXPECT_EQ(Run("-I"), 1);
  EXPECT_EQ(sys.output, "OS Version : \nGet special folder failed\n");

  sys.programFiles = "C:\\Program Files";
  sys.packageFolder.clear();  // the installer's own path could not be read
  EXPECT_EQ(Run("-I"), 2);
  EXPECT_EQ(sys.output, "OS Version : \nGet SubTargetPath failed\n");
}

TEST_F(Installer, DangerousPackagesAreRefusedBeforeAnyChange) {
  Installed("1.0", 1, {"AppA"});
  const FakeSystem before = sys;
  const auto expectRefused = [&](const std::string& message, const std::string& what) {
    for (const char* option : {"-U", "-I"}) {
      EXPECT_EQ(Run(option), 15) << what;
      EXPECT_EQ(sys.output.substr(sys.output.size() - message.size()), message) << what;
      EXPECT_TRUE(sys.log.empty()) << what;
      EXPECT_EQ(sys.files.size(), before.files.size()) << what;
    }
  };
  for (const char* sub : {"\\", "\\.", "\\..", "\\KAVO\\..", "\\KAVO\\..\\..\\Windows", "KAVO",
                          "\\. ", "\\.. ", "\\*", "\\KAVO\\MC\\*", "\\KAVO/..", "\\\\server\\x",
                          "\\C:\\Windows"}) {
    sys.Set(kSetupIni, "SETUP_INFO", "SubTargetPath", sub);
    expectRefused("Invalid SubTargetPath\n", sub);
  }
  sys.Set(kSetupIni, "SETUP_INFO", "SubTargetPath", "\\KAVO\\MC");
  for (const std::string& exe : std::vector<std::string>{"..\\..\\x", "a\\b", "c:x", "..", "x\" -P:\"y", "a*",
                                std::string(250, 'k')}) {
    sys.Set(kSetupIni, "SETUP_INFO", "ExeFileName", exe);
    expectRefused("Invalid ExeFileName\n", exe);
  }
  sys.Set(kSetupIni, "SETUP_INFO", "ExeFileName", "KvMessageController");
  for (const char* app : {"MainConfig", "hid_dataloc_config", "KEYBOAD_GROUP_CONFIG"}) {
    sys.Set(kPackageIni, "MainConfig", "1", app);
    expectRefused("Invalid AP name\n", app);
  }
}

TEST_F(Installer, FirstInstallCopiesRecordsAndStarts) {
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.output, StartUpText(false, "1.0", "AppA", false) +
                            "begin install...\ninstall success...\nOpen ZidEzez Success...\n");
  EXPECT_EQ(sys.Effects(), (Log{kStop, kMakeFolders[0], kMakeFolders[1],
                                "copy " + kSource + "\\* to " + kTarget,
                                "run set RunMessageController=" + kProgram,
                                "record count=1 version=1.0", kStart}));
  EXPECT_TRUE(sys.HasFile(kTarget + "\\KvRemoteControlHooker.dll"));
  // What the component brought, for its removal.
  EXPECT_EQ(sys.record->files, (Log{kProgram, kInstalledIni, kTarget + "\\KvRemoteControlHooker.dll"}));
  EXPECT_EQ(sys.record->folders, (Log{"C:\\Program Files\\KAVO", kTarget}));
  // The installed configuration starts as the package's own copy.
  EXPECT_EQ(Registered(), Log{"AppA"});
  EXPECT_EQ(sys.Get(kInstalledIni, "Keyboad_Group_Config", "1"), "package group 1.0");
}

TEST_F(Installer, AutostartFormFollowsTheWindowsName) {
  sys.windowsName = "Windows Vista";
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.output.substr(0, 27), "OS Version : Windows Vista\n");
  EXPECT_EQ(sys.Effects()[4], "start Quillbeck.exe -R -T:\"KvMessageController\" -P:\"" +
                                  kProgram + "\" in " + kPkg);
  EXPECT_TRUE(sys.runValues.empty());

  sys.windowsName = "Windows Server \"Longhorn\"";
  EXPECT_EQ(Run("-U"), 0);
  const Log effects = sys.Effects();
  EXPECT_EQ(Log(effects.end() - 2, effects.end()),
            (Log{"start Quillbeck.exe -D -T:\"KvMessageController\" in " + kPkg, "record delete"}));

  sys.windowsName = "Microsoft Windows XP";
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.runValues["RunMessageController"], kProgram);
}

TEST_F(Installer, FirstInstallFailures) {
  sys.recordWriteWorks = false;
  EXPECT_EQ(Run("-I"), 7);
  EXPECT_EQ(sys.output, StartUpText(false, "1.0", "AppA", false) + "begin install...\ninstall failed\n");
  EXPECT_EQ(sys.Effects().back(), "record count=1 version=1.0");

  // No files, no record and no autostart entry for a component that is not there.
  FakeSystem fresh;
  sys = fresh;
  Package("1.0", "AppA");
  sys.failingCopyPatterns = {"*"};
  EXPECT_EQ(Run("-I"), 7);
  EXPECT_EQ(sys.Effects(),
            (Log{kStop, kMakeFolders[0], kMakeFolders[1], "copy " + kSource + "\\* to " + kTarget}));
  EXPECT_FALSE(sys.record);

  // A Run command longer than the record's text buffer is not written at all.
  sys.failingCopyPatterns.clear();
  const std::string longFolder = "\\" + std::string(60, 'd');
  sys.Set(kSetupIni, "SETUP_INFO", "SubTargetPath", longFolder);
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_TRUE(sys.runValues.empty());
  EXPECT_TRUE(sys.record);
}

TEST_F(Installer, ComponentFilesUpdateOnlyForATextuallyNewerVersion) {
  struct Case {
    const char* recorded;
    const char* offered;
    bool update;
  };
  for (const Case& c : {Case{"1.9", "1.10", false}, Case{"1.10", "1.9", true},
                        Case{"1.0", "1.0", false}, Case{"", "0", true}, Case{"1.0", "1.0a", true}}) {
    FakeSystem fresh;
    sys = fresh;
    Package(c.offered, "AppA");
    Installed(c.recorded, 2, {"AppA", "AppB"});
    EXPECT_EQ(Run("-I"), 0) << c.offered;
    EXPECT_EQ(sys.output, StartUpText(true, c.offered, "AppA", true) +
                              "Begin update ZidEzez...\nUpdate ZidEzez success...\n"
                              "Open ZidEzez Success...\n");
    const Log files = {kStop, "copy " + kSource + "\\*.exe to " + kTarget,
                       "copy " + kSource + "\\*.dll to " + kTarget,
                       "record count=2 version=" + std::string(c.offered), kStart};
    EXPECT_EQ(sys.Effects(), c.update ? files : (Log{kStop, kStart})) << c.offered;
    EXPECT_EQ(sys.Get(kInstalledIni, "Keyboad_Group_Config", "1"),
              c.update ? "package group " + std::string(c.offered) : "installed group");
    EXPECT_EQ(sys.Get(kInstalledIni, "HID_DataLoc_Config", "DATA_BYTE1"),
              c.update ? std::optional<std::string>("3") : std::nullopt);
    EXPECT_EQ(sys.record->version, c.update ? c.offered : c.recorded);
    EXPECT_EQ(Registered(), (Log{"AppA", "AppB"}));
  }
}

TEST_F(Installer, UpdateFailuresStopTheRunWithTheComponentStopped) {
  Package("2.0", "AppA");
  Installed("1.0", 1, {"AppA"});
  sys.failingCopyPatterns = {"*.dll"};
  EXPECT_EQ(Run("-I"), 9);
  EXPECT_EQ(sys.output.substr(sys.output.find("Begin update")),
            "Begin update ZidEzez...\ncopy file failed\n");
  EXPECT_EQ(sys.Effects().back(), "copy " + kSource + "\\*.dll to " + kTarget);
  EXPECT_EQ(sys.record->version, "1.0");

  sys.failingCopyPatterns.clear();
  sys.recordWriteWorks = false;
  EXPECT_EQ(Run("-I"), 12);
  EXPECT_EQ(sys.output.substr(sys.output.find("Begin update")),
            "Begin update ZidEzez...\nWrite Registry Failed...\n");

  // Registering a new application: the same message when its record write fails.
  sys.recordWriteWorks = true;
  Package("1.0", "AppB");
  Installed("2.0", 1, {"AppA"});
  sys.recordWriteWorks = false;
  EXPECT_EQ(Run("-I"), 12);
  EXPECT_EQ(Registered(), (Log{"AppA", "AppB"}));  // nothing is rolled back

  sys.recordWriteWorks = true;
  sys.startWorks = false;
  EXPECT_EQ(Run("-I"), 6);
  EXPECT_EQ(sys.output.substr(sys.output.size() - 49),
            "Update ZidEzez success...\nOpen ZidEzez Failed...\n");
}

TEST_F(Installer, ASecondApplicationRegisters) {
  Installed("1.0", 1, {"AppA"});
  Package("1.0", "AppB", 4);
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.output, StartUpText(true, "1.0", "AppB", false) +
                            "Begin update ZidEzez...\nUpdate ZidEzez success...\n"
                            "Open ZidEzez Success...\n");
  EXPECT_EQ(sys.Effects(), (Log{kStop, "record count=2 version=1.0", kStart}));
  EXPECT_EQ(Registered(), (Log{"AppA", "AppB"}));
  EXPECT_EQ(sys.Get(kInstalledIni, "AppB", "Version"), "4");
  EXPECT_EQ(sys.Get(kInstalledIni, "AppB", "HookType"), "0x1");
  EXPECT_EQ(sys.Get(kInstalledIni, "AppB", "HIDREG1"), "0x000C:0x0001");
  EXPECT_EQ(sys.Get(kInstalledIni, "AppA", "HIDREG1"), "installed AppA");
}

TEST_F(Installer, ARegisteredApplicationTakesOnlyNewerSettings) {
  Installed("1.0", 1, {"AppA"});
  for (int offered : {0, 1}) {
    Package("1.0", "AppA", offered);
    EXPECT_EQ(Run("-I"), 0);
    EXPECT_EQ(sys.log, (Log{kStop, kStart})) << offered;  // nothing written at all
  }
  Package("1.0", "AppA", 2);
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.Effects(), (Log{kStop, kStart}));  // the record is not written
  EXPECT_EQ(sys.Get(kInstalledIni, "AppA", "Version"), "2");
  EXPECT_EQ(sys.Get(kInstalledIni, "AppA", "HIDREG1"), "0x000C:0x0001");
  EXPECT_EQ(sys.record->count, 1u);
}

TEST_F(Installer, AComponentThatWillNotCloseStopsEveryChange) {
  sys.componentCloses = false;
  EXPECT_EQ(Run("-I"), 5);
  EXPECT_EQ(sys.output, StartUpText(false, "1.0", "AppA", false));
  EXPECT_EQ(sys.log, Log{kStop});

  Installed("1.0", 1, {"AppA"});
  EXPECT_EQ(Run("-U"), 5);
  EXPECT_EQ(sys.output, StartUpText(true, "1.0", "AppA", true) + "Begin Uninstall...\n");
  EXPECT_EQ(sys.log, Log{kStop});
}

TEST_F(Installer, UninstallOfAnUnregisteredApplicationChangesNothing) {
  Installed("1.0", 2, {"AppB", "AppC"});
  EXPECT_EQ(Run("-U"), 0);
  EXPECT_EQ(sys.output,
            StartUpText(true, "1.0", "AppA", false) + "Begin Uninstall...\nUninstall complete...\n");
  EXPECT_TRUE(sys.log.empty());

  FakeSystem fresh;  // nothing installed at all
  sys = fresh;
  Package("1.0", "AppA");
  EXPECT_EQ(Run("-U"), 0);
  EXPECT_TRUE(sys.log.empty());
}

TEST_F(Installer, UninstallOneOfSeveralRenumbersTheList) {
  Installed("1.0", 3, {"AppB", "AppA", "AppC"});
  EXPECT_EQ(Run("-U"), 0);
  EXPECT_EQ(sys.output,
            StartUpText(true, "1.0", "AppA", true) + "Begin Uninstall...\nUninstall complete...\n");
  EXPECT_EQ(sys.Effects(), (Log{kStop, "record count=2 version=1.0", kStart}));
  EXPECT_EQ(Registered(), (Log{"AppB", "AppC"}));
  EXPECT_FALSE(sys.Get(kInstalledIni, "MainConfig", "3"));
  EXPECT_FALSE(sys.FindSection(kInstalledIni, "AppA"));
  EXPECT_TRUE(sys.FindSection(kInstalledIni, "AppC"));

  sys.startWorks = false;
  Package("1.0", "AppB");
  EXPECT_EQ(Run("-U"), 6);
  EXPECT_EQ(sys.output.substr(sys.output.size() - 42),
            "Begin Uninstall...\nOpen ZidEzez Failed...\n");
}

TEST_F(Installer, UninstallOfTheLastApplicationRemovesTheComponent) {
  for (std::uint32_t count : {1u, 0u}) {
    FakeSystem fresh;
    sys = fresh;
    Package("1.0", "AppA");
    Installed("1.0", count, {"AppA", "AppB"});
    sys.runValues["RunMessageController"] = kProgram;
    EXPECT_EQ(Run("-U"), 0);
    EXPECT_EQ(sys.output, StartUpText(true, "1.0", "AppA", true) +
                              "Begin Uninstall...\nUninstall complete...\n");
    // A record from before the lists were kept: what this package brings goes.
    EXPECT_EQ(sys.Effects(), (Log{kStop, "remove " + kProgram, "remove " + kInstalledIni,
                                  "remove " + kTarget + "\\KvRemoteControlHooker.dll",
                                  "rmdir " + kTarget, "run delete RunMessageController",
                                  "record delete"}));
    EXPECT_FALSE(sys.PathExists(kTarget));
    EXPECT_TRUE(sys.runValues.empty());
    EXPECT_FALSE(sys.record);
  }

  FakeSystem fresh;
  sys = fresh;
  Package("1.0", "AppA");
  Installed("1.0", 1, {"AppA"});
  sys.recordDeleteWorks = false;
  EXPECT_EQ(Run("-U"), 8);
  EXPECT_EQ(sys.output.substr(sys.output.size() - 42),
            "Begin Uninstall...\nUninstall All Failed...");
}

TEST_F(Installer, TheComponentCountsAsInstalledOnlyWithRecordAndFiles) {
  Installed("1.0", 1, {"AppA"});
  sys.files.erase(setup_test::Fold(kProgram));
  EXPECT_EQ(Run("-I"), 0);  // a first installation again, over the stale record
  EXPECT_NE(sys.output.find("ZidEzez wasn't installed\n"), std::string::npos);
  EXPECT_EQ(sys.record->count, 1u);

  sys.record.reset();
  EXPECT_EQ(Run("-U"), 0);
  EXPECT_TRUE(sys.log.empty());
}

TEST_F(Installer, LongVersionsAreCutToWhatTheRecordHolds) {
  const std::string longVersion(120, '9');
  Package(longVersion, "AppA");
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.record->version, longVersion.substr(0, 99));
  EXPECT_EQ(Run("-I"), 0);  // the same package again is the same version
  EXPECT_EQ(sys.Effects(), (Log{kStop, kStart}));
}

// Removal takes what the component brought and the folders the installer made,
// nothing else: a "KAVO" folder of another product keeps what is in it.
TEST_F(Installer, RemovalTakesOnlyWhatTheComponentBrought) {
  const std::string kavo = "C:\\Program Files\\KAVO";
  const std::string other = kavo + "\\OtherProduct\\important.dat";
  sys.AddFile(other);
  sys.AddFile(kavo + "\\readme.txt");
  sys.Set(kSetupIni, "SETUP_INFO", "SubTargetPath", "\\KAVO");
  ASSERT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.record->folders, Log{});  // KAVO was there before
  sys.AddFile(kavo + "\\KvMessageController.log");  // written by the component itself

  ASSERT_EQ(Run("-U"), 0);
  EXPECT_EQ(sys.output.substr(sys.output.size() - 22), "Uninstall complete...\n");
  for (const char* gone : {"\\KvMessageController.exe", "\\KvMessageController.ini",
                           "\\KvRemoteControlHooker.dll"})
    EXPECT_FALSE(sys.HasFile(kavo + gone)) << gone;
  for (const char* kept : {"\\OtherProduct\\important.dat", "\\readme.txt", "\\KvMessageController.log"})
    EXPECT_TRUE(sys.HasFile(kavo + kept)) << kept;
  for (const std::string& e : sys.Effects()) EXPECT_NE(e.rfind("rmdir", 0), 0u) << e;

  // Folders the installer made go once they are empty; a file left in one keeps it.
  FakeSystem fresh;
  sys = fresh;
  Package("1.0", "AppA");
  sys.AddFolder(kSource + "\\Languages");
  sys.AddFile(kSource + "\\Languages\\German.txt");
  ASSERT_EQ(Run("-I"), 0);
  EXPECT_EQ(sys.record->folders, (Log{kavo, kTarget, kTarget + "\\Languages"}));
  EXPECT_TRUE(sys.HasFile(kTarget + "\\Languages\\German.txt"));
  sys.AddFile(kTarget + "\\Languages\\mine.txt");
  ASSERT_EQ(Run("-U"), 0);
  EXPECT_FALSE(sys.HasFile(kTarget + "\\Languages\\German.txt"));
  EXPECT_TRUE(sys.HasFile(kTarget + "\\Languages\\mine.txt"));
  EXPECT_FALSE(sys.record);
}

TEST_F(Installer, ATamperedFileListReachesNothingOutsideTheComponentFolder) {
  Installed("1.0", 1, {"AppA"});
  sys.AddFile("C:\\Windows\\system.ini");
  sys.record->files = {kProgram, "C:\\Windows\\system.ini", kTarget + "\\..\\..\\x.dll"};
  sys.record->folders = {"C:\\Program Files", "C:\\Windows"};
  ASSERT_EQ(Run("-U"), 0);
  EXPECT_TRUE(sys.HasFile("C:\\Windows\\system.ini"));
  EXPECT_EQ(sys.Effects(), (Log{kStop, "remove " + kProgram, "remove " + kInstalledIni,
                                "run delete RunMessageController", "record delete"}));
}

// A file that cannot go (the component still holds it) is named, and the
// removal stops with the record and the autostart entry still in place.
TEST_F(Installer, AFileThatCannotBeRemovedFailsTheRemoval) {
  Installed("1.0", 1, {"AppA"});
  sys.record->files = {kTarget + "\\KvRemoteControlHooker.dll", kProgram};
  sys.AddFile(kTarget + "\\KvRemoteControlHooker.dll");
  sys.runValues["RunMessageController"] = kProgram;
  sys.filesInUse = {setup_test::Fold(kProgram)};
  EXPECT_EQ(Run("-U"), 8);
  EXPECT_EQ(sys.output, StartUpText(true, "1.0", "AppA", true) + "Begin Uninstall...\nCan't remove " +
                            kProgram + "\nUninstall All Failed...");
  // The program is tried first: while it runs, nothing else is touched.
  EXPECT_EQ(sys.Effects(), (Log{kStop, "remove " + kProgram}));
  EXPECT_TRUE(sys.record);
  EXPECT_EQ(sys.runValues.size(), 1u);
  EXPECT_TRUE(sys.HasFile(kTarget + "\\KvRemoteControlHooker.dll"));
}

TEST_F(Installer, ApplicationNamesDifferingOnlyInCaseAreOneApplication) {
  Installed("1.0", 1, {"PioScreen"});
  Package("1.0", "pioscreen", 2);
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_NE(sys.output.find("pioscreen was installed\n"), std::string::npos);
  EXPECT_EQ(sys.record->count, 1u);
  EXPECT_EQ(Registered(), Log{"PioScreen"});

  Installed("1.0", 3, {"AppB", "PIOSCREEN", "AppC"});
  EXPECT_EQ(Run("-U"), 0);
  EXPECT_EQ(Registered(), (Log{"AppB", "AppC"}));
  EXPECT_EQ(sys.record->count, 2u);
}

TEST_F(Installer, ACountThatCannotBeTrustedNeverRemovesTheComponent) {
  // COUNT stored as something other than a 4-byte number.
  Installed("1.0", 0, {"AppA", "AppB"});
  sys.record->countTrusted = false;
  EXPECT_EQ(Run("-U"), 0);
  EXPECT_EQ(sys.output, StartUpText(true, "1.0", "AppA", true) +
                            "Begin Uninstall...\nCOUNT is not a 4-byte number, ZidEzez is kept\n"
                            "Uninstall complete...\n");
  EXPECT_EQ(sys.Effects(), (Log{kStop, kStart}));
  EXPECT_EQ(Registered(), Log{"AppB"});
  EXPECT_FALSE(sys.record->countTrusted);

  // A new application registers, and the count stays as stored.
  Package("2.0", "AppD");
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_NE(sys.output.find("COUNT is not a 4-byte number, left as it is\nUpdate ZidEzez success"),
            std::string::npos);
  EXPECT_EQ(sys.record->version, "2.0");  // the newer component is recorded all the same
  EXPECT_FALSE(sys.record->countTrusted);
  EXPECT_EQ(Registered(), (Log{"AppB", "AppD"}));

  // A count at its limit is not wrapped round to 0.
  Installed("1.0", UINT32_MAX, {"AppA"});
  sys.record->countTrusted = true;
  Package("1.0", "AppE");
  EXPECT_EQ(Run("-I"), 0);
  EXPECT_NE(sys.output.find("COUNT is at its limit, left as it is\n"), std::string::npos);
  EXPECT_EQ(sys.record->count, UINT32_MAX);
  EXPECT_EQ(Run("-U"), 0);
  EXPECT_EQ(sys.record->count, UINT32_MAX - 1);
  EXPECT_TRUE(sys.HasFile(kProgram));
}

}  // namespace
