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
  ComponentPlaces places;
  std::string setupIni;
  std::string packageConfig;
  InstallRecord record;
  bool componentInstalled = false;
  std::string newVersion;
  std::vector<std::string> registered;
  std::string application;
  bool applicationRegistered = false;
};

// An application is a section of the configuration file of its own: a name that
// is one of the file's shared sections would overwrite, and on removal delete,
// what every application relies on.
bool IsUsableApplicationName(const std::string& name, const CodePage& cp) {
  for (const char* shared : {ini::kMainConfig, ini::kKeyboardGroups, ini::kDataLocation})
    if (cp.SameIgnoringCase(name, shared)) return false;
  return true;
}

// Application names are section names of the configuration file, which matches
// them without regard to case: "pioscreen" is the application "PioScreen".
std::vector<std::string>::const_iterator FindApplication(const std::vector<std::string>& list,
                                                         const std::string& name,
                                                         const CodePage& cp) {
  return std::find_if(list.begin(), list.end(),
                      [&](const std::string& entry) { return cp.SameIgnoringCase(entry, name); });
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
  ComponentPlaces& p = f.places;
  p.windowsName = sys.WindowsName();
  sys.Print(text::kOsVersion + p.windowsName + "\n");
  p.codePage = sys.AnsiCodePage();
  const CodePage& cp = p.codePage;

  p.packageFolder = sys.PackageFolder();
  p.programFiles = sys.ProgramFilesFolder();
  if (p.programFiles.empty()) return Fail(sys, text::kNoProgramFiles, kExitNoProgramFiles);

  // Without its own folder the installer has no package description to read.
  f.setupIni = p.packageFolder.empty() ? std::string() : JoinPath(p.packageFolder, kSetupIniName);
  const auto info = [&](const char* key) {
    return f.setupIni.empty() ? std::string() : sys.ReadText(f.setupIni, ini::kSetupInfo, key);
  };

  const std::string subTargetPath = info(ini::kSubTargetPath);
  if (subTargetPath.empty()) return Fail(sys, text::kNoSubTargetPath, kExitIncompletePackage);
  const auto target = TargetFolderFor(p.programFiles, subTargetPath, cp);
  if (!target) return Fail(sys, text::kUnsafeSubTargetPath, kExitUnsafePackage);
  p.targetFolder = *target;

  p.exeFileName = info(ini::kExeFileName);
  if (p.exeFileName.empty()) return Fail(sys, text::kNoExeFileName, kExitIncompletePackage);
  if (!IsPlainName(p.exeFileName, cp) ||
      ComponentProgramPath(p.targetFolder, p.exeFileName).size() > kPathMax)
    return Fail(sys, text::kUnsafeExeFileName, kExitUnsafePackage);
  p.sourceFolder = JoinPath(p.packageFolder, kComponentSourceFolder);
  f.packageConfig = JoinPath(p.sourceFolder, p.exeFileName + ".ini");
  p.installedConfig = JoinPath(p.targetFolder, p.exeFileName + ".ini");

  f.componentInstalled =
      sys.ReadInstallRecord(f.record) && CheckFilesPresent(sys, p.targetFolder, f.setupIni);
  sys.Print(f.componentInstalled ? text::kComponentInstalled : text::kComponentNotInstalled);

  f.newVersion = CutToRecordText(info(ini::kVersion));
  if (f.newVersion.empty()) return Fail(sys, text::kNoVersion, kExitIncompletePackage);
  sys.Print(text::kPrepareInstall + f.newVersion + "\n");

  f.registered = ReadNumberedList(sys, p.installedConfig, ini::kMainConfig);

  f.application = sys.ReadText(f.packageConfig, ini::kMainConfig, "1");
  if (f.application.empty()) return Fail(sys, text::kNoApplicationName, kExitNoApplicationName);
  if (!IsUsableApplicationName(f.application, cp))
    return Fail(sys, text::kUnsafeApplicationName, kExitUnsafePackage);
  sys.Print(text::kInstallFor + f.application + "\n");

  f.applicationRegistered = FindApplication(f.registered, f.application, cp) != f.registered.end();
  sys.Print(f.application + (f.applicationRegistered ? text::kAppInstalled : text::kAppNotInstalled));
  sys.Print(text::kInitialComplete);
  return kExitOk;
}

void CopyApplicationSection(SystemOps& sys, const Facts& f) {
  WriteApplicationSection(sys, f.places.installedConfig, f.application,
                          ReadApplicationSection(sys, f.packageConfig, f.application));
}

bool StartComponent(SystemOps& sys, const Facts& f) {
  return sys.StartProgram(f.places.exeFileName + ".exe", std::string(), f.places.targetFolder);
}

