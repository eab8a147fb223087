// Everything the installer does to the machine, as one interface: the Win32
// implementation does it for real, tests record it. The installer's decisions
// (which operation, in which order, with which texts) stay outside.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "profile.h"

namespace setup {

// The installation record (registry "SOFTWARE\KAVO\KvMessageController").
struct InstallRecord {
  std::string version;      // VERSION, at most 99 characters
  std::uint32_t count = 0;  // COUNT: applications registered with the component
  // False when COUNT is there but is not a 4-byte number (a text "5", say): such
  // a count is never changed, and never trusted to decide a removal.
  bool countTrusted = true;
  // What the component brought, as full paths: the files its copies put into the
  // target folder, and the folders the installer made for them, outermost first.
  // Removal takes away these and nothing else. Empty in a record written before
  // they were kept.
  std::vector<std::string> files{};
  std::vector<std::string> folders{};
};

// One entry of a folder listing.
struct FolderEntry {
  std::string name;
  bool folder = false;
};

class SystemOps : public Profile {
 public:
  // Console output, exactly as given.
  virtual void Print(const std::string& text) = 0;

  virtual std::string WindowsName() = 0;
  // How the system's ANSI texts (paths, names, profile values) are made of bytes.
  virtual CodePage AnsiCodePage() = 0;
  // The folder of the running installer; empty when it cannot be determined.
  virtual std::string PackageFolder() = 0;
  // Empty when the system cannot give it.
  virtual std::string ProgramFilesFolder() = 0;
  virtual bool PathExists(const std::string& path) = 0;

  // True when COUNT was read; VERSION is taken when it could be read.
  virtual bool ReadInstallRecord(InstallRecord& record) = 0;
  // True when COUNT was written. A count that is not trusted is left as stored:
  // then true when the record's key could be written at all.
  virtual bool WriteInstallRecord(const InstallRecord& record) = 0;
  // Deletes the record's key with everything below it; true when it is gone.
  virtual bool DeleteInstallRecord() = 0;

  // The component's value under the machine's Run key.
  virtual bool WriteRunValue(const std::string& name, const std::string& command) = 0;
  virtual bool DeleteRunValue(const std::string& name) = 0;
  // Starts a program hidden, not waiting for it; true when it was started.
  virtual bool StartProgram(const std::string& file, const std::string& parameters,
                            const std::string& workingFolder) = 0;

  // The files and folders in folder whose names match mask ("*" or "*.ext"),
  // as the shell's copy finds them.
  virtual std::vector<FolderEntry> ListFolder(const std::string& folder,
                                              const std::string& mask) = 0;
  // One folder, whose parent exists.
  virtual bool CreateFolder(const std::string& path) = 0;
  // Shell copy of the files matching pattern into folder, which is created when
  // missing; true when the shell reported success.
  virtual bool CopyFiles(const std::string& pattern, const std::string& folder) = 0;
  // One file; true when it is gone afterwards (also when it was never there).
  virtual bool RemoveFile(const std::string& path) = 0;
  // A folder, only when it is empty.
  virtual bool RemoveEmptyFolder(const std::string& path) = 0;

  // Asks the component to close (its window, and a program started from its
  // program file that has no window yet once it has one) and waits up to
  // maxWaitMs for its processes to end. True when none is left.
  virtual bool StopComponent(const std::string& programFile, std::uint32_t maxWaitMs) = 0;
};

}  // namespace setup
