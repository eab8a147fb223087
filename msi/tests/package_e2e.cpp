// The release package as an integrator and a person use it, under Wine: a
// silent install, the program started from its Start-menu shortcut, the helper
// carrying a DPI request, the message controller's record, an upgrade to a newer
// build, a repair, and a removal that leaves only the person's own files; then an
// installation whose message-controller step fails and is rolled back.
//
// Wine's Windows version decides the autostart: "vista" gives the log-on task,
// "winxp" the Run value. Everything the run changes is put back at the end: the
// prefix is shared with the other test programs.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "machine.h"
#include "registry_dpi.h"

using namespace machine;

namespace {

const char kProductName[] = "Pio Screen Setting";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kRunKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRecordKey[] = "SOFTWARE\\KAVO\\KvMessageController";
const char kWineKey[] = "Software\\Wine";
const char kTaskName[] = "KvSrcHelper";

std::string Narrow(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) out += static_cast<char>(*text);
  return out;
}

// Where things lie on this machine.
struct Places {
  std::string dist, package, nextPackage, taskTool, work;
  std::string kavo, installDir, component, favourites;
};

// The machine as it was before the run, put back at its end.
struct Kept {
  SavedValue wineVersion, logPixels, range;
  bool kavo = false, requestKey = false, favourites = false;
  std::string favouritesText;
};

class PackageE2E : public ::testing::Test {
 protected:
  static Places at_;
  static Kept kept_;
  static std::vector<std::string> timings_;

  static void SetUpTestSuite() {
    char buffer[MAX_PATH];
    const DWORD n = GetEnvironmentVariableA("PIO_DIST_DIR", buffer, MAX_PATH);
    ASSERT_TRUE(n > 0 && n < MAX_PATH) << "PIO_DIST_DIR is not set";
    at_.dist = WindowsPath(buffer);
    at_.package = at_.dist + "\\" PIO_PACKAGE_NAME;
    at_.taskTool = at_.dist + "\\package\\Quillbeck.exe";
    at_.nextPackage = WindowsPath(PIO_NEXT_PACKAGE);
    ASSERT_TRUE(Exists(at_.package)) << at_.package << ": run cmake --install first";
    ASSERT_TRUE(Exists(at_.nextPackage)) << at_.nextPackage;
    GetTempPathA(MAX_PATH, buffer);
    at_.work = std::string(buffer) + "pio-package-e2e";
    CreateDirectoryA(at_.work.c_str(), nullptr);
    at_.kavo = SpecialFolder(CSIDL_PROGRAM_FILES) + "\\KAVO";
    at_.installDir = at_.kavo + "\\Pio Screen Setting";
    at_.component = at_.kavo + "\\Message Controller";
    at_.favourites = SpecialFolder(CSIDL_LOCAL_APPDATA) + "\\KAVO\\Pio-Screen\\ScreenConfig.ini";

    kept_.kavo = Exists(at_.kavo);
    kept_.favourites = Exists(at_.favourites);
    kept_.favouritesText = ReadWholeFile(at_.favourites);
    kept_.requestKey = KeyExists(HKEY_CURRENT_USER, Narrow(dpireg::kRequestKeyW));
    kept_.wineVersion = Save(HKEY_CURRENT_USER, kWineKey, "Version");
    kept_.logPixels = Save(HKEY_LOCAL_MACHINE, Narrow(dpireg::kSystemKeyW), "LogPixels");
    kept_.range = Save(HKEY_CURRENT_USER, Narrow(dpireg::kRequestKeyW), "Range");
  }

  static void TearDownTestSuite() {
    RemoveEverything();
    Restore(kept_.range);
    if (kept_.favourites) {
      WriteWholeFile(at_.favourites, kept_.favouritesText);
    } else if (Exists(at_.favourites)) {  // with the folders made for it, when empty
      DeleteFileA(at_.favourites.c_str());
      const std::string folder = at_.favourites.substr(0, at_.favourites.rfind('\\'));
      RemoveDirectoryA(folder.c_str());
      RemoveDirectoryA(folder.substr(0, folder.rfind('\\')).c_str());
    }
    if (!kept_.requestKey) {  // the helper made it; the parent goes when empty
      RegDeleteKeyW(HKEY_CURRENT_USER, dpireg::kRequestKeyW);
      RegDeleteKeyW(HKEY_CURRENT_USER, dpireg::kRequestParentKeyW);
    }
    DeleteTree(at_.work);

    std::string figures = "package under Wine:";
    for (const std::string& t : timings_) figures += " " + t + ",";
    figures.pop_back();
    std::printf("%s\n", figures.c_str());
  }

