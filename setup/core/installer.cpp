#include "installer.h"

#include <algorithm>

#include "component_config.h"
#include "component_setup.h"
#include "install_paths.h"
#include "setup_texts.h"
#include "version_text.h"

namespace setup {
namespace {

constexpr char kInstallOption[] = "-I";
constexpr char kUninstallOption[] = "-U";
constexpr char kSetupIniName[] = "setup.ini";
constexpr char kComponentSourceFolder[] = "Message Controller";

// Everything start-up establishes; the flows only read it (and the record).
struct Facts {
  std::string windowsName;
  std::string packageFolder;
  std::string programFiles;
  std::string targetFolder;
  std::string exeFileName;
  std::string setupIni;
  std::string sourceFolder;
  std::string packageConfig;
  std::string installedConfig;
  InstallRecord record;
  bool componentInstalled = false;
  std::string newVersion;
  std::vector<std::string> registered;
  std::string application;
  bool applicationRegistered = false;
};

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(const std::string& a, const char* b) {
  const std::string_view bv(b);
  return a.size() == bv.size() &&
         std::equal(a.begin(), a.end(), bv.begin(), [](char x, char y) { return Fold(x) == Fold(y); });
}

// An application is a section of the configuration file of its own: a name that
// is one of the file's shared sections would overwrite, and on removal delete,
// what every application relies on.
bool IsUsableApplicationName(const std::string& name) {
  for (const char* shared : {ini::kMainConfig, ini::kKeyboardGroups, ini::kDataLocation})
    if (EqualIgnoringCase(name, shared)) return false;
  return true;
}

bool CheckFilesPresent(SystemOps& sys, const std::string& targetFolder,
                       const std::string& setupIni) {
  for (const std::string& entry : ReadNumberedList(sys, setupIni, ini::kFileForCheck))
    if (!sys.PathExists(JoinPath(targetFolder, entry))) return false;
  return true;
}

int Fail(SystemOps& sys, const char* message, int code) {
  sys.Print(message);
  return code;
}

// Returns 0 when the flows may go on, else the exit code.
int StartUp(SystemOps& sys, Facts& f) {
  f.windowsName = sys.WindowsName();
  sys.Print(text::kOsVersion + f.windowsName + "\n");

  f.packageFolder = sys.PackageFolder();
  f.programFiles = sys.ProgramFilesFolder();
  if (f.programFiles.empty()) return Fail(sys, text::kNoProgramFiles, kExitNoProgramFiles);

  // Without its own folder the installer has no package description to read.
  f.setupIni = f.packageFolder.empty() ? std::string() : JoinPath(f.packageFolder, kSetupIniName);
  const auto info = [&](const char* key) {
    return f.setupIni.empty() ? std::string() : sys.ReadText(f.setupIni, ini::kSetupInfo, key);
  };

  const std::string subTargetPath = info(ini::kSubTargetPath);
  if (subTargetPath.empty()) return Fail(sys, text::kNoSubTargetPath, kExitIncompletePackage);
  const auto target = TargetFolderFor(f.programFiles, subTargetPath);
  if (!target) return Fail(sys, text::kUnsafeSubTargetPath, kExitUnsafePackage);
  f.targetFolder = *target;

  f.exeFileName = info(ini::kExeFileName);
  if (f.exeFileName.empty()) return Fail(sys, text::kNoExeFileName, kExitIncompletePackage);
  if (!IsPlainName(f.exeFileName) ||
      ComponentProgramPath(f.targetFolder, f.exeFileName).size() > kPathMax)
    return Fail(sys, text::kUnsafeExeFileName, kExitUnsafePackage);
  f.sourceFolder = JoinPath(f.packageFolder, kComponentSourceFolder);
  f.packageConfig = JoinPath(f.sourceFolder, f.exeFileName + ".ini");
  f.installedConfig = JoinPath(f.targetFolder, f.exeFileName + ".ini");

  f.componentInstalled =
      sys.ReadInstallRecord(f.record) && CheckFilesPresent(sys, f.targetFolder, f.setupIni);
  sys.Print(f.componentInstalled ? text::kComponentInstalled : text::kComponentNotInstalled);

  f.newVersion = CutToRecordText(info(ini::kVersion));
  if (f.newVersion.empty()) return Fail(sys, text::kNoVersion, kExitIncompletePackage);
  sys.Print(text::kPrepareInstall + f.newVersion + "\n");

  f.registered = ReadNumberedList(sys, f.installedConfig, ini::kMainConfig);

  f.application = sys.ReadText(f.packageConfig, ini::kMainConfig, "1");
  if (f.application.empty()) return Fail(sys, text::kNoApplicationName, kExitNoApplicationName);
  if (!IsUsableApplicationName(f.application))
    return Fail(sys, text::kUnsafeApplicationName, kExitUnsafePackage);
  sys.Print(text::kInstallFor + f.application + "\n");

  f.applicationRegistered =
      std::find(f.registered.begin(), f.registered.end(), f.application) != f.registered.end();
  sys.Print(f.application + (f.applicationRegistered ? text::kAppInstalled : text::kAppNotInstalled));
  sys.Print(text::kInitialComplete);
  return kExitOk;
}

void CopyApplicationSection(SystemOps& sys, const Facts& f) {
  WriteApplicationSection(sys, f.installedConfig, f.application,
                          ReadApplicationSection(sys, f.packageConfig, f.application));
}

bool StartComponent(SystemOps& sys, const Facts& f) {
  return sys.StartProgram(f.exeFileName + ".exe", std::string(), f.targetFolder);
}

int FirstInstall(SystemOps& sys, Facts& f) {
  sys.Print(text::kBeginInstall);
  f.record.count = 1;
  f.record.version = f.newVersion;
  // A component without its files must not be recorded or set to start.
  if (!sys.CopyFiles(JoinPath(f.sourceFolder, "*"), f.targetFolder))
    return Fail(sys, text::kInstallFailed, kExitInstallFailed);
  RegisterAutostart(sys, f.packageFolder, f.targetFolder, f.exeFileName, f.windowsName);
  if (!sys.WriteInstallRecord(f.record)) return Fail(sys, text::kInstallFailed, kExitInstallFailed);
  sys.Print(text::kInstallSuccess);
  return kExitOk;
}

int Update(SystemOps& sys, Facts& f) {
  sys.Print(text::kBeginUpdate);
  if (IsNewerVersion(f.newVersion, f.record.version)) {
    for (const char* pattern : {"*.exe", "*.dll"})
      if (!sys.CopyFiles(JoinPath(f.sourceFolder, pattern), f.targetFolder))
        return Fail(sys, text::kCopyFailed, kExitCopyFailed);
    // Only these parts of the package's configuration are taken over: the
    // installed copy carries every registered application's settings.
    CopyKeyboardGroups(sys, f.packageConfig, f.installedConfig);
    CopyDataLocation(sys, f.packageConfig, f.installedConfig);
    f.record.version = f.newVersion;
    if (!sys.WriteInstallRecord(f.record))
      return Fail(sys, text::kRecordWriteFailed, kExitRecordWriteFailed);
  }
  if (f.applicationRegistered) {
    const std::int32_t offered = sys.ReadInteger(f.packageConfig, f.application, ini::kAppVersion);
    const std::int32_t installed =
        sys.ReadInteger(f.installedConfig, f.application, ini::kAppVersion);
    if (installed < offered) CopyApplicationSection(sys, f);
  } else {
    std::vector<std::string> list = f.registered;
    list.push_back(f.application);
    WriteNumberedList(sys, f.installedConfig, ini::kMainConfig, list);
    CopyApplicationSection(sys, f);
    ++f.record.count;
    if (!sys.WriteInstallRecord(f.record))
      return Fail(sys, text::kRecordWriteFailed, kExitRecordWriteFailed);
  }
  sys.Print(text::kUpdateSuccess);
  return kExitOk;
}

int Install(SystemOps& sys, Facts& f) {
  if (!sys.StopComponent(kComponentStopWaitMs)) return kExitComponentStillRunning;
  const int result = f.componentInstalled ? Update(sys, f) : FirstInstall(sys, f);
  if (result != kExitOk) return result;
  if (!StartComponent(sys, f)) return Fail(sys, text::kStartFailed, kExitStartFailed);
  sys.Print(text::kStartSuccess);
  return kExitOk;
}

int Uninstall(SystemOps& sys, Facts& f) {
  sys.Print(text::kBeginUninstall);
  if (f.componentInstalled && f.applicationRegistered) {
    if (!sys.StopComponent(kComponentStopWaitMs)) return kExitComponentStillRunning;
    if (f.record.count <= 1) {
      if (!RemoveComponent(sys, f.packageFolder, f.targetFolder, f.exeFileName, f.windowsName,
                           f.programFiles))
        return Fail(sys, text::kRemoveFailed, kExitRemoveFailed);
    } else {
      DeleteApplicationSection(sys, f.installedConfig, f.application);
      DeleteNumberedList(sys, f.installedConfig, ini::kMainConfig);
      std::vector<std::string> list = f.registered;
      list.erase(std::find(list.begin(), list.end(), f.application));
      WriteNumberedList(sys, f.installedConfig, ini::kMainConfig, list);
      --f.record.count;
      if (!sys.WriteInstallRecord(f.record))
        return Fail(sys, text::kRecordWriteFailed, kExitRecordWriteFailed);
      if (!StartComponent(sys, f)) return Fail(sys, text::kStartFailed, kExitStartFailed);
    }
  }
  sys.Print(text::kUninstallComplete);
  return kExitOk;
}

}  // namespace

int RunSetup(SystemOps& sys, const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) {
    sys.Print(text::kUsage1);
    sys.Print(text::kUsage2);
    sys.Print(text::kUsage3);
    return kExitOk;
  }
  const std::string& option = arguments[0];
  const bool install = option == kInstallOption;
  if (!install && option != kUninstallOption)
    return Fail(sys, text::kInvalidParameter, kExitInvalidParameter);

  Facts facts;
  if (const int code = StartUp(sys, facts); code != kExitOk) return code;
  return install ? Install(sys, facts) : Uninstall(sys, facts);
}

}  // namespace setup
