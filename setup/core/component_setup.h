// Where the component lives and how it is copied, set to start with Windows and
// removed. The Windows name chooses the autostart form: a scheduled task
// through the task tool on the version 6.0 systems, the machine's Run key
// elsewhere.
#pragma once

#include <string>

#include "ansi_text.h"
#include "system_ops.h"

namespace setup {

constexpr char kRunValueName[] = "RunMessageController";
constexpr char kTaskTool[] = "Quillbeck.exe";  // ships beside the installer

// The places start-up establishes, fixed for the run.
struct ComponentPlaces {
  CodePage codePage;
  std::string windowsName;
  std::string packageFolder;
  std::string programFiles;
  std::string targetFolder;
  std::string sourceFolder;  // the package's copy of the component
  std::string exeFileName;
  std::string installedConfig;
};

// The tool's command lines: -R -T:"<task>" -P:"<program>" and -D -T:"<task>".
std::string RegisterTaskParameters(const std::string& task, const std::string& program);
std::string RemoveTaskParameters(const std::string& task);

// Target folder + "\" + ExeFileName + ".exe".
std::string ComponentProgramPath(const std::string& targetFolder, const std::string& exeFileName);

bool RegisterAutostart(SystemOps& sys, const ComponentPlaces& places);
bool UnregisterAutostart(SystemOps& sys, const ComponentPlaces& places);

// Copies the package's component files matching mask into the target folder,
// making the folders on the way, and adds what the copy brings to the record's
// list of files and folders. True when the shell reported success.
bool CopyComponentFiles(SystemOps& sys, const ComponentPlaces& places, const std::string& mask,
                        InstallRecord& record);

// Removes the files the component brought, the folders the installer made that
// are left empty, the autostart entry and the installation record. A file that
// cannot be removed is named on the console and stops the removal with the
// record and the autostart still in place. True when everything went.
bool RemoveComponent(SystemOps& sys, const ComponentPlaces& places, const InstallRecord& record);

}  // namespace setup
