// How the component is set to start with Windows, and how it is removed. The
// Windows name chooses the form: a scheduled task through the maker's tool on
// the version 6.0 systems, the machine's Run key elsewhere.
#pragma once

#include <string>

#include "system_ops.h"

namespace setup {

constexpr char kRunValueName[] = "RunMessageController";
constexpr char kTaskTool[] = "Quillbeck.exe";  // ships beside the installer

// The tool's command lines: -R -T:"<task>" -P:"<program>" and -D -T:"<task>".
std::string RegisterTaskParameters(const std::string& task, const std::string& program);
std::string RemoveTaskParameters(const std::string& task);

// Target folder + "\" + ExeFileName + ".exe".
std::string ComponentProgramPath(const std::string& targetFolder, const std::string& exeFileName);

bool RegisterAutostart(SystemOps& sys, const std::string& packageFolder,
                       const std::string& targetFolder, const std::string& exeFileName,
                       const std::string& windowsName);
bool UnregisterAutostart(SystemOps& sys, const std::string& packageFolder,
                         const std::string& exeFileName, const std::string& windowsName);

// Deletes the target folder (only when it lies strictly below Program Files),
// removes the autostart entry and deletes the installation record. Only the
// record's deletion decides the result.
bool RemoveComponent(SystemOps& sys, const std::string& packageFolder,
                     const std::string& targetFolder, const std::string& exeFileName,
                     const std::string& windowsName, const std::string& programFilesFolder);

}  // namespace setup
