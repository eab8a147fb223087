#include "skinfolder.h"

#include <shlwapi.h>

#include <cstdio>

#include "latebound.h"

namespace {

// The shell's path functions, bound when a box first looks for its pictures.
BOOL AddBackslash(char* path) {
  static const auto add = LateBound<decltype(&::PathAddBackslashA)>("shlwapi.dll", "PathAddBackslashA");
  return add && add(path);
}

BOOL RemoveFileSpec(char* path) {
  static const auto remove =
      LateBound<decltype(&::PathRemoveFileSpecA)>("shlwapi.dll", "PathRemoveFileSpecA");
  return remove && remove(path);
}

bool FolderExists(const char* path) {
  const DWORD attributes = ::GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// `folder` + `relative` when it exists and fits.
bool Existing(char (&out)[MAX_PATH], char (&folder)[MAX_PATH], const char* relative) {
  if (!AddBackslash(folder)) return false;
  const int n = std::snprintf(out, sizeof out, "%s%s", folder, relative);
  return n > 0 && n < static_cast<int>(sizeof out) && FolderExists(out);
}

}  // namespace

bool FindSkinFolder(const char* relative, char (&out)[MAX_PATH], HMODULE module) {
  out[0] = '\0';
  char folder[MAX_PATH];
  const DWORD n = ::GetModuleFileNameA(module, folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return false;
  // The shell's path functions step over double-byte characters, whose second
  // byte may be a backslash in the code pages of the Far East.
  if (!RemoveFileSpec(folder)) return false;
  char parent[MAX_PATH];
  std::snprintf(parent, sizeof parent, "%s", folder);
  if (Existing(out, folder, relative)) return true;
  if (RemoveFileSpec(parent) && Existing(out, parent, relative)) return true;
  out[0] = '\0';
  return false;
}
