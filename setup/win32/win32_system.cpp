#include "win32_system.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cstdio>

#include "component_control.h"
#include "install_paths.h"
#include "registry_ops.h"
#include "shell_ops.h"
#include "system_code_page.h"
#include "windows_version.h"

namespace setup {

std::string Win32System::ReadText(const std::string& file, const std::string& section,
                                  const std::string& key) {
  char buffer[kProfileTextMax + 1];
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer,
                                                sizeof buffer, file.c_str());
  return std::string(buffer, length < sizeof buffer ? length : 0);
}

std::int32_t Win32System::ReadInteger(const std::string& file, const std::string& section,
                                      const std::string& key) {
  return static_cast<std::int32_t>(
      GetPrivateProfileIntA(section.c_str(), key.c_str(), 0, file.c_str()));
}

void Win32System::WriteText(const std::string& file, const std::string& section,
                            const std::string& key, const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str());
}

void Win32System::DeleteKey(const std::string& file, const std::string& section,
                            const std::string& key) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str());
}

void Win32System::DeleteSection(const std::string& file, const std::string& section) {
  WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, file.c_str());
}

void Win32System::Print(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

std::string Win32System::WindowsName() { return GetWindowsName(); }

CodePage Win32System::AnsiCodePage() { return SystemCodePage(); }

std::string Win32System::PackageFolder() {
  char path[512];
  const DWORD length = GetModuleFileNameA(nullptr, path, 511);
  // A path that filled the buffer may have been cut: no folder rather than a wrong one.
  if (length == 0 || length >= 511) return {};
  return FolderOf(std::string(path, length), SystemCodePage());
}

std::string Win32System::ProgramFilesFolder() {
  char path[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathA(nullptr, path, CSIDL_PROGRAM_FILES, FALSE)) return {};
  return path;
}

bool Win32System::PathExists(const std::string& path) {
  return PathFileExistsA(path.c_str()) != FALSE;
}

bool Win32System::ReadInstallRecord(InstallRecord& record) {
  return setup::ReadInstallRecord(HKEY_LOCAL_MACHINE, kRecordKey, record);
}

bool Win32System::WriteInstallRecord(const InstallRecord& record) {
  return setup::WriteInstallRecord(HKEY_LOCAL_MACHINE, kRecordKey, record);
}

bool Win32System::DeleteInstallRecord() {
  return DeleteRegistryTree(HKEY_LOCAL_MACHINE, kRecordKey);
}

bool Win32System::WriteRunValue(const std::string& name, const std::string& command) {
  return WriteRegistryText(HKEY_LOCAL_MACHINE, kRunKey, name.c_str(), command);
}

bool Win32System::DeleteRunValue(const std::string& name) {
  return DeleteRegistryValue(HKEY_LOCAL_MACHINE, kRunKey, name.c_str());
}

bool Win32System::StartProgram(const std::string& file, const std::string& parameters,
                               const std::string& workingFolder) {
  return StartHidden(file, parameters, workingFolder);
}

std::vector<FolderEntry> Win32System::ListFolder(const std::string& folder,
                                                 const std::string& mask) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA(JoinPath(folder, mask).c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (FindNextFileA(find, &found));
  FindClose(find);
  return entries;
}

bool Win32System::CreateFolder(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32System::CopyFiles(const std::string& pattern, const std::string& folder) {
  return setup::CopyFiles(pattern, folder);
}

bool Win32System::RemoveFile(const std::string& path) {
  if (DeleteFileA(path.c_str())) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return true;
  // Files copied from a CD keep their read-only mark; that is no reason to stay.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES ||
      !(attributes & FILE_ATTRIBUTE_READONLY) || (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (DeleteFileA(path.c_str())) return true;
  SetFileAttributesA(path.c_str(), attributes);
  return false;
}

bool Win32System::RemoveEmptyFolder(const std::string& path) {
  return RemoveDirectoryA(path.c_str()) != FALSE;
}

bool Win32System::StopComponent(const std::string& programFile, std::uint32_t maxWaitMs) {
  return setup::StopComponent(programFile, maxWaitMs);
}

}  // namespace setup
