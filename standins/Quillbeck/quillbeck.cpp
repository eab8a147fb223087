// Stand-in for the maker's scheduled-task tool, in the two forms the installer
// uses:
//   Quillbeck.exe -R -T:"<task>" -P:"<program>"   start <program> with Windows as <task>
//   Quillbeck.exe -D -T:"<task>"                  remove <task>
// Instead of a scheduled task it keeps one registry value per task, where tests
// and a curious person can read it:
//   HKEY_CURRENT_USER\Software\PioStandins\Quillbeck\Tasks, value <task> = <program>
// Exit code 0 on success, 1 for a command line it does not understand, 2 when the
// registry could not be changed. It shows nothing.
#include <windows.h>

#include <cstring>
#include <string>

namespace {

constexpr char kTasksKey[] = "Software\\PioStandins\\Quillbeck\\Tasks";

bool StartsWith(const char* text, const char* prefix) {
  return _strnicmp(text, prefix, std::strlen(prefix)) == 0;
}

int Register(const std::string& task, const std::string& program) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kTasksKey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                      nullptr, &key, nullptr) != ERROR_SUCCESS)
    return 2;
  const LONG result = RegSetValueExA(key, task.c_str(), 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(program.c_str()),
                                     static_cast<DWORD>(program.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? 0 : 2;
}

int Remove(const std::string& task) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kTasksKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return 2;
  const LONG result = RegDeleteValueA(key, task.c_str());
  RegCloseKey(key);
  return result == ERROR_SUCCESS ? 0 : 2;
}

}  // namespace

// The C runtime's argument parsing takes the quotes out of -T:"<task>".
int main(int argc, char** argv) {
  char mode = 0;
  std::string task, program;
  bool haveTask = false, haveProgram = false;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (_stricmp(a, "-R") == 0 || _stricmp(a, "-D") == 0) {
      mode = static_cast<char>(a[1] & ~0x20);
    } else if (StartsWith(a, "-T:")) {
      task = a + 3;
      haveTask = true;
    } else if (StartsWith(a, "-P:")) {
      program = a + 3;
      haveProgram = true;
    } else {
      return 1;
    }
  }
  if (!haveTask || task.empty()) return 1;
  if (mode == 'R' && haveProgram && !program.empty()) return Register(task, program);
  if (mode == 'D') return Remove(task);
  return 1;
}
