// KvSrcHelper as a user runs it: the installed program started under Wine, the
// registry changed from outside (Wine's reg tool, and the API), its windows
// watched from another process. The registry values it touches are put back as
// they were at the end, for the other programs of the shared prefix. Each case
// finds the helper running (started afresh when an earlier case ended it) and
// sets up the registry values it needs itself.
//
// Two cases are figures, run as a benchmark entry of their own: the latency from a
// change of the request to the new machine-wide value (median of 20) and the
// helper's processor time over 5 idle seconds.
#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "broadcast.h"
#include "message_pump.h"
#include "wine_paths.h"

namespace {

const wchar_t kParentKey[] = L"SOFTWARE\\KAVO";
const wchar_t kRequestKey[] = L"SOFTWARE\\KAVO\\KvSrc";
// Wine takes a user's own DPI from here before the machine-wide value.
const wchar_t kUserDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kUnrelatedValue[] = L"PioE2eUnrelated";
// The machine-wide DPI, where Windows reads it at start (written out here, not
// taken from the program's own table, so that a wrong name in it is caught).
const wchar_t kSystemKey[] = L"SYSTEM\\CurrentControlSet\\Hardware Profiles\\Current\\Software\\Fonts";
const wchar_t kDialogTitle[] = L"Screen Helper";
const DWORD kCopyWaitMs = 5000;
// The helper's wake-up event, by the name it has always had.
const wchar_t kChangeEventName[] = L"RegMonitorChange";

// ---- registry from outside -------------------------------------------------

struct Saved {
  bool present = false;
  DWORD type = 0;
  std::vector<BYTE> data;
};

Saved SaveValue(HKEY root, const wchar_t* path, const wchar_t* name) {
  Saved s;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return s;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
    s.data.resize(size);
    s.present = RegQueryValueExW(key, name, nullptr, &s.type, s.data.data(), &size) ==
                ERROR_SUCCESS;
  }
  RegCloseKey(key);
  return s;
}

void RestoreValue(HKEY root, const wchar_t* path, const wchar_t* name, const Saved& s) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  if (s.present) {
    RegSetValueExW(key, name, 0, s.type, s.data.data(), static_cast<DWORD>(s.data.size()));
  } else {
    RegDeleteValueW(key, name);
  }
  RegCloseKey(key);
}

bool KeyExists(HKEY root, const wchar_t* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// The number in a value, or -1 when there is none.
long long ReadNumber(HKEY root, const wchar_t* path, const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return -1;
  DWORD value = 0, size = sizeof value, type = 0;
  const LONG rc =
      RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return rc == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long long>(value) : -1;
}

long long Range() { return ReadNumber(HKEY_CURRENT_USER, kRequestKey, L"Range"); }
long long LogPixels() { return ReadNumber(HKEY_LOCAL_MACHINE, kSystemKey, L"LogPixels"); }

void WriteNumber(HKEY root, const wchar_t* path, const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS,
            RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, REG_DWORD,
                                          reinterpret_cast<const BYTE*>(&value), sizeof value));
  RegCloseKey(key);
}

// What the machine-wide value looks like now, including when its key was last
// written: a write of the same number counts as touching it.
struct LogPixelsState {
  long long value;
  FILETIME written;
  bool operator==(const LogPixelsState& o) const {
    return value == o.value && CompareFileTime(&written, &o.written) == 0;
  }
};

LogPixelsState LogPixelsNow() {
  LogPixelsState s{LogPixels(), {0, 0}};
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr, &s.written);
    RegCloseKey(key);
  }
  return s;
}

bool WaitFor(DWORD timeoutMs, bool (*done)(long long), long long arg) {
  return test_support::PumpUntil([&] { return done(arg); }, timeoutMs);
}

bool WaitForLogPixels(long long expected) {
  return WaitFor(kCopyWaitMs, [](long long v) { return LogPixels() == v; }, expected);
}

