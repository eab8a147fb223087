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

void CreateFolderChain(const std::string& folder) {
  if (PathIsDirectoryA(folder.c_str())) return;
  // Parents first: a copy into a folder whose parent is missing would otherwise
  // land in a file named like the folder.
  for (std::size_t cut = folder.find('\\', 3); cut != std::string::npos;
       cut = folder.find('\\', cut + 1))
    CreateDirectoryA(folder.substr(0, cut).c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
}

}  // namespace

bool CopyFiles(const std::string& pattern, const std::string& folder) {
  CreateFolderChain(folder);
  const std::string from = PathList(pattern);
  const std::string to = PathList(folder);
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_COPY;
  op.pFrom = from.c_str();
  op.pTo = to.c_str();
  op.fFlags = kQuietFlags;
  return SHFileOperationA(&op) == 0;
}

bool DeletePath(const std::string& path) {
  const std::string from = PathList(path);
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
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
