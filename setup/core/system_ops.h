// Everything the installer does to the machine, as one interface: the Win32
// implementation does it for real, tests record it. The installer's decisions
// (which operation, in which order, with which texts) stay outside.
#pragma once

#include <cstdint>
#include <string>

#include "profile.h"

namespace setup {

// The installation record (registry "SOFTWARE\KAVO\KvMessageController").
struct InstallRecord {
  std::string version;      // VERSION, at most 99 characters
  std::uint32_t count = 0;  // COUNT: applications registered with the component
};

class SystemOps : public Profile {
 public:
  // Console output, exactly as given.
  virtual void Print(const std::string& text) = 0;

  virtual std::string WindowsName() = 0;
  // The folder of the running installer; empty when it cannot be determined.
  virtual std::string PackageFolder() = 0;
  // Empty when the system cannot give it.
  virtual std::string ProgramFilesFolder() = 0;
  virtual bool PathExists(const std::string& path) = 0;

  // True when COUNT was read; VERSION is taken when it could be read.
  virtual bool ReadInstallRecord(InstallRecord& record) = 0;
  // True when COUNT was written.
  virtual bool WriteInstallRecord(const InstallRecord& record) = 0;
  // Deletes the record's key with everything below it; true when it is gone.
  virtual bool DeleteInstallRecord() = 0;

  // The component's value under the machine's Run key.
  virtual bool WriteRunValue(const std::string& name, const std::string& command) = 0;
  virtual bool DeleteRunValue(const std::string& name) = 0;
  // Starts a program hidden, not waiting for it; true when it was started.
  virtual bool StartProgram(const std::string& file, const std::string& parameters,
                            const std::string& workingFolder) = 0;

  // Shell copy of the files matching pattern into folder, which is created when
  // missing; true when the shell reported success.
  virtual bool CopyFiles(const std::string& pattern, const std::string& folder) = 0;
  // Shell deletion of a file or a folder with all its contents.
  virtual bool DeletePath(const std::string& path) = 0;

  // Asks the component's window to close and waits up to maxWaitMs for its
  // process to end. True when no component window is left afterwards.
  virtual bool StopComponent(std::uint32_t maxWaitMs) = 0;
};

}  // namespace setup