// Runs a program of the prefix (reg.exe: as a user types it) and returns its exit
// code; -1 when it could not be started or did not end, and the report then says
// which and why (a command of this test once gave -1 in a CI run).
DWORD Run(std::wstring commandLine) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  const std::wstring shown = commandLine;
  if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "could not start " << shown << ": error " << GetLastError();
    return static_cast<DWORD>(-1);
  }
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 30000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << shown << " did not end within 30 s";
  } else if (!GetExitCodeProcess(pi.hProcess, &code)) {
    ADD_FAILURE() << "no exit code of " << shown << ": error " << GetLastError();
    code = static_cast<DWORD>(-1);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return code;
}

DWORD Reg(const std::wstring& args) { return Run(L"reg.exe " + args); }

const std::wstring kRegKey = L"\"HKCU\\SOFTWARE\\KAVO\\KvSrc\"";

// ---- the program -----------------------------------------------------------

std::wstring HelperPath() {
  const char* dist = getenv("PIO_DIST_DIR");
  return test_support::WindowsPathW(std::string(dist ? dist : "") + "/KvSrcHelper/KvSrcHelper.exe");
}

struct Process {
  PROCESS_INFORMATION pi{};
  bool Start() {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring cmd = L"\"" + HelperPath() + L"\"";
    return CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                          &pi) != FALSE;
  }
  bool Running() const { return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
  bool WaitEnd(DWORD ms) const { return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0; }
  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    return code;
  }
  void Close() {
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    pi = {};
  }
};

struct FoundWindows {
  DWORD pid;  // 0: any process
  std::vector<HWND> dialogs;
};

BOOL CALLBACK CollectDialog(HWND hwnd, LPARAM param) {
  auto* found = reinterpret_cast<FoundWindows*>(param);
  wchar_t title[64] = {}, cls[64] = {};
  GetWindowTextW(hwnd, title, 64);
  GetClassNameW(hwnd, cls, 64);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (wcscmp(title, kDialogTitle) == 0 && wcscmp(cls, L"#32770") == 0 &&
      (!found->pid || found->pid == pid)) {
    found->dialogs.push_back(hwnd);
  }
  return TRUE;
}

std::vector<HWND> HelperDialogs(DWORD pid = 0) {
  FoundWindows found{pid, {}};
  EnumWindows(&CollectDialog, reinterpret_cast<LPARAM>(&found));
  return found.dialogs;
}

// Watches every top-level window of one process, from before it starts until the
// end of the run, and remembers any that was ever visible.
class VisibilityWatch {
 public:
  void Start() {
    m_thread = CreateThread(nullptr, 0, &VisibilityWatch::Loop, this, 0, nullptr);
  }
  void Follow(DWORD pid) { m_pid = pid; }
  void Stop() {
    m_stop = true;
    if (m_thread) WaitForSingleObject(m_thread, 5000), CloseHandle(m_thread);
    m_thread = nullptr;
  }
  int SeenVisible() const { return m_seenVisible; }
  long Rounds() const { return m_rounds; }

 private:
  static BOOL CALLBACK Check(HWND hwnd, LPARAM param) {
    auto* self = reinterpret_cast<VisibilityWatch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid && pid == self->m_pid && IsWindowVisible(hwnd)) ++self->m_seenVisible;
    return TRUE;
  }
  static DWORD WINAPI Loop(LPVOID param) {
    auto* self = static_cast<VisibilityWatch*>(param);
    while (!self->m_stop) {
      if (self->m_pid) {
        EnumWindows(&Check, reinterpret_cast<LPARAM>(param));
        ++self->m_rounds;
      }
      Sleep(1);
    }
    return 0;
  }
  HANDLE m_thread = nullptr;
  std::atomic<DWORD> m_pid{0};
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_seenVisible{0};
  std::atomic<long> m_rounds{0};
};

// Processor time of all threads of a process, in 100 ns units.
unsigned long long CpuTime(DWORD pid) {
  unsigned long long total = 0;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snap == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 te{};
  te.dwSize = sizeof te;
  for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te)) {
    if (te.th32OwnerProcessID != pid) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, te.th32ThreadID);
    if (!thread) continue;
    FILETIME created, exited, kernel, user;
    if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
      total += (static_cast<unsigned long long>(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime);
      total += (static_cast<unsigned long long>(user.dwHighDateTime) << 32 | user.dwLowDateTime);
    }
    CloseHandle(thread);
  }
  CloseHandle(snap);
  return total;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

