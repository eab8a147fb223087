// setup.exe against what bad packages, hasty maintainers and tampered records
// do: nothing it did not bring is removed, and a removal that did not happen is
// never reported as done (machine and packages: setup_e2e.h).
#include "setup_e2e.h"

namespace setup_e2e {
namespace {

// Another product's files in the folder a package names as its target.
TEST_F(SetupE2E, RemovalKeepsWhatTheTargetFolderHeldBefore) {
  const std::string kavo = programFiles_ + "\\KAVO";
  const std::string important = kavo + "\\OtherProduct\\important.dat";
  CreateDirectoryA(kavo.c_str(), nullptr);
  CreateDirectoryA((kavo + "\\OtherProduct").c_str(), nullptr);
  std::ofstream(important) << "keep me";
  const std::string a = Package("a", "1.9");
  Set(a + "\\setup.ini", "SETUP_INFO", "SubTargetPath", "\\KAVO");
  Install(a);
  ASSERT_TRUE(Exists(kavo + "\\KvMessageController.exe"));

  const Result r = RunSetup(a, "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) + UninstallTail());
  EXPECT_EQ(ReadWholeFile(important), "keep me");
  for (const char* file : {"KvMessageController.exe", "KvMessageController.ini", "KvRemoteControlHooker.dll",
                           "KvACPINotify.dll"})
    EXPECT_FALSE(Exists(kavo + "\\" + file)) << file;
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
}

// The component's window comes a moment after "-I" returns; a removal in that
// moment must still find and stop it. A file that cannot go fails the removal.
TEST_F(SetupE2E, RemovalRightAfterInstallingStopsTheComponentOrSaysItFailed) {
  const std::string a = Package("a", "1.9");
  Result r = RunSetup(a, "-I");
  ASSERT_EQ(r.code, 0u) << r.output;
  r = RunSetup(a, "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) + UninstallTail());
  EXPECT_TRUE(ComponentProcesses().empty());
  EXPECT_FALSE(Exists(target_));

  Install(a);
  KillComponents();
  // Held without leave to delete, as a program of another session would hold it.
  const HANDLE held = CreateFileA(Program().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  r = RunSetup(a, "-U");
  CloseHandle(held);
  EXPECT_EQ(r.code, 8u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "PioScreen", true) +
                          Crlf("Begin Uninstall...\nCan't remove " + Program() + "\nUninstall All Failed..."));
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"), Program());
  // Nothing was gone yet, so the next removal finishes the job.
  r = RunSetup(a, "-U");
  EXPECT_EQ(r.code, 0u) << r.output;
  EXPECT_FALSE(Exists(target_));
}

// The configuration file knows one section for both spellings.
TEST_F(SetupE2E, NamesDifferingOnlyInCaseAreOneApplication) {
  Install(Package("a", "1.9", "PioScreen"));
  const std::string b = Package("b", "1.9", "pioscreen", 2);
  Result r = RunSetup(b, "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "pioscreen", true) + UpdateTail());
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
  EXPECT_EQ(Registered(), std::vector<std::string>{"PioScreen"});
  EXPECT_EQ(Get(Installed(), "PioScreen", "Version"), "2");
  ASSERT_TRUE(ComponentRuns());

  r = RunSetup(b, "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "pioscreen", true) + UninstallTail());
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
  EXPECT_FALSE(Exists(target_));
}

TEST_F(SetupE2E, ACountThatCannotBeTrustedNeverRemovesAComponentInUse) {
  // At its limit, a second application's install would have wrapped it to 0.
  const std::string a = Package("a", "1.9");
  Install(a);
  RegSetNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT", 0xFFFFFFFF);
  Result r = RunSetup(Package("b", "1.9", "DemoApp"), "-I");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "DemoApp", false) +
                          Crlf("Begin update ZidEzez...\nCOUNT is at its limit, left as it is\n"
                               "Update ZidEzez success...\nOpen ZidEzez Success...\n"));
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 0xFFFFFFFFu);
  ASSERT_TRUE(ComponentRuns());
  r = RunSetup(a, "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_TRUE(Exists(Program()));
  EXPECT_EQ(Registered(), std::vector<std::string>{"DemoApp"});
  ASSERT_TRUE(ComponentRuns());

  // A count stored as text is no number at all: it stays, and so does the component.
  RegSetText(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT", "5");
  r = RunSetup(Package("c", "1.9", "DemoApp"), "-U");
  EXPECT_EQ(r.code, 0u);
  EXPECT_EQ(r.output, StartUp(true, "1.9", "DemoApp", true) +
                          Crlf("Begin Uninstall...\nCOUNT is not a 4-byte number, ZidEzez is kept\n"
                               "Uninstall complete...\n"));
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), "5");
  EXPECT_TRUE(Registered().empty());
  EXPECT_TRUE(Exists(Program()));
  EXPECT_TRUE(ComponentRuns());
}

}  // namespace
}  // namespace setup_e2e
