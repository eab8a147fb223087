// The package's own custom actions, called by Windows Installer from the Binary
// table (never installed). All run deferred, without impersonation.
//
//   RunSetup   CustomActionData "<option> <path of setup.exe>": runs the
//              message-controller installer with that one option, writes every
//              line it prints into the installer's log, and fails the
//              installation (which then rolls back) when it ends with an exit
//              code other than 0.
//   EndHelper  ends every running KvSrcHelper.exe, so that its file can be
//              removed or replaced. It has nothing to save; never fails.
//   AwaitTaskTool  waits for running task tools (Quillbeck.exe) to end before
//              the package folder goes; never fails.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

namespace {

// The setup run's longest legitimate wait is the component's close (2 s); a run
// that takes this long has hung, and the installation must not hang with it.
constexpr DWORD kSetupDeadlineMs = 120000;
// A program that is ended, or whose end is awaited, gets this long.
constexpr DWORD kEndDeadlineMs = 30000;

// One line into the installer's log. The text goes in as a field of its own, not
// as the template: setup prints brackets ("setup.exe [-I | -U]"), which a template
// would read as property references.
void Log(MSIHANDLE install, const std::string& text, INSTALLMESSAGE kind = INSTALLMESSAGE_INFO) {
  PMSIHANDLE record = MsiCreateRecord(1);
  MsiRecordSetStringA(record, 0, "[1]");
  MsiRecordSetStringA(record, 1, text.c_str());
  MsiProcessMessage(install, kind, record);
}

std::wstring CustomActionData(MSIHANDLE install) {
  DWORD size = 0;
  wchar_t empty[1] = L"";
  if (MsiGetPropertyW(install, L"CustomActionData", empty, &size) != ERROR_MORE_DATA) return L"";
  std::wstring value(size + 1, L'\0');
  size = static_cast<DWORD>(value.size());
  if (MsiGetPropertyW(install, L"CustomActionData", &value[0], &size) != ERROR_SUCCESS) return L"";
  value.resize(size);
  return value;
}

std::string Narrow(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return "";
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  out.resize(static_cast<size_t>(n - 1));
  return out;
}

// Everything the child printed, read back from the start of the shared file.
std::string ReadBack(HANDLE file) {
  std::string text;
  if (SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else if (c != '\r') {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

// A file for the child's output that nobody else sees and that goes away with the
// last handle. A file, not a pipe: a program the child starts may inherit the
// handle and would hold a pipe open long after the child ended.
HANDLE OutputFile() {
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"pio", 0, path))
    return INVALID_HANDLE_VALUE;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                     &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

}  // namespace

extern "C" UINT __stdcall RunSetup(MSIHANDLE install) {
  const std::wstring data = CustomActionData(install);
  const size_t space = data.find(L' ');
  if (space == std::wstring::npos || space + 1 >= data.size()) {
    Log(install, "RunSetup: no setup.exe given (CustomActionData \"" + Narrow(data) + "\")",
        INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR));
    return ERROR_INSTALL_FAILURE;
  }
  const std::wstring option = data.substr(0, space);
  const std::wstring program = data.substr(space + 1);
  // setup finds its package by its own path. It runs in a folder that outlives
  // the package: the console Wine gives it stays a moment longer, and would keep
  // a package folder it started in from being removed.
  wchar_t folder[MAX_PATH];
  if (!GetSystemDirectoryW(folder, MAX_PATH)) folder[0] = L'\0';
  const std::string call = "setup.exe " + Narrow(option);

  const HANDLE output = OutputFile();
  if (output == INVALID_HANDLE_VALUE) {
    Log(install, call + ": no temporary file for its output (error " + std::to_string(GetLastError()) + ")",
        INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR));
    return ERROR_INSTALL_FAILURE;
  }
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = output;
  si.hStdError = output;
  std::wstring command = L"\"" + program + L"\" " + option;
  PROCESS_INFORMATION pi{};
  Log(install, "Running " + Narrow(command));
  if (!CreateProcessW(program.c_str(), &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                      folder[0] ? folder : nullptr, &si, &pi)) {
    const DWORD error = GetLastError();
    CloseHandle(output);
    Log(install, call + " could not be started (error " + std::to_string(error) + ")",
        INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR));
    return ERROR_INSTALL_FAILURE;
  }
  DWORD code = 0;
  const bool ended = WaitForSingleObject(pi.hProcess, kSetupDeadlineMs) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(pi.hProcess, 1);
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  const std::vector<std::string> printed = Lines(ReadBack(output));
  CloseHandle(output);

  for (const std::string& line : printed) Log(install, call + ": " + line);
  if (ended && code == 0) return ERROR_SUCCESS;

  std::string message = call + (ended ? " failed with exit code " + std::to_string(code)
                                      : " did not end within " + std::to_string(kSetupDeadlineMs / 1000) + " s");
  if (ended && !printed.empty()) message += ": " + printed.back();
  Log(install, message, INSTALLMESSAGE(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR));
  return ERROR_INSTALL_FAILURE;
}

namespace {

// Calls `act` with every running process of that file name, opened with `access`.
template <typename Act>
void ForEachProcess(MSIHANDLE install, const wchar_t* exeName, DWORD access, Act act) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, exeName) != 0) continue;
    const std::string name = Narrow(exeName) + " (process " + std::to_string(entry.th32ProcessID) + ")";
    const HANDLE process = OpenProcess(access, FALSE, entry.th32ProcessID);
    if (!process) {
      Log(install, name + " could not be opened (error " + std::to_string(GetLastError()) + ")");
      continue;
    }
    act(process, name);
    CloseHandle(process);
  }
  CloseHandle(snapshot);
}

}  // namespace

extern "C" UINT __stdcall EndHelper(MSIHANDLE install) {
  ForEachProcess(install, L"KvSrcHelper.exe", PROCESS_TERMINATE | SYNCHRONIZE,
                 [install](HANDLE process, const std::string& name) {
                   // Its only work is a registry copy, which is whole or not at all.
                   const bool ended = TerminateProcess(process, 0) &&
                                      WaitForSingleObject(process, kEndDeadlineMs) == WAIT_OBJECT_0;
                   Log(install, name + (ended ? " ended" : " did not end"));
                 });
  return ERROR_SUCCESS;
}

// setup starts the task tool for the component's own task and does not wait for
// it; the tool runs in the package folder, which cannot go while it runs.
extern "C" UINT __stdcall AwaitTaskTool(MSIHANDLE install) {
  ForEachProcess(install, L"Quillbeck.exe", SYNCHRONIZE, [install](HANDLE process, const std::string& name) {
    const bool ended = WaitForSingleObject(process, kEndDeadlineMs) == WAIT_OBJECT_0;
    Log(install, name + (ended ? " has ended" : " still runs"));
  });
  return ERROR_SUCCESS;
}