// A visible window of the user's, in front when the helper starts.
HWND MakeUserWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PioE2eUserWindow";
  RegisterClassW(&wc);
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"user", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              50, 50, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
  SetForegroundWindow(hwnd);
  return hwnd;
}

void Pump() { test_support::DispatchPending(); }

bool ChangeEventSignalled() {
  HANDLE e = OpenEventW(SYNCHRONIZE, FALSE, kChangeEventName);
  if (!e) return false;
  const bool signalled = WaitForSingleObject(e, 0) == WAIT_OBJECT_0;
  CloseHandle(e);
  return signalled;
}

// ---- the run ---------------------------------------------------------------

class HelperRun : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // One instance only: a helper some other program left running would take this
    // run's requests, and every case below would fail for a reason not its own.
    EXPECT_TRUE(HelperDialogs().empty()) << "a KvSrcHelper is already running";
    s_parentKeyExisted = KeyExists(HKEY_CURRENT_USER, kParentKey);
    s_requestKeyExisted = KeyExists(HKEY_CURRENT_USER, kRequestKey);
    s_range = SaveValue(HKEY_CURRENT_USER, kRequestKey, L"Range");
    s_logPixels = SaveValue(HKEY_LOCAL_MACHINE, kSystemKey, L"LogPixels");
    s_userDpi = SaveValue(HKEY_CURRENT_USER, kUserDesktopKey, L"LogPixels");
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    s_dpiInForce = GetDeviceCaps(dc, LOGPIXELSY);
    DeleteDC(dc);
    // Under Wine the machine-wide value sets the DPI of every program started
    // after it changes. Keep the DPI in force where it is for this run's programs
    // by the user's own value, so that the machine-wide one may differ from it.
    WriteNumber(HKEY_CURRENT_USER, kUserDesktopKey, L"LogPixels", s_dpiInForce);
    s_userWindow = MakeUserWindow();
    s_watch.Start();
  }

  static void TearDownTestSuite() {
    EndHelper();
    s_watch.Stop();
    DestroyWindow(s_userWindow);
    // Put back what the run changed.
    RestoreValue(HKEY_LOCAL_MACHINE, kSystemKey, L"LogPixels", s_logPixels);
    RestoreValue(HKEY_CURRENT_USER, kUserDesktopKey, L"LogPixels", s_userDpi);
    if (!s_parentKeyExisted) {
      RegDeleteKeyW(HKEY_CURRENT_USER, kRequestKey);
      RegDeleteKeyW(HKEY_CURRENT_USER, kParentKey);
    } else if (!s_requestKeyExisted) {
      RegDeleteKeyW(HKEY_CURRENT_USER, kRequestKey);
    } else {
      RestoreValue(HKEY_CURRENT_USER, kRequestKey, L"Range", s_range);
      Saved none;
      RestoreValue(HKEY_CURRENT_USER, kRequestKey, kUnrelatedValue, none);
    }
  }

  // Every case finds the helper running and watching.
  void SetUp() override {
    if (!s_helper.Running()) StartHelper();
  }

  // Ends a running helper from outside and waits for its end.
  static void EndHelper() {
    if (s_helper.Running()) {
      for (HWND dlg : HelperDialogs(s_helper.pi.dwProcessId)) PostMessageW(dlg, WM_CLOSE, 0, 0);
      if (!s_helper.WaitEnd(10000)) TerminateProcess(s_helper.pi.hProcess, 1);
    }
    s_helper.Close();
  }

  // Starts the helper afresh, the user's window in front, and waits until it has
  // announced the DPI in force and watches the request.
  static void StartHelper() {
    EndHelper();
    SetForegroundWindow(s_userWindow);
    ASSERT_TRUE(test_support::PumpUntil([] { return GetForegroundWindow() == s_userWindow; }))
        << "the scene needs a window of the user's in front";
    ASSERT_TRUE(s_helper.Start());
    s_watch.Follow(Pid());
    ASSERT_TRUE(WaitFor(10000, [](long long dpi) { return Range() == dpi; }, s_dpiInForce))
        << "Range is " << Range() << ", the DPI in force " << s_dpiInForce;
    // The watcher's event exists once it is about to watch.
    ASSERT_TRUE(WaitFor(10000, [](long long) {
      HANDLE e = OpenEventW(SYNCHRONIZE, FALSE, kChangeEventName);
      if (e) CloseHandle(e);
      return e != nullptr;
    }, 0));
  }

  // Waits until the helper has handled every change made before: a change of a
  // value beside the request wakes it (copying the request again, if any), and
  // its event goes back to rest once it has taken a change; two such rounds, the
  // second of which it can take only after it has finished the first.
  static void SettleHelper() {
    for (const wchar_t* data : {L"a", L"b"}) {
      ASSERT_EQ(0u, Reg(L"add " + kRegKey + L" /v " + kUnrelatedValue + L" /t REG_SZ /d " + data + L" /f"));
      ASSERT_TRUE(test_support::PumpUntil([] { return !ChangeEventSignalled(); }, kCopyWaitMs));
    }
    ASSERT_EQ(0u, Reg(L"delete " + kRegKey + L" /v " + kUnrelatedValue + L" /f"));
    ASSERT_TRUE(test_support::PumpUntil([] { return !ChangeEventSignalled(); }, kCopyWaitMs));
  }

  // Sets the request and waits until the helper has copied it. A request of the
  // number already stored is taken away first: the system tells no watch of a
  // write that changes nothing (an earlier case may have left that number).
  static void Request(DWORD dpi) {
    if (Range() == static_cast<long long>(dpi)) {
      ASSERT_EQ(0u, Reg(L"delete " + kRegKey + L" /v Range /f"));
    }
    ASSERT_EQ(0u, Reg(L"add " + kRegKey + L" /v Range /t REG_DWORD /d " + std::to_wstring(dpi) + L" /f"));
    ASSERT_TRUE(WaitForLogPixels(dpi)) << "LogPixels is " << LogPixels();
  }

  static DWORD Pid() { return s_helper.pi.dwProcessId; }

  static Process s_helper;
  static VisibilityWatch s_watch;
  static HWND s_userWindow;
  static bool s_parentKeyExisted, s_requestKeyExisted;
  static Saved s_range, s_logPixels, s_userDpi;
  static int s_dpiInForce;
};