bool StopComponent(SystemOps& sys, const Facts& f) {
  return sys.StopComponent(ComponentProgramPath(f.places.targetFolder, f.places.exeFileName),
                           kComponentStopWaitMs);
}

int FirstInstall(SystemOps& sys, Facts& f) {
  sys.Print(text::kBeginInstall);
  f.record.count = 1;
  f.record.countTrusted = true;
  f.record.version = f.newVersion;
  // A component without its files must not be recorded or set to start.
  if (!CopyComponentFiles(sys, f.places, "*", f.record))
    return Fail(sys, text::kInstallFailed, kExitInstallFailed);
  RegisterAutostart(sys, f.places);
  if (!sys.WriteInstallRecord(f.record)) return Fail(sys, text::kInstallFailed, kExitInstallFailed);
  sys.Print(text::kInstallSuccess);
  return kExitOk;
}

int Update(SystemOps& sys, Facts& f) {
  sys.Print(text::kBeginUpdate);
  if (IsNewerVersion(f.newVersion, f.record.version)) {
    for (const char* mask : {"*.exe", "*.dll"})
      if (!CopyComponentFiles(sys, f.places, mask, f.record))
        return Fail(sys, text::kCopyFailed, kExitCopyFailed);
    // Only these parts of the package's configuration are taken over: the
    // installed copy carries every registered application's settings.
    CopyKeyboardGroups(sys, f.packageConfig, f.places.installedConfig);
    CopyDataLocation(sys, f.packageConfig, f.places.installedConfig);
    f.record.version = f.newVersion;
    if (!sys.WriteInstallRecord(f.record))
      return Fail(sys, text::kRecordWriteFailed, kExitRecordWriteFailed);
  }
  if (f.applicationRegistered) {
    const std::int32_t offered = sys.ReadInteger(f.packageConfig, f.application, ini::kAppVersion);
    const std::int32_t installed =
        sys.ReadInteger(f.places.installedConfig, f.application, ini::kAppVersion);
    if (installed < offered) CopyApplicationSection(sys, f);
  } else {
    std::vector<std::string> list = f.registered;
    list.push_back(f.application);
    WriteNumberedList(sys, f.places.installedConfig, ini::kMainConfig, list);
    CopyApplicationSection(sys, f);
    // A count that cannot be raised stays: wrapped round to 0, the next removal
    // would take the component from every application that still uses it.
    if (!f.record.countTrusted) {
      sys.Print(text::kCountNotNumber);
    } else if (f.record.count == UINT32_MAX) {
      sys.Print(text::kCountAtLimit);
    } else {
      ++f.record.count;
      if (!sys.WriteInstallRecord(f.record))
        return Fail(sys, text::kRecordWriteFailed, kExitRecordWriteFailed);
    }
  }
  sys.Print(text::kUpdateSuccess);
  return kExitOk;
}

int Install(SystemOps& sys, Facts& f) {
  if (!StopComponent(sys, f)) return kExitComponentStillRunning;
  const int result = f.componentInstalled ? Update(sys, f) : FirstInstall(sys, f);
  if (result != kExitOk) return result;
  if (!StartComponent(sys, f)) return Fail(sys, text::kStartFailed, kExitStartFailed);
  sys.Print(text::kStartSuccess);
  return kExitOk;
}

int Uninstall(SystemOps& sys, Facts& f) {
  sys.Print(text::kBeginUninstall);
  if (f.componentInstalled && f.applicationRegistered) {
    if (!StopComponent(sys, f)) return kExitComponentStillRunning;
    // Only a count that is a number decides that this is the last application.
    if (f.record.countTrusted && f.record.count <= 1) {
      if (!RemoveComponent(sys, f.places, f.record))
        return Fail(sys, text::kRemoveFailed, kExitRemoveFailed);
    } else {
      const std::string& config = f.places.installedConfig;
      DeleteApplicationSection(sys, config, f.application);
      DeleteNumberedList(sys, config, ini::kMainConfig);
      std::vector<std::string> list = f.registered;
      list.erase(FindApplication(list, f.application, f.places.codePage));
      WriteNumberedList(sys, config, ini::kMainConfig, list);
      if (f.record.countTrusted) {
        --f.record.count;
        if (!sys.WriteInstallRecord(f.record))
          return Fail(sys, text::kRecordWriteFailed, kExitRecordWriteFailed);
      }
      if (!StartComponent(sys, f)) return Fail(sys, text::kStartFailed, kExitStartFailed);
      if (!f.record.countTrusted) sys.Print(text::kCountNotNumberKept);
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
