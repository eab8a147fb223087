#include "shell_ops.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

namespace setup {
namespace {

// Silent, no confirmations, no question before making a folder (0x214). Error
// dialogs of the shell stay: they are the only report a person at the machine gets.
constexpr FILEOP_FLAGS kQuietFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOCONFIRMMKDIR;

// The shell takes lists of paths, each ended by a NUL, the list by another.
std::string PathList(const std::string& path) { return path + std::string(2, '\0'); }

}  // namespace

bool CopyFiles(const std::string& pattern, const std::string& folder) {
  // The installer makes the parents first (and notes which it made): a copy
  // into a folder whose parent is missing would land in a file named like it.
  if (!PathIsDirectoryA(folder.c_str())) CreateDirectoryA(folder.c_str(), nullptr);
  const std::string from = PathList(pattern);
  const std::string to = PathList(folder);
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_COPY;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = kQuietFlags;
  return SHFileOperationA(&op) == 0;
}

bool StartHidden(const std::string& file, const std::string& parameters,
                 const std::string& workingFolder) {
  const HINSTANCE result =
      ShellExecuteA(nullptr, "open", file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                    workingFolder.c_str(), SW_HIDE);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace setup
