// What the package's end-to-end test reads and changes on the machine (the
// registry, files, processes, windows, shortcuts, Windows Installer), each as
// one plain call.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "file_tree.h"
#include "files.h"
#include "processes.h"
#include "message_pump.h"
#include "wine_paths.h"

namespace machine {

// ---- registry -----------------------------------------------------------------
std::optional<std::string> Text(HKEY root, const std::string& key, const char* name);
std::optional<DWORD> Number(HKEY root, const std::string& key, const char* name);
void SetText(HKEY root, const std::string& key, const char* name, const std::string& value);
void SetNumber(HKEY root, const std::string& key, const char* name, DWORD value);
void DeleteValue(HKEY root, const std::string& key, const char* name);
bool KeyExists(HKEY root, const std::string& key);
std::vector<std::string> Subkeys(HKEY root, const std::string& key);

// A value as it was, to be put back (or deleted when it was not there).
struct SavedValue {
  HKEY root = nullptr;
  std::string key, name;
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};
SavedValue Save(HKEY root, const std::string& key, const char* name);
void Restore(const SavedValue& saved);

// ---- files -------------------------------------------------------------------
using test_support::DeleteTree;
using test_support::Exists;
using test_support::FilesBelow;
using test_support::ReadWholeFile;
using test_support::WindowsPath;
using test_support::WriteWholeFile;
std::string SpecialFolder(int csidl);

// ---- processes and windows ---------------------------------------------------
using test_support::EndProcessesNamed;
using test_support::ProcessesNamed;
// Waits for the state a check needs, up to a deadline.
inline bool WaitUntil(const std::function<bool()>& done, DWORD ms = 15000) { return test_support::PumpUntil(done, ms); }

// Starts a command line (in `folder`, when given); false when it cannot.
bool Start(const std::string& commandLine, const std::string& folder = {});
struct Outcome {
  DWORD code = 0xFFFFFFFF;
  double seconds = 0;
};
// Starts a command line and waits for it to end (a hung one is ended and
// reported with 0xFFFFFFFF).
Outcome RunAndWait(const std::string& commandLine, DWORD deadlineMs = 180000);

// ---- shortcuts and Windows Installer -----------------------------------------
struct Shortcut {
  std::string target, workingFolder;
};
std::optional<Shortcut> ReadShortcut(const std::string& lnkPath);
// Product codes of the installed products of an upgrade code.
std::vector<std::string> RelatedProducts(const std::string& upgradeCode);

}  // namespace machine