Process HelperRun::s_helper;
VisibilityWatch HelperRun::s_watch;
HWND HelperRun::s_userWindow = nullptr;
bool HelperRun::s_parentKeyExisted = false, HelperRun::s_requestKeyExisted = false;
Saved HelperRun::s_range, HelperRun::s_logPixels, HelperRun::s_userDpi;
int HelperRun::s_dpiInForce = 0;

TEST_F(HelperRun, StartAnnouncesTheDpiInForceAndLeavesLogPixelsAlone) {
  EndHelper();
  // An old request that the start must withdraw, and a machine-wide value that
  // differs from the DPI in force (as after a request not yet in force), which a
  // copy at start would overwrite.
  WriteNumber(HKEY_CURRENT_USER, kRequestKey, L"Range", s_dpiInForce == 144 ? 120 : 144);
  WriteNumber(HKEY_LOCAL_MACHINE, kSystemKey, L"LogPixels", s_dpiInForce == 132 ? 108 : 132);
  const LogPixelsState before = LogPixelsNow();
  StartHelper();  // waits for the announcement and the watch
  EXPECT_TRUE(s_helper.Running());
  EXPECT_TRUE(LogPixelsNow() == before) << "LogPixels was written at start";
  EXPECT_EQ(1u, HelperDialogs(Pid()).size());
}

std::string Describe(HWND hwnd) {
  char title[64] = {}, cls[64] = {};
  GetWindowTextA(hwnd, title, 64);
  GetClassNameA(hwnd, cls, 64);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return std::string(cls) + " \"" + title + "\" of process " + std::to_string(pid);
}

TEST_F(HelperRun, TheUsersWindowKeepsTheForeground) {
  StartHelper();
  Pump();
  const HWND front = GetForegroundWindow();
  EXPECT_EQ(s_userWindow, front) << "in front: " << Describe(front) << "; helper is process "
                                 << Pid();
}