  void TearDown() override { RemoveEverything(); }

  // Whatever a failed run left: every installed product of ours, the programs
  // it started, the component's record.
  static void RemoveEverything() {
    for (const std::string& code : RelatedProducts(PIO_UPGRADE_CODE))
      RunAndWait("msiexec.exe /x " + code + " /qn");
    EndProcessesNamed("PioScreen.exe");
    EndProcessesNamed("KvSrcHelper.exe");
    EndProcessesNamed("KvMessageController.exe");
    DeleteTree(at_.installDir);
    DeleteTree(at_.component);
    if (!kept_.kavo) RemoveDirectoryA(at_.kavo.c_str());
    for (const char* task : {kTaskName, "KvMessageController"})
      RunAndWait("\"" + at_.taskTool + "\" -D -T:\"" + task + "\"");
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kRecordKey);
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController");
    DeleteValue(HKEY_LOCAL_MACHINE, kRunKey, "KvSrcHelper");
    Restore(kept_.wineVersion);
    Restore(kept_.logPixels);
  }

  // msiexec, quiet, with a log named `what`; its time is one of the figures.
  static bool Msiexec(const std::string& what, const char* action, const std::string& package, DWORD expected = 0) {
    const Outcome run =
        RunAndWait("msiexec.exe " + std::string(action) + " \"" + package + "\" /qn /l*v \"" + Log(what) + "\"");
    char line[128];
    std::snprintf(line, sizeof line, "%s %.1f s", what.c_str(), run.seconds);
    timings_.push_back(line);
    EXPECT_EQ(run.code, expected) << what << ": see " << Log(what);
    return run.code == expected;
  }
  static std::string Log(const std::string& name) { return at_.work + "\\" + name + ".log"; }

  static void SetWindowsVersion(const char* version) { SetText(HKEY_CURRENT_USER, kWineKey, "Version", version); }

  // The entries of the control panel's list that are ours.
  static std::vector<std::string> ListEntries() {
    std::vector<std::string> ours;
    for (const std::string& code : Subkeys(HKEY_LOCAL_MACHINE, kUninstallKey))
      if (Text(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + code, "DisplayName") == kProductName)
        ours.push_back(code);
    return ours;
  }

  // Where the Start-menu shortcut lies: all users' menu on Windows; the installing
  // user's under Wine.
  static std::string ShortcutFile() {
    for (int csidl : {CSIDL_COMMON_PROGRAMS, CSIDL_PROGRAMS}) {
      const std::string lnk = SpecialFolder(csidl) + "\\" + kProductName + ".lnk";
      if (Exists(lnk)) return lnk;
    }
    return "";
  }

  // The task tool leaves a log-on task's file in the system's task folder.
  static bool TaskRegistered(const char* name = kTaskName) {
    return Exists(SpecialFolder(CSIDL_SYSTEM) + "\\Tasks\\" + name);
  }

  static bool HelperRuns() { return !ProcessesNamed("KvSrcHelper.exe").empty(); }

  static std::vector<std::string> Registered() {
    std::vector<std::string> names;
    const std::string ini = at_.component + "\\KvMessageController.ini";
    for (int i = 1;; ++i) {
      char name[128];
      GetPrivateProfileStringA("MainConfig", std::to_string(i).c_str(), "", name, sizeof name, ini.c_str());
      if (!*name) return names;
      names.push_back(name);
    }
  }

  // The layout the programs rely on (what the package holds: package_tables),
  // of the files no program started below shows to be in place.
  void ExpectInstalledFiles() {
    const std::vector<std::string> files = FilesBelow(at_.installDir);
    for (const char* file :
         {"PioScreen\\DiZovadAzir.ini", "PioScreen\\Languages\\French.txt",
          "PioScreen\\res\\DPI\\Middle\\Images\\big_a_n.bmp", "package\\setup.ini",
          "package\\Message Controller\\KvMessageController.ini",
          "package\\Message Controller\\KvRemoteControlHooker.dll",
          "package\\Message Controller\\KvACPINotify.dll"})
      EXPECT_NE(std::find(files.begin(), files.end(), file), files.end()) << file;
  }

  // The installed program, started as the shortcut starts it, shows its window.
  void ExpectShortcutStartsPioScreen() {
    const std::string lnk = ShortcutFile();
    ASSERT_FALSE(lnk.empty()) << "no Start-menu shortcut";
    const std::optional<Shortcut> shortcut = ReadShortcut(lnk);
    ASSERT_TRUE(shortcut.has_value()) << lnk;
    EXPECT_EQ(lstrcmpiA(shortcut->target.c_str(), (at_.installDir + "\\PioScreen\\PioScreen.exe").c_str()), 0)
        << shortcut->target;
    ASSERT_TRUE(Start("\"" + shortcut->target + "\"", shortcut->workingFolder));
    EXPECT_TRUE(WaitUntil([] {
      const HWND w = FindWindowA("P-Screen Dialog", "Pio Screen Setting");
      return w && IsWindowVisible(w);
    }, 30000)) << "PioScreen showed no window";
    EndProcessesNamed("PioScreen.exe");
  }

  // The helper the installation started copies a new request to the machine.
  void ExpectHelperCarriesRequest() {
    ASSERT_TRUE(WaitUntil(HelperRuns)) << "KvSrcHelper does not run";
    // It creates its event right before it starts watching.
    ASSERT_TRUE(WaitUntil([] {
      const HANDLE e = OpenEventA(SYNCHRONIZE, FALSE, "RegMonitorChange");
      if (e) CloseHandle(e);
      return e != nullptr;
    }));
    const std::string system = Narrow(dpireg::kSystemKeyW);
    const DWORD request = Number(HKEY_LOCAL_MACHINE, system, "LogPixels") == 120u ? 144 : 120;
    SetNumber(HKEY_CURRENT_USER, Narrow(dpireg::kRequestKeyW), "Range", request);
    EXPECT_TRUE(WaitUntil([&] { return Number(HKEY_LOCAL_MACHINE, system, "LogPixels") == request; }))
        << "LogPixels is " << Number(HKEY_LOCAL_MACHINE, system, "LogPixels").value_or(0);
    Restore(kept_.logPixels);  // programs started later keep the DPI in force
  }

  // One entry in the list (an upgrade leaves no second one), of this version.
  void ExpectOneEntry(const std::string& version) {
    const std::vector<std::string> entries = ListEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + entries[0], "DisplayVersion"), version);
  }

  // Of everything the package made, nothing is left.
  void ExpectNothingLeft() {
    EXPECT_FALSE(Exists(at_.installDir)) << "files left: " << FilesBelow(at_.installDir).size();
    EXPECT_FALSE(Exists(at_.component));
    if (!kept_.kavo) {
      EXPECT_FALSE(Exists(at_.kavo));
    }
    EXPECT_EQ(ShortcutFile(), "");
    EXPECT_TRUE(ListEntries().empty());
    EXPECT_FALSE(Text(HKEY_LOCAL_MACHINE, kRunKey, "KvSrcHelper"));
    EXPECT_FALSE(Text(HKEY_LOCAL_MACHINE, kRunKey, "RunMessageController"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kRecordKey));
    EXPECT_FALSE(TaskRegistered());
    // setup starts the task tool for the component's own task and does not wait.
    EXPECT_TRUE(WaitUntil([] { return !TaskRegistered("KvMessageController"); }));
    EXPECT_FALSE(HelperRuns());
  }

  void ExpectComponentForOneApplication() {
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, kRecordKey, "COUNT"), 1u);
    EXPECT_EQ(Registered(), std::vector<std::string>{"PioScreen"});
    EXPECT_TRUE(WaitUntil([] { return FindWindowA("#32770", "KvMessageController") != nullptr; }))
        << "the message controller does not run";
  }
};

