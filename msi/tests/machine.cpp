#include "machine.h"

#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>

#include "clock.h"

// Vista's calls that open a key's path themselves; the headers declare them only
// for builds that need Vista, and this test runs only as the 64-bit build under Wine.
extern "C" {
WINADVAPI LONG WINAPI RegSetKeyValueA(HKEY, LPCSTR, LPCSTR, DWORD, LPCVOID, DWORD);
WINADVAPI LONG WINAPI RegDeleteKeyValueA(HKEY, LPCSTR, LPCSTR);
}

namespace machine {

// A 64-bit program sees the registry's 64-bit view, which the package writes.
std::optional<std::string> Text(HKEY root, const std::string& key, const char* name) {
  char value[2048];
  DWORD size = sizeof value;
  if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value,
                   &size) != ERROR_SUCCESS)
    return std::nullopt;
  return std::string(value);
}

std::optional<DWORD> Number(HKEY root, const std::string& key, const char* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueA(root, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

void SetText(HKEY root, const std::string& key, const char* name, const std::string& value) {
  RegSetKeyValueA(root, key.c_str(), name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void SetNumber(HKEY root, const std::string& key, const char* name, DWORD value) {
  RegSetKeyValueA(root, key.c_str(), name, REG_DWORD, &value, sizeof value);
}

void DeleteValue(HKEY root, const std::string& key, const char* name) {
  RegDeleteKeyValueA(root, key.c_str(), name);
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY k = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}

std::vector<std::string> Subkeys(HKEY root, const std::string& key) {
  std::vector<std::string> names;
  HKEY k = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return names;
  char name[256];
  for (DWORD i = 0, size = sizeof name; RegEnumKeyExA(k, i, name, &size, nullptr, nullptr, nullptr, nullptr) ==
                                         ERROR_SUCCESS;
       ++i, size = sizeof name)
    names.emplace_back(name, size);
  RegCloseKey(k);
  return names;
}

SavedValue Save(HKEY root, const std::string& key, const char* name) {
  SavedValue s{root, key, name, false, 0, {}};
  DWORD size = 0;
  if (RegGetValueA(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, &s.type, nullptr, &size) == ERROR_SUCCESS) {
    s.data.resize(size);
    s.present = RegGetValueA(root, key.c_str(), name, RRF_RT_ANY | RRF_NOEXPAND, nullptr, s.data.data(), &size) ==
                ERROR_SUCCESS;
  }
  return s;
}

void Restore(const SavedValue& s) {
  if (s.present)
    RegSetKeyValueA(s.root, s.key.c_str(), s.name.c_str(), s.type, s.data.data(), static_cast<DWORD>(s.data.size()));
  else
    DeleteValue(s.root, s.key, s.name.c_str());
}

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return path;
}

namespace {

HANDLE Launch(std::string commandLine, const std::string& folder = {}) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.empty() ? nullptr : folder.c_str(), &si, &pi))
    return nullptr;
  CloseHandle(pi.hThread);
  return pi.hProcess;
}

}  // namespace

bool Start(const std::string& commandLine, const std::string& folder) {
  const HANDLE process = Launch(commandLine, folder);
  if (process) CloseHandle(process);
  return process != nullptr;
}

Outcome RunAndWait(const std::string& commandLine, DWORD deadlineMs) {
  Outcome run;
  const double start = test_support::NowMs();
  const HANDLE process = Launch(commandLine);
  if (!process) return run;
  if (WaitForSingleObject(process, deadlineMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(process, &run.code);
  else
    TerminateProcess(process, 1);
  CloseHandle(process);
  run.seconds = (test_support::NowMs() - start) / 1000;
  return run;
}

std::optional<Shortcut> ReadShortcut(const std::string& lnkPath) {
  std::optional<Shortcut> result;
  const bool ownCom = SUCCEEDED(CoInitialize(nullptr));
  IShellLinkA* link = nullptr;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      wchar_t wide[MAX_PATH];
      MultiByteToWideChar(CP_ACP, 0, lnkPath.c_str(), -1, wide, MAX_PATH);
      char target[MAX_PATH] = "", folder[MAX_PATH] = "";
      if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
          SUCCEEDED(link->GetWorkingDirectory(folder, MAX_PATH)))
        result = Shortcut{target, folder};
      file->Release();
    }
    link->Release();
  }
  if (ownCom) CoUninitialize();
  return result;
}

std::vector<std::string> RelatedProducts(const std::string& upgradeCode) {
  std::vector<std::string> codes;
  char code[39];
  for (DWORD i = 0; MsiEnumRelatedProductsA(upgradeCode.c_str(), 0, i, code) == ERROR_SUCCESS; ++i)
    codes.emplace_back(code);
  return codes;
}

}  // namespace machine
