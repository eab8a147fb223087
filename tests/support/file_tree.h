// Folders of files for Windows test programs: whether a path is there, every
// file below a folder, and copying or deleting a whole tree.
#pragma once

#include <string>
#include <vector>

namespace test_support {

bool Exists(const std::string& path);
// The files below `folder`, as paths relative to it ("sub\file.txt").
std::vector<std::string> FilesBelow(const std::string& folder);
// Copies the files and folders below `from` into `to` (made when missing).
void CopyTree(const std::string& from, const std::string& to);
// Removes `path` and everything below it; nothing when it is not there.
void DeleteTree(const std::string& path);

}  // namespace test_support