Places PackageE2E::at_;
Kept PackageE2E::kept_;
std::vector<std::string> PackageE2E::timings_;

TEST_F(PackageE2E, OnVistaInstallUpgradeRepairRemove) {
  // The person's favourites, from before this package (a file of its own kind
  // that no installation may touch).
  const std::string favouritesText = "[Config]\r\n    Information_1 = 800-600-120\r\n";
  SHCreateDirectoryExA(nullptr, at_.favourites.substr(0, at_.favourites.rfind('\\')).c_str(), nullptr);
  WriteWholeFile(at_.favourites, favouritesText);

  // Vista and later: a log-on task starts the helper.
  SetWindowsVersion("vista");
  ASSERT_TRUE(Msiexec("install", "/i", at_.package));
  ExpectInstalledFiles();
  ExpectOneEntry(PIO_PACKAGE_VERSION);
  ExpectComponentForOneApplication();
  ExpectShortcutStartsPioScreen();
  ExpectHelperCarriesRequest();
  EXPECT_TRUE(TaskRegistered()) << "no log-on task " << kTaskName;
  EXPECT_FALSE(Text(HKEY_LOCAL_MACHINE, kRunKey, "KvSrcHelper"));

  // A newer build replaces it in place.
  const std::vector<DWORD> helperBefore = ProcessesNamed("KvSrcHelper.exe");
  ASSERT_TRUE(Msiexec("upgrade", "/i", at_.nextPackage));
  ExpectOneEntry(PIO_NEXT_VERSION);
  ExpectComponentForOneApplication();
  EXPECT_TRUE(TaskRegistered());
  EXPECT_TRUE(WaitUntil([&] { return HelperRuns() && ProcessesNamed("KvSrcHelper.exe") != helperBefore; }))
      << "the helper was not started again";
  EXPECT_EQ(ReadWholeFile(at_.favourites), favouritesText);

  // The same package again repairs.
  const std::string language = at_.installDir + "\\PioScreen\\Languages\\German.txt";
  ASSERT_TRUE(DeleteFileA(language.c_str()));
  ASSERT_TRUE(Msiexec("repair", "/i", at_.nextPackage));
  EXPECT_TRUE(Exists(language));
  ExpectComponentForOneApplication();

  // Removal leaves the person's files and nothing else of ours.
  ASSERT_TRUE(WaitUntil(HelperRuns));
  ASSERT_TRUE(Msiexec("removal", "/x", at_.nextPackage));
  ExpectNothingLeft();
  EXPECT_EQ(FindWindowA("#32770", "KvMessageController"), nullptr);
  EXPECT_EQ(ReadWholeFile(at_.favourites), favouritesText);
  EXPECT_TRUE(Number(HKEY_CURRENT_USER, Narrow(dpireg::kRequestKeyW), "Range").has_value())
      << "the person's DPI request is gone";
}

