#include "file_tree.h"

#include <windows.h>
#include <shellapi.h>

namespace test_support {

namespace {

// Calls visit(name, isFolder) for each entry of `folder` but "." and "..".
template <class Visit>
void EachEntry(const std::string& folder, Visit visit) {
  WIN32_FIND_DATAA found;
  const HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name != "." && name != "..") visit(name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
  } while (FindNextFileA(find, &found));
  FindClose(find);
}

}  // namespace

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> FilesBelow(const std::string& folder) {
  std::vector<std::string> files;
  EachEntry(folder, [&](const std::string& name, bool isFolder) {
    if (!isFolder) {
      files.push_back(name);
      return;
    }
    for (const std::string& below : FilesBelow(folder + "\\" + name)) files.push_back(name + "\\" + below);
  });
  return files;
}

void CopyTree(const std::string& from, const std::string& to) {
  CreateDirectoryA(to.c_str(), nullptr);
  EachEntry(from, [&](const std::string& name, bool isFolder) {
    if (isFolder) CopyTree(from + "\\" + name, to + "\\" + name);
    else CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE);
  });
}

void DeleteTree(const std::string& path) {
  if (!Exists(path)) return;
  const std::string from = path + std::string(2, '\0');
  SHFILEOPSTRUCTA op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  SHFileOperationA(&op);
}

}  // namespace test_support
