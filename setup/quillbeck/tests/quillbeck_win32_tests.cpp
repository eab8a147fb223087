// The built Quillbeck.exe against Wine's Task Scheduler, started as the
// installer starts it. Wine's scheduler keeps each task as a file of its name
// in the system's task folder and drops its trigger, principal and command, so
// these check that the task is there or gone; the XML is checked by the core's
// tests.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

std::wstring ToolPath() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring tests(path, n);
  tests.resize(tests.rfind(L'\\'));
  return tests.substr(0, tests.rfind(L'\\')) + L"\\Quillbeck.exe";
}

// Runs the tool with `arguments`; its exit code, nothing when it did not end.
// The tool reads its command line in this program's ANSI code page.
std::optional<DWORD> RunTool(const std::wstring& arguments) {
  std::wstring command = L"\"" + ToolPath() + L"\" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return std::nullopt;
  std::optional<DWORD> code;
  if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) {
    DWORD c = 0;
    GetExitCodeProcess(pi.hProcess, &c);
    code = c;
  }
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  return code;
}

std::wstring TaskFile(const std::wstring& name) {
  wchar_t system[MAX_PATH];
  GetSystemDirectoryW(system, MAX_PATH);
  return std::wstring(system) + L"\\Tasks\\" + name;
}
bool TaskExists(const std::wstring& name) {
  return GetFileAttributesW(TaskFile(name).c_str()) != INVALID_FILE_ATTRIBUTES;
}

class TaskTool : public ::testing::Test {
 protected:
  void SetUp() override { TearDown(); }
  void TearDown() override {
    for (const wchar_t* name : {L"PioQuillbeckTest", L"Pio\u30DD\u8868"}) DeleteFileW(TaskFile(name).c_str());
  }
};

TEST_F(TaskTool, RegistersReplacesAndDeletesTheTaskOfTheName) {
  const std::wstring program = L"-P:\"C:\\Program Files\\KAVO\\Message Controller\\KvMessageController.exe\"";
  EXPECT_EQ(RunTool(L"-R -T:\"PioQuillbeckTest\" " + program), 0u);
  EXPECT_TRUE(TaskExists(L"PioQuillbeckTest"));
  EXPECT_EQ(RunTool(L"-R -T:\"PioQuillbeckTest\" " + program), 0u);  // replaced
  EXPECT_TRUE(TaskExists(L"PioQuillbeckTest"));

  EXPECT_EQ(RunTool(L"-D -T:\"PioQuillbeckTest\""), 0u);
  EXPECT_FALSE(TaskExists(L"PioQuillbeckTest"));
  EXPECT_EQ(RunTool(L"-D -T:\"PioQuillbeckTest\""), 0u);  // a missing task is no error
}

// The exit codes as the installer reads them (one case of each; the core's tests
// walk the forms).
TEST_F(TaskTool, BadArgumentsChangeNothing) {
  EXPECT_EQ(RunTool(L""), 1u);
  EXPECT_EQ(RunTool(L"-R -T:\"..\\PioQuillbeckTest\" -P:\"C:\\x.exe\""), 2u);
  EXPECT_EQ(RunTool(L"-R -T:\"PioQuillbeckTest\" -P:\"x.exe\""), 3u);
  EXPECT_FALSE(TaskExists(L"PioQuillbeckTest"));
}

// In code page 932 the name ends in 表 (95 5C) right before its closing quote.
// Wine takes the code page from the Unix locale a program starts in, which its
// children keep: the test list runs this case once more under ja_JP.UTF-8.
TEST_F(TaskTool, DoubleByteNamesInTheirCodePage) {
  if (GetACP() != 932) GTEST_SKIP() << "runs in code page 932 only";
  const std::wstring name = L"Pio\u30DD\u8868";
  EXPECT_EQ(RunTool(L"-R -T:\"" + name + L"\" -P:\"C:\\Program Files\\\u30DD\u8868\\x.exe\""), 0u);
  EXPECT_TRUE(TaskExists(name));
  EXPECT_EQ(RunTool(L"-D -T:\"" + name + L"\""), 0u);
  EXPECT_FALSE(TaskExists(name));
}

}  // namespace
