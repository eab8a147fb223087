// Where the skin's image files lie: a folder under the program's folder, or
// under its parent when the program's own has none (a program started from a
// sub-folder of its installation).
#pragma once

#include <windows.h>

// `relative` (ending in a backslash, e.g. "res\\DPI\\Middle\\popup\\") under the
// folder of `module` (null: the program), else under that folder's parent. False
// when neither exists or the path would not fit MAX_PATH (never cut a path).
bool FindSkinFolder(const char* relative, char (&out)[MAX_PATH], HMODULE module = nullptr);
