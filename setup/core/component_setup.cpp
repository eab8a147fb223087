#include "component_setup.h"

#include "install_paths.h"
#include "version_text.h"
#include "windows_name.h"

namespace setup {

std::string RegisterTaskParameters(const std::string& task, const std::string& program) {
  return "-R -T:\"" + task + "\" -P:\"" + program + "\"";
}

std::string RemoveTaskParameters(const std::string& task) { return "-D -T:\"" + task + "\""; }

std::string ComponentProgramPath(const std::string& targetFolder, const std::string& exeFileName) {
  return JoinPath(targetFolder, exeFileName + ".exe");
}

bool RegisterAutostart(SystemOps& sys, const std::string& packageFolder,
                       const std::string& targetFolder, const std::string& exeFileName,
                       const std::string& windowsName) {
  const std::string program = ComponentProgramPath(targetFolder, exeFileName);
  if (StartsAsScheduledTask(windowsName))
    return sys.StartProgram(kTaskTool, RegisterTaskParameters(exeFileName, program), packageFolder);
  // The Run value goes through the record's text buffer; a cut command would
  // start some other file, so a longer one is not written at all.
  if (program.size() > kRecordTextMax) return false;
  return sys.WriteRunValue(kRunValueName, program);
}

bool UnregisterAutostart(SystemOps& sys, const std::string& packageFolder,
                         const std::string& exeFileName, const std::string& windowsName) {
  if (StartsAsScheduledTask(windowsName))
    return sys.StartProgram(kTaskTool, RemoveTaskParameters(exeFileName), packageFolder);
  return sys.DeleteRunValue(kRunValueName);
}

bool RemoveComponent(SystemOps& sys, const std::string& packageFolder,
                     const std::string& targetFolder, const std::string& exeFileName,
                     const std::string& windowsName, const std::string& programFilesFolder) {
  if (IsStrictlyBelow(targetFolder, programFilesFolder)) sys.DeletePath(targetFolder);
  UnregisterAutostart(sys, packageFolder, exeFileName, windowsName);
  return sys.DeleteInstallRecord();
}

}  // namespace setup