TEST_F(PackageE2E, OnXpTheRunValueStartsTheHelper) {
  SetWindowsVersion("winxp");
  ASSERT_TRUE(Msiexec("install (XP)", "/i", at_.package));
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, kRunKey, "KvSrcHelper"),
            "\"" + at_.installDir + "\\KvSrcHelper\\KvSrcHelper.exe\"");
  EXPECT_FALSE(TaskRegistered());
  EXPECT_TRUE(WaitUntil(HelperRuns));
  ExpectComponentForOneApplication();

  ASSERT_TRUE(Msiexec("removal (XP)", "/x", at_.package));
  ExpectNothingLeft();
}

// The message controller refuses to stop: setup ends with 5, the installation
// fails with setup's words in its log, and nothing of it stays.
TEST_F(PackageE2E, FailedMessageControllerStepRollsBack) {
  SetWindowsVersion("vista");
  ASSERT_TRUE(Start("\"" + at_.dist + "\\package\\Message Controller\\KvMessageController.exe\" --ignore-close"));
  ASSERT_TRUE(WaitUntil([] { return FindWindowA("#32770", "KvMessageController") != nullptr; }));

  Msiexec("failed install", "/i", at_.package, 1603);
  const std::string log = ReadWholeFile(Log("failed install"));
  EXPECT_NE(log.find("setup.exe -I: setup initial complete"), std::string::npos) << "setup's output is not logged";
  EXPECT_NE(log.find("setup.exe -I failed with exit code 5"), std::string::npos);
  ExpectNothingLeft();  // the stubborn one is ended with the rest
}

}  // namespace
