// The built Quillbeck.exe against Wine's Task Scheduler, started as the
// installer starts it. Wine keeps the task's name but drops its trigger,
// principal and command, so these check that the task is there or gone; the
// XML is checked by the core's tests.
#include <initguid.h>
#include <windows.h>
#include <ole2.h>
#include <taskschd.h>

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

// Looks tasks up through the Task Scheduler itself, by their UTF-16 names.
class Tasks {
 public:
  Tasks() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    VARIANT empty;
    VariantInit(&empty);
    if (SUCCEEDED(CoCreateInstance(CLSID_TaskScheduler, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskService,
                                   reinterpret_cast<void**>(&service_))) &&
        SUCCEEDED(service_->Connect(empty, empty, empty, empty))) {
      BSTR root = SysAllocString(L"\\");
      service_->GetFolder(root, &root_);
      SysFreeString(root);
    }
  }
  ~Tasks() {
    if (root_) root_->Release();
    if (service_) service_->Release();
    CoUninitialize();
  }
  bool ready() const { return root_ != nullptr; }
  bool Exists(const std::wstring& name) const {
    BSTR path = SysAllocString(name.c_str());
    IRegisteredTask* task = nullptr;
    const HRESULT hr = root_->GetTask(path, &task);
    SysFreeString(path);
    if (task) task->Release();
    return SUCCEEDED(hr);
  }
  void Delete(const std::wstring& name) const {
    BSTR path = SysAllocString(name.c_str());
    root_->DeleteTask(path, 0);
    SysFreeString(path);
  }

 private:
  ITaskService* service_ = nullptr;
  ITaskFolder* root_ = nullptr;
};

class TaskTool : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(tasks_.ready());
    for (const wchar_t* name : kNames) tasks_.Delete(name);
  }
  void TearDown() override {
    for (const wchar_t* name : kNames) tasks_.Delete(name);
  }
  static constexpr const wchar_t* kNames[] = {L"PioQuillbeckTest", L"Pio\u30DD\u8868"};
  Tasks tasks_;
};

TEST_F(TaskTool, RegistersReplacesAndDeletesTheTaskOfTheName) {
  const std::wstring program = L"-P:\"C:\\Program Files\\KAVO\\Message Controller\\KvMessageController.exe\"";
  EXPECT_EQ(RunTool(L"-R -T:\"PioQuillbeckTest\" " + program), 0u);
  EXPECT_TRUE(tasks_.Exists(L"PioQuillbeckTest"));
  EXPECT_EQ(RunTool(L"-R -T:\"PioQuillbeckTest\" " + program), 0u);  // replaced
  EXPECT_TRUE(tasks_.Exists(L"PioQuillbeckTest"));

  EXPECT_EQ(RunTool(L"-D -T:\"PioQuillbeckTest\""), 0u);
  EXPECT_FALSE(tasks_.Exists(L"PioQuillbeckTest"));
  EXPECT_EQ(RunTool(L"-D -T:\"PioQuillbeckTest\""), 0u);  // a missing task is no error
}

TEST_F(TaskTool, BadArgumentsChangeNothing) {
  EXPECT_EQ(RunTool(L"-R -T:\"PioQuillbeckTest\""), 1u);
  EXPECT_EQ(RunTool(L"-X"), 1u);
  EXPECT_EQ(RunTool(L""), 1u);
  EXPECT_EQ(RunTool(L"-R -T:\"..\\PioQuillbeckTest\" -P:\"C:\\x.exe\""), 2u);
  EXPECT_EQ(RunTool(L"-R -T:\"PioQuillbeckTest\" -P:\"x.exe\""), 3u);
  EXPECT_FALSE(tasks_.Exists(L"PioQuillbeckTest"));
}

// In code page 932 the name ends in 表 (95 5C) right before its closing quote.
// Wine takes the code page from the Unix locale a program starts in, which its
// children keep: the test list runs this case once more under ja_JP.UTF-8.
TEST_F(TaskTool, DoubleByteNamesInTheirCodePage) {
  if (GetACP() != 932) GTEST_SKIP() << "runs in code page 932 only";
  const std::wstring name = L"Pio\u30DD\u8868";
  EXPECT_EQ(RunTool(L"-R -T:\"" + name + L"\" -P:\"C:\\Program Files\\\u30DD\u8868\\x.exe\""), 0u);
  EXPECT_TRUE(tasks_.Exists(name));
  EXPECT_EQ(RunTool(L"-D -T:\"" + name + L"\""), 0u);
  EXPECT_FALSE(tasks_.Exists(name));
}

}  // namespace
