// The installer's console texts and exit codes. Package scripts and maintainers
// match these byte for byte, so they live here once and nowhere else.
#pragma once

namespace setup {

enum ExitCode : int {
  kExitOk = 0,
  kExitNoProgramFiles = 1,
  kExitIncompletePackage = 2,
  kExitNoApplicationName = 3,
  kExitComponentStillRunning = 5,
  kExitStartFailed = 6,
  kExitInstallFailed = 7,
  kExitRemoveFailed = 8,
  kExitCopyFailed = 9,
  kExitRecordWriteFailed = 12,
  kExitInvalidParameter = 14,
  // Our own addition: a package whose target folder or program name could make
  // the installer write or delete outside its own folder below Program Files.
  kExitUnsafePackage = 15,
};

namespace text {
constexpr char kUsage1[] = "setup.exe [-I | -U]\n";
constexpr char kUsage2[] = "-I \t Install ZidEzez\n";
constexpr char kUsage3[] = "-U \t Uninstall ZidEzez\n";
constexpr char kInvalidParameter[] = "Invalid Parameter\n";

constexpr char kOsVersion[] = "OS Version : ";  // + Windows name + "\n"
constexpr char kNoProgramFiles[] = "Get special folder failed\n";
constexpr char kNoSubTargetPath[] = "Get SubTargetPath failed\n";
constexpr char kNoExeFileName[] = "Get ExeFileName failed\n";
constexpr char kUnsafeSubTargetPath[] = "Invalid SubTargetPath\n";
constexpr char kUnsafeExeFileName[] = "Invalid ExeFileName\n";
constexpr char kComponentInstalled[] = "ZidEzez was installed\n";
constexpr char kComponentNotInstalled[] = "ZidEzez wasn't installed\n";
constexpr char kNoVersion[] = "Can't get ZidEzez version\n";
constexpr char kPrepareInstall[] = "Prepare install ZidEzez ";  // + version + "\n"
constexpr char kNoApplicationName[] = "Can't get AP name version\n";
constexpr char kUnsafeApplicationName[] = "Invalid AP name\n";
constexpr char kInstallFor[] = "ZidEzez install for ";  // + application + "\n"
constexpr char kAppInstalled[] = " was installed\n";       // application + this
constexpr char kAppNotInstalled[] = " wasn't installed\n";  // application + this
constexpr char kInitialComplete[] = "setup initial complete\n";

constexpr char kBeginInstall[] = "begin install...\n";
constexpr char kInstallFailed[] = "install failed\n";
constexpr char kInstallSuccess[] = "install success...\n";
constexpr char kBeginUpdate[] = "Begin update ZidEzez...\n";
constexpr char kCopyFailed[] = "copy file failed\n";
constexpr char kRecordWriteFailed[] = "Write Registry Failed...\n";
constexpr char kUpdateSuccess[] = "Update ZidEzez success...\n";
constexpr char kStartFailed[] = "Open ZidEzez Failed...\n";
constexpr char kStartSuccess[] = "Open ZidEzez Success...\n";

constexpr char kBeginUninstall[] = "Begin Uninstall...\n";
constexpr char kRemoveFailed[] = "Uninstall All Failed...";  // no line break
constexpr char kUninstallComplete[] = "Uninstall complete...\n";

// Our own additions: why a removal stopped, and why a count was not changed.
constexpr char kCannotRemove[] = "Can't remove ";  // + path + "\n"
constexpr char kCountNotNumber[] = "COUNT is not a 4-byte number, left as it is\n";
constexpr char kCountNotNumberKept[] = "COUNT is not a 4-byte number, ZidEzez is kept\n";
constexpr char kCountAtLimit[] = "COUNT is at its limit, left as it is\n";
}  // namespace text

}  // namespace setup
