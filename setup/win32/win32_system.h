// The installer's system operations on the real machine.
#pragma once

#include "system_ops.h"

namespace setup {

class Win32System : public SystemOps {
 public:
  std::string ReadText(const std::string& file, const std::string& section,
                       const std::string& key) override;
  std::int32_t ReadInteger(const std::string& file, const std::string& section,
                           const std::string& key) override;
  void WriteText(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) override;
  void DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  void DeleteSection(const std::string& file, const std::string& section) override;

  void Print(const std::string& text) override;
  std::string WindowsName() override;
  CodePage AnsiCodePage() override;
  std::string PackageFolder() override;
  std::string ProgramFilesFolder() override;
  bool PathExists(const std::string& path) override;
  bool ReadInstallRecord(InstallRecord& record) override;
  bool WriteInstallRecord(const InstallRecord& record) override;
  bool DeleteInstallRecord() override;
  bool WriteRunValue(const std::string& name, const std::string& command) override;
  bool DeleteRunValue(const std::string& name) override;
  bool StartProgram(const std::string& file, const std::string& parameters,
                    const std::string& workingFolder) override;
  std::vector<FolderEntry> ListFolder(const std::string& folder, const std::string& mask) override;
  bool CreateFolder(const std::string& path) override;
  bool CopyFiles(const std::string& pattern, const std::string& folder) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveEmptyFolder(const std::string& path) override;
  bool StopComponent(const std::string& programFile, std::uint32_t maxWaitMs) override;
};

}  // namespace setup
