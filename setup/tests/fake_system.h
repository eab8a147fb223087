// A machine in memory for the installer's decisions: files (each one also a
// profile file) and folders, the record, the Run values, and a log of every
// operation with an effect, in order.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "system_ops.h"

namespace setup_test {

struct IniSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;
};

struct FakeFile {
  std::string path;  // as first written
  std::vector<IniSection> sections;
};

class FakeSystem : public setup::SystemOps {
 public:
  // --- the machine ---
  std::string windowsName;
  setup::CodePage codePage;
  std::string packageFolder = "C:\\pkg";
  std::string programFiles = "C:\\Program Files";
  std::map<std::string, FakeFile> files;  // by path with letters folded
  std::map<std::string, std::string> folders;  // made explicitly, by path with letters folded
  std::optional<setup::InstallRecord> record;
  std::map<std::string, std::string> runValues;
  bool componentCloses = true;
  bool startWorks = true;
  bool recordWriteWorks = true;
  bool recordDeleteWorks = true;
  std::set<std::string> failingCopyPatterns;  // e.g. "*.dll"
  std::set<std::string> filesInUse;           // RemoveFile fails on these (folded)

  // --- what happened ---
  std::string output;
  std::vector<std::string> log;

  // Test helpers.
  void AddFile(const std::string& path);
  void AddFolder(const std::string& path);
  bool HasFile(const std::string& path) const;
  // Sets a profile value without logging it.
  void Set(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value);
  std::optional<std::string> Get(const std::string& file, const std::string& section,
                                 const std::string& key) const;
  const IniSection* FindSection(const std::string& file, const std::string& section) const;
  // Log entries that change something (everything but profile writes).
  std::vector<std::string> Effects() const;

  // --- setup::SystemOps ---
  std::string ReadText(const std::string& file, const std::string& section,
                       const std::string& key) override;
  std::int32_t ReadInteger(const std::string& file, const std::string& section,
                           const std::string& key) override;
  void WriteText(const std::string& file, const std::string& section, const std::string& key,
                 const std::string& value) override;
  void DeleteKey(const std::string& file, const std::string& section,
                 const std::string& key) override;
  void DeleteSection(const std::string& file, const std::string& section) override;
  void Print(const std::string& text) override { output += text; }
  std::string WindowsName() override { return windowsName; }
  setup::CodePage AnsiCodePage() override { return codePage; }
  std::string PackageFolder() override { return packageFolder; }
  std::string ProgramFilesFolder() override { return programFiles; }
  bool PathExists(const std::string& path) override;
  bool ReadInstallRecord(setup::InstallRecord& r) override;
  bool WriteInstallRecord(const setup::InstallRecord& r) override;
  bool DeleteInstallRecord() override;
  bool WriteRunValue(const std::string& name, const std::string& command) override;
  bool DeleteRunValue(const std::string& name) override;
  bool StartProgram(const std::string& file, const std::string& parameters,
                    const std::string& folder) override;
  std::vector<setup::FolderEntry> ListFolder(const std::string& folder,
                                             const std::string& mask) override;
  bool CreateFolder(const std::string& path) override;
  bool CopyFiles(const std::string& pattern, const std::string& folder) override;
  bool RemoveFile(const std::string& path) override;
  bool RemoveEmptyFolder(const std::string& path) override;
  bool StopComponent(const std::string& programFile, std::uint32_t maxWaitMs) override;

 private:
  FakeFile& FileFor(const std::string& path);
  IniSection* Section(const std::string& file, const std::string& section);
};

std::string Fold(const std::string& s);

// The lead bytes of code page 932 (Japanese): 表 is "\x95\x5C", ポ is "\x83\x7C".
setup::CodePage Cp932();

}  // namespace setup_test