TEST_F(HelperRun, ARequestAddedWithRegReachesLogPixels) {
  WriteNumber(HKEY_LOCAL_MACHINE, kSystemKey, L"LogPixels", 96);
  const LogPixelsState before = LogPixelsNow();
  Request(120);
  EXPECT_FALSE(LogPixelsNow() == before);
  // (Wine drops a write of the number already stored without telling any watch,
  // so "the same number again" cannot be shown here.)
}

TEST_F(HelperRun, AnUnrelatedNewValueCopiesTheRequestAgain) {
  Request(120);
  // Outside the watched key: the helper does not see this one.
  WriteNumber(HKEY_LOCAL_MACHINE, kSystemKey, L"LogPixels", 96);
  ASSERT_EQ(0u, Reg(L"add " + kRegKey + L" /v " + kUnrelatedValue + L" /t REG_SZ /d x /f"));
  EXPECT_TRUE(WaitForLogPixels(120)) << "LogPixels is " << LogPixels();
  ASSERT_EQ(0u, Reg(L"delete " + kRegKey + L" /v " + kUnrelatedValue + L" /f"));
}

TEST_F(HelperRun, ADeletedRequestLeavesLogPixelsAsItWas) {
  Request(120);
  const LogPixelsState before = LogPixelsNow();
  ASSERT_EQ(0u, Reg(L"delete " + kRegKey + L" /v Range /f"));
  ASSERT_EQ(-1, Range());
  // New values under the key wake the helper; still no request, no copy.
  SettleHelper();
  EXPECT_TRUE(LogPixelsNow() == before);
}

TEST_F(HelperRun, ARequestNoDisplayCanUseIsNotCopied) {
  Request(144);
  const LogPixelsState before = LogPixelsNow();
  for (const wchar_t* bad : {L"/t REG_DWORD /d 0", L"/t REG_DWORD /d 1000000", L"/t REG_DWORD /d 71",
                             L"/t REG_DWORD /d 481", L"/t REG_DWORD /d 0xFFFFFFFF",
                             L"/t REG_SZ /d 120", L"/t REG_BINARY /d 7800"}) {
    ASSERT_EQ(0u, Reg(L"add " + kRegKey + L" /v Range " + bad + L" /f"));
    SettleHelper();
    EXPECT_TRUE(LogPixelsNow() == before) << "copied: " << std::string(bad, bad + wcslen(bad));
  }
  // The bounds themselves are copied.
  Request(480);
  Request(72);
}

TEST_F(HelperRun, ADeletedAndRemadeRequestKeyIsWatchedAgain) {
  ASSERT_EQ(0u, Reg(L"delete " + kRegKey + L" /f"));
  // As PioScreen makes it: the key anew with the request in it.
  Request(132);
  Request(120);
}

TEST_F(HelperRun, TheBroadcastMessageIsTakenAndIgnored) {
  Request(120);
  const std::vector<HWND> dialogs = HelperDialogs(Pid());
  ASSERT_EQ(1u, dialogs.size());
  const UINT message = broadcast::RegisterMessageW();
  const LogPixelsState before = LogPixelsNow();
  const long long range = Range();
  struct Sent { WPARAM w; LPARAM l; };
  for (Sent s : {Sent{broadcast::kFamilyRemoteControl, static_cast<LPARAM>(broadcast::kGreenKey)},
                 Sent{broadcast::kFamilyRemoteControl, static_cast<LPARAM>(broadcast::kNoCode)},
                 Sent{broadcast::kFamilyAcpi, static_cast<LPARAM>(broadcast::AcpiParam(5))},
                 Sent{0, 0}, Sent{0xFFFF, -1}}) {
    DWORD_PTR answer = 99;
    ASSERT_NE(0, SendMessageTimeoutW(dialogs[0], message, s.w, s.l, SMTO_ABORTIFHUNG, 5000, &answer));
    EXPECT_EQ(0u, answer);
  }
  PostMessageA(HWND_BROADCAST, message, broadcast::kFamilyRemoteControl,
               static_cast<LPARAM>(broadcast::kBlueKey));
  // Two messages sent after the posted one: the helper takes the second only in a
  // later turn of its loop than the posted one, which it has handled by then.
  for (int i = 0; i < 2; ++i) {
    DWORD_PTR answer = 0;
    ASSERT_NE(0, SendMessageTimeoutW(dialogs[0], WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer));
  }
  EXPECT_TRUE(s_helper.Running());
  EXPECT_TRUE(LogPixelsNow() == before);
  EXPECT_EQ(range, Range());
}

