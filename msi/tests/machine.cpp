#include "machine.h"

#include <msi.h>
#include <shellapi.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <fstream>
#include <sstream>

namespace machine {

namespace {

constexpr REGSAM k64 = KEY_WOW64_64KEY;

struct Key {
  HKEY h = nullptr;
  Key(HKEY root, const std::string& path, REGSAM access, bool create = false) {
    if (create)
      RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, access | k64, nullptr, &h, nullptr);
    else
      RegOpenKeyExA(root, path.c_str(), 0, access | k64, &h);
  }
  ~Key() {
    if (h) RegCloseKey(h);
  }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
};

}  // namespace

std::optional<std::string> Text(HKEY root, const std::string& key, const char* name) {
  Key k(root, key, KEY_QUERY_VALUE);
  char value[2048];
  DWORD size = sizeof value, type = 0;
  if (!k.h || RegQueryValueExA(k.h, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return std::nullopt;
  return std::string(value, strnlen(value, size));
}

std::optional<DWORD> Number(HKEY root, const std::string& key, const char* name) {
  Key k(root, key, KEY_QUERY_VALUE);
  DWORD value = 0, size = sizeof value, type = 0;
  if (!k.h || RegQueryValueExA(k.h, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
      type != REG_DWORD)
    return std::nullopt;
  return value;
}

void SetText(HKEY root, const std::string& key, const char* name, const std::string& value) {
  Key k(root, key, KEY_SET_VALUE, true);
  if (k.h)
    RegSetValueExA(k.h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

void SetNumber(HKEY root, const std::string& key, const char* name, DWORD value) {
  Key k(root, key, KEY_SET_VALUE, true);
  if (k.h) RegSetValueExA(k.h, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

void DeleteValue(HKEY root, const std::string& key, const char* name) {
  Key k(root, key, KEY_SET_VALUE);
  if (k.h) RegDeleteValueA(k.h, name);
}

bool KeyExists(HKEY root, const std::string& key) { return Key(root, key, KEY_READ).h != nullptr; }

std::vector<std::string> Subkeys(HKEY root, const std::string& key) {
  std::vector<std::string> names;
  Key k(root, key, KEY_READ);
  if (!k.h) return names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = sizeof name;
    if (RegEnumKeyExA(k.h, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  return names;
}

SavedValue Save(HKEY root, const std::string& key, const char* name) {
  SavedValue s;
  s.root = root;
  s.key = key;
  s.name = name;
  Key k(root, key, KEY_QUERY_VALUE);
  DWORD size = 0;
  if (k.h && RegQueryValueExA(k.h, name, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
    s.data.resize(size);
    s.present = RegQueryValueExA(k.h, name, nullptr, &s.type, s.data.data(), &size) == ERROR_SUCCESS;
  }
  return s;
}

void Restore(const SavedValue& s) {
  if (!s.present) {
    DeleteValue(s.root, s.key, s.name.c_str());
    return;
  }
  Key k(s.root, s.key, KEY_SET_VALUE, true);
  if (k.h) RegSetValueExA(k.h, s.name.c_str(), 0, s.type, s.data.data(), static_cast<DWORD>(s.data.size()));
}

std::string SpecialFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, csidl, FALSE);
  return path;
}

std::vector<DWORD> Processes(const char* exeName) {
  std::vector<DWORD> ids;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (lstrcmpiA(entry.szExeFile, exeName) == 0) ids.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return ids;
}

void EndProcesses(const char* exeName) {
  for (DWORD id : Processes(exeName)) {
    if (const HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id)) {
      TerminateProcess(p, 1);
      WaitForSingleObject(p, 5000);
      CloseHandle(p);
    }
  }
}

bool WaitUntil(const std::function<bool()>& done, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 50) {
    if (done()) return true;
    Sleep(50);
  }
  return done();
}

Outcome RunAndWait(const std::string& commandLine, DWORD deadlineMs) {
  Outcome run;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string command = commandLine;
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t0);
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return run;
  if (WaitForSingleObject(pi.hProcess, deadlineMs) == WAIT_OBJECT_0)
    GetExitCodeProcess(pi.hProcess, &run.code);
  else
    TerminateProcess(pi.hProcess, 1);
  QueryPerformanceCounter(&t1);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  run.seconds = static_cast<double>(t1.QuadPart - t0.QuadPart) / static_cast<double>(f.QuadPart);
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

std::string ProductInfo(const std::string& productCode, const char* property) {
  char value[1024] = "";
  DWORD size = sizeof value;
  if (MsiGetProductInfoA(productCode.c_str(), property, value, &size) != ERROR_SUCCESS) return "";
  return value;
}

}  // namespace machine
