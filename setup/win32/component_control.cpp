#include "component_control.h"

#include <windows.h>
#include <shlwapi.h>
#include <tlhelp32.h>

#include <vector>

namespace setup {
namespace {

HWND FindComponentWindow() { return FindWindowA(kComponentWindowClass, kComponentWindowTitle); }

// FindWindowEx compares titles without sending messages, so a program that
// hangs cannot hold the search.
HWND FindComponentWindowOf(DWORD processId) {
  for (HWND w = nullptr;
       (w = FindWindowExA(nullptr, w, kComponentWindowClass, kComponentWindowTitle)) != nullptr;) {
    DWORD owner = 0;
    GetWindowThreadProcessId(w, &owner);
    if (owner == processId) return w;
  }
  return nullptr;
}

std::string ImagePath(DWORD processId) {
  // Vista and later; looked up, since Windows XP does not have it.
  using QueryImageNameFn = BOOL(WINAPI*)(HANDLE, DWORD, LPSTR, PDWORD);
  static const auto queryImageName = reinterpret_cast<QueryImageNameFn>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryFullProcessImageNameA"));
  constexpr DWORD kQueryLimitedInformation = 0x1000;
  if (queryImageName) {
    if (const HANDLE process = OpenProcess(kQueryLimitedInformation, FALSE, processId)) {
      char path[MAX_PATH];
      DWORD size = MAX_PATH;
      const BOOL ok = queryImageName(process, 0, path, &size);
      CloseHandle(process);
      if (ok) return std::string(path, size);
    }
  }
  // Windows XP: the first module of a process is its program.
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  if (snapshot == INVALID_HANDLE_VALUE) return {};
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  std::string path;
  if (Module32First(snapshot, &module)) path = module.szExePath;
  CloseHandle(snapshot);
  return path;
}

// Processes whose program is programFile. A process whose path cannot be read
// is not taken for the component: it is left alone, and if it holds the files
// after all, their removal says so.
std::vector<DWORD> ProgramProcesses(const std::string& programFile) {
  std::vector<DWORD> found;
  const char* name = PathFindFileNameA(programFile.c_str());
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    if (lstrcmpiA(PathFindFileNameA(entry.szExeFile), name) != 0) continue;
    if (lstrcmpiA(ImagePath(entry.th32ProcessID).c_str(), programFile.c_str()) == 0)
      found.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

// Owns the handles of the processes being stopped. Taken before the close
// requests: once a process has ended, its id may already name another one.
class ProcessSet {
 public:
  ProcessSet() = default;
  ProcessSet(const ProcessSet&) = delete;
  ProcessSet& operator=(const ProcessSet&) = delete;
  ~ProcessSet() {
    for (const HANDLE h : handles_) CloseHandle(h);
  }
  void Add(DWORD processId) {
    for (const DWORD known : ids_)
      if (known == processId) return;
    ids_.push_back(processId);
    handles_.push_back(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId));
  }
  std::size_t size() const { return ids_.size(); }
  DWORD id(std::size_t i) const { return ids_[i]; }
  HANDLE handle(std::size_t i) const { return handles_[i]; }

 private:
  std::vector<DWORD> ids_;
  std::vector<HANDLE> handles_;  // null where the process could not be opened
};

}  // namespace

bool StopComponent(const std::string& programFile, std::uint32_t maxWaitMs) {
  const DWORD start = GetTickCount();
  const auto remaining = [&]() -> DWORD {
    const DWORD spent = GetTickCount() - start;
    return spent >= maxWaitMs ? 0 : maxWaitMs - spent;
  };

  ProcessSet processes;
  for (const DWORD id : ProgramProcesses(programFile)) processes.Add(id);
  if (const HWND window = FindComponentWindow()) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    processes.Add(owner);
  }
  if (processes.size() == 0) return true;

  const DWORD self = GetCurrentProcessId();
  for (std::size_t i = 0; i < processes.size(); ++i) {
    const HANDLE process = processes.handle(i);
    HWND window = FindComponentWindowOf(processes.id(i));
    // Started a moment ago: its window comes once it waits for input.
    if (!window && process && processes.id(i) != self) {
      WaitForInputIdle(process, remaining());
      while (!(window = FindComponentWindowOf(processes.id(i))) && remaining() > 0 &&
             WaitForSingleObject(process, 20) == WAIT_TIMEOUT) {
      }
    }
    if (!window) continue;
    // A program that no longer answers messages must not hold the installer for ever.
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, remaining() ? remaining() : 1, &ignored);
  }

  std::vector<HANDLE> waits;
  for (std::size_t i = 0; i < processes.size(); ++i)
    if (processes.handle(i) && processes.id(i) != self) waits.push_back(processes.handle(i));
  if (!waits.empty())
    WaitForMultipleObjects(static_cast<DWORD>(waits.size()), waits.data(), TRUE, remaining());
  // A window whose process could not be watched gets the rest of the time.
  while (FindComponentWindow() && remaining() > 0) Sleep(20);
  return FindComponentWindow() == nullptr && ProgramProcesses(programFile).empty();
}

}  // namespace setup
