#include "component_setup.h"

#include <algorithm>

#include "install_paths.h"
#include "setup_texts.h"
#include "version_text.h"
#include "windows_name.h"

namespace setup {
namespace {

void AddOnce(std::vector<std::string>& list, const std::string& path, const CodePage& cp) {
  for (const std::string& known : list)
    if (cp.SameIgnoringCase(known, path)) return;
  list.push_back(path);
}

// What a shell copy of from\mask into `to` puts there, found the way the copy
// finds it: matching folders come with everything in them. Parents come before
// what they hold.
void CollectCopy(SystemOps& sys, const std::string& from, const std::string& mask,
                 const std::string& to, std::vector<std::string>& files,
                 std::vector<std::string>& folders) {
  for (const FolderEntry& entry : sys.ListFolder(from, mask)) {
    const std::string target = JoinPath(to, entry.name);
    if (target.size() > kPathMax) continue;  // beyond what the copy can write, too
    if (entry.folder) {
      folders.push_back(target);
      CollectCopy(sys, JoinPath(from, entry.name), "*", target, files, folders);
    } else {
      files.push_back(target);
    }
  }
}

}  // namespace

std::string RegisterTaskParameters(const std::string& task, const std::string& program) {
  return "-R -T:\"" + task + "\" -P:\"" + program + "\"";
}

std::string RemoveTaskParameters(const std::string& task) { return "-D -T:\"" + task + "\""; }

std::string ComponentProgramPath(const std::string& targetFolder, const std::string& exeFileName) {
  return JoinPath(targetFolder, exeFileName + ".exe");
}

bool RegisterAutostart(SystemOps& sys, const ComponentPlaces& places) {
  const std::string program = ComponentProgramPath(places.targetFolder, places.exeFileName);
  if (StartsAsScheduledTask(places.windowsName))
    return sys.StartProgram(kTaskTool, RegisterTaskParameters(places.exeFileName, program),
                            places.packageFolder);
  // The Run value goes through the record's text buffer; a cut command would
  // start some other file, so a longer one is not written at all.
  if (program.size() > kRecordTextMax) return false;
  return sys.WriteRunValue(kRunValueName, program);
}

bool UnregisterAutostart(SystemOps& sys, const ComponentPlaces& places) {
  if (StartsAsScheduledTask(places.windowsName))
    return sys.StartProgram(kTaskTool, RemoveTaskParameters(places.exeFileName),
                            places.packageFolder);
  return sys.DeleteRunValue(kRunValueName);
}

bool CopyComponentFiles(SystemOps& sys, const ComponentPlaces& places, const std::string& mask,
                        InstallRecord& record) {
  const CodePage& cp = places.codePage;
  // A folder that is missing before the copy is the installer's own; one that
  // was there (another product's "KAVO", say) never is.
  for (const std::string& folder : FoldersBetween(places.programFiles, places.targetFolder, cp)) {
    if (sys.PathExists(folder)) continue;
    sys.CreateFolder(folder);
    AddOnce(record.folders, folder, cp);
  }
  std::vector<std::string> files;
  std::vector<std::string> folders;
  CollectCopy(sys, places.sourceFolder, mask, places.targetFolder, files, folders);
  for (const std::string& folder : folders)
    if (!sys.PathExists(folder)) AddOnce(record.folders, folder, cp);
  bool copied = sys.CopyFiles(JoinPath(places.sourceFolder, mask), places.targetFolder);
  for (const std::string& file : files) {
    AddOnce(record.files, file, cp);
    // The shell can report success for a copy that failed: the files tell.
    copied = copied && sys.PathExists(file);
  }
  return copied;
}

bool RemoveComponent(SystemOps& sys, const ComponentPlaces& places, const InstallRecord& record) {
  const CodePage& cp = places.codePage;
  std::vector<std::string> files = record.files;
  std::vector<std::string> folders = record.folders;
  if (files.empty()) {
    // A record from before the installer kept these lists: what this package's
    // copy would have brought, and the target folder once it is empty.
    folders = {places.targetFolder};
    CollectCopy(sys, places.sourceFolder, "*", places.targetFolder, files, folders);
  }
  AddOnce(files, places.installedConfig, cp);
  // The program first: while it runs, it and its libraries cannot go, and then
  // nothing is gone yet.
  const std::string program = ComponentProgramPath(places.targetFolder, places.exeFileName);
  std::stable_partition(files.begin(), files.end(),
                        [&](const std::string& file) { return cp.SameIgnoringCase(file, program); });
  for (const std::string& file : files) {
    // A tampered record names nothing outside the component's folder.
    if (!IsStrictlyBelow(file, places.targetFolder, cp)) continue;
    if (!sys.RemoveFile(file)) {
      sys.Print(text::kCannotRemove + file + "\n");
      return false;
    }
  }
  // Each folder comes after its parent in the list: backwards, the deepest go
  // first. A folder with anything left in it stays.
  for (auto folder = folders.rbegin(); folder != folders.rend(); ++folder)
    if (IsStrictlyBelow(*folder, places.programFiles, cp)) sys.RemoveEmptyFolder(*folder);
  UnregisterAutostart(sys, places);
  return sys.DeleteInstallRecord();
}

}  // namespace setup