TEST_F(HelperRun, ASecondStartEndsAtOnceAndLeavesOneInstance) {
  Process second;
  ASSERT_TRUE(second.Start());
  EXPECT_TRUE(second.WaitEnd(10000));
  second.Close();
  EXPECT_TRUE(s_helper.Running());
  EXPECT_EQ(1u, HelperDialogs().size());
  // The one left still works.
  WriteNumber(HKEY_LOCAL_MACHINE, kSystemKey, L"LogPixels", 96);
  Request(144);
}

// Figures (the benchmark entry): how soon a request reaches the machine-wide value.
TEST_F(HelperRun, LatencyFromRequestToLogPixels) {
  HKEY fonts = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSystemKey, 0, KEY_NOTIFY, &fonts));
  HANDLE changed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::vector<double> ms;
  const DWORD values[] = {120, 96, 144, 110};
  for (int i = 0; i < 20; ++i) {
    const DWORD want = values[i % 4];
    LARGE_INTEGER t0, t1;
    ResetEvent(changed);
    ASSERT_EQ(ERROR_SUCCESS,
              RegNotifyChangeKeyValue(fonts, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE));
    QueryPerformanceCounter(&t0);
    WriteNumber(HKEY_CURRENT_USER, kRequestKey, L"Range", want);
    bool seen = false;
    while (!seen) {
      ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(changed, kCopyWaitMs)) << "round " << i;
      QueryPerformanceCounter(&t1);
      seen = LogPixels() == static_cast<long long>(want);
      if (!seen) {
        ResetEvent(changed);
        RegNotifyChangeKeyValue(fonts, FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE);
        seen = LogPixels() == static_cast<long long>(want);
      }
    }
    ms.push_back(Milliseconds(t0, t1));
    SettleHelper();  // the next round starts with the helper at rest
  }
  CloseHandle(changed);
  RegCloseKey(fonts);
  std::sort(ms.begin(), ms.end());
  printf("latency Range -> LogPixels over 20 changes: median %.2f ms, min %.2f ms, max %.2f ms\n",
         (ms[9] + ms[10]) / 2, ms.front(), ms.back());
}

// Figures (the benchmark entry): the processor time of a helper left alone.
TEST_F(HelperRun, IdleProcessorTime) {
  SettleHelper();
  const unsigned long long before = CpuTime(Pid());
  test_support::PumpFor(5000);  // the time measured, not a wait for a state
  const unsigned long long after = CpuTime(Pid());
  printf("helper processor time over 5 idle seconds: %.1f ms (%.1f ms in total so far)\n",
         static_cast<double>(after - before) / 10000.0, static_cast<double>(after) / 10000.0);
  EXPECT_TRUE(s_helper.Running());
}

// The watch follows every helper started in this run; a fresh start is watched
// from before it to a hundred looks at its windows after it.
TEST_F(HelperRun, NoWindowOfTheHelperWasEverVisible) {
  const long rounds = s_watch.Rounds();
  StartHelper();
  ASSERT_TRUE(test_support::PumpUntil([&] { return s_watch.Rounds() > rounds + 100; }, 30000));
  printf("windows checked %ld times\n", s_watch.Rounds());
  EXPECT_EQ(0, s_watch.SeenVisible());
}

TEST_F(HelperRun, ClosingItsDialogFromOutsideEndsTheProgram) {
  const std::vector<HWND> dialogs = HelperDialogs(Pid());
  ASSERT_EQ(1u, dialogs.size());
  ASSERT_TRUE(PostMessageW(dialogs[0], WM_CLOSE, 0, 0));
  ASSERT_TRUE(s_helper.WaitEnd(10000));
  EXPECT_EQ(0u, s_helper.ExitCode());
  EXPECT_TRUE(HelperDialogs().empty());
  // Its single-instance name is free again.
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"KvSrcHelper");
  EXPECT_EQ(nullptr, mutex);
  if (mutex) CloseHandle(mutex);
  s_helper.Close();
}

}  // namespace
