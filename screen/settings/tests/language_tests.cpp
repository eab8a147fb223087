// The language binding against a probe library that counts its calls, and
// ActivateWindow with real windows.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "language.h"
#include "message_pump.h"

namespace {

std::string ExeFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  *std::strrchr(path, '\\') = '\0';
  return path;
}

std::string ProbeFolder() { return ExeFolder() + "\\language_probe"; }

struct Probe {
  int (*calls)() = nullptr;
  int (*size)(int) = nullptr;
  const char* (*lastPath)() = nullptr;
  void (*reset)() = nullptr;
  Probe() {
    HMODULE m = GetModuleHandleA("DiZovadAzir.dll");
    calls = reinterpret_cast<int (*)()>(reinterpret_cast<void*>(GetProcAddress(m, "ProbeCalls")));
    size = reinterpret_cast<int (*)(int)>(reinterpret_cast<void*>(GetProcAddress(m, "ProbeSize")));
    lastPath = reinterpret_cast<const char* (*)()>(
        reinterpret_cast<void*>(GetProcAddress(m, "ProbeLastPath")));
    reset = reinterpret_cast<void (*)()>(reinterpret_cast<void*>(GetProcAddress(m, "ProbeReset")));
  }
};

class LanguageBinding : public ::testing::Test {
 protected:
  void TearDown() override {
    UnloadLanguageLibrary();
    SetEnvironmentVariableA("PROBE_MODE", nullptr);
  }
};

TEST_F(LanguageBinding, WithoutTheLibraryEverythingStaysEnglish) {
  EXPECT_EQ(1, LoadLanguageLibrary()) << "no library beside the test program";
  EXPECT_EQ(1, LoadLanguageLibraryFrom((ExeFolder() + "\\no such folder").c_str()));
  EXPECT_EQ(1, LoadLanguageLibraryFrom(std::string(400, 'a').c_str())) << "too long a folder";
  EXPECT_STREQ("English", CurrentLanguageName());
  EXPECT_TRUE(IsCurrentLanguage("english"));
  const char* text = "Are you sure to exit ?";
  EXPECT_EQ(text, TranslateText(text)) << "the very pointer given";
  EXPECT_EQ(nullptr, TranslateText(nullptr));
  EXPECT_EQ(1, UnloadLanguageLibrary());
}

TEST_F(LanguageBinding, ALibraryWithoutALanguageCountsAsNotLoaded) {
  SetEnvironmentVariableA("PROBE_MODE", "nolanguage");
  EXPECT_EQ(2, LoadLanguageLibraryFrom(ProbeFolder().c_str()));
  EXPECT_STREQ("English", CurrentLanguageName());
  const char* text = "Load";
  EXPECT_EQ(text, TranslateText(text));
  EXPECT_EQ(0, UnloadLanguageLibrary()) << "the library itself was loaded";
}

TEST_F(LanguageBinding, TranslatesThroughTheLibraryAndGrowsItsBuffer) {
  ASSERT_EQ(0, LoadLanguageLibraryFrom(ProbeFolder().c_str()));
  Probe probe;
  ASSERT_TRUE(probe.calls && probe.size && probe.reset);
  EXPECT_STREQ("Probe", CurrentLanguageName());
  EXPECT_TRUE(IsCurrentLanguage("PROBE"));
  EXPECT_FALSE(IsCurrentLanguage("English"));

  probe.reset();
  EXPECT_STREQ("[Load]", TranslateText("Load"));
  EXPECT_EQ(1, probe.calls());
  EXPECT_EQ(256, probe.size(0));
  EXPECT_STREQ("probe-path", probe.lastPath()) << "the path the library reported";

  struct Case {
    const char* text;
    size_t length;
    int rounds;
  };
  for (const Case& c : {Case{"len:254", 254, 1}, Case{"len:255", 255, 2}, Case{"len:300", 300, 2},
                        Case{"len:511", 511, 3}, Case{"len:1000", 1000, 4}}) {
    probe.reset();
    const char* result = TranslateText(c.text);
    EXPECT_EQ(c.length, std::strlen(result)) << c.text;
    ASSERT_EQ(c.rounds, probe.calls()) << c.text;
    for (int i = 0; i < c.rounds; ++i) EXPECT_EQ(256 * (i + 1), probe.size(i)) << c.text;
  }

  // Two in a row: the second replaces the first.
  std::string first = TranslateText("Yes");
  const char* second = TranslateText("No");
  EXPECT_EQ("[Yes]", first);
  EXPECT_STREQ("[No]", second);
}

TEST_F(LanguageBinding, ALibraryGoneWrongGivesACutTextNeverAnOverrun) {
  ASSERT_EQ(0, LoadLanguageLibraryFrom(ProbeFolder().c_str()));
  Probe probe;
  probe.reset();
  const char* full = TranslateText("full");
  EXPECT_EQ(64u * 1024 - 1, std::strlen(full)) << "growth stops at 64 KB";
  EXPECT_EQ(256, probe.calls());
  EXPECT_EQ(std::string(255, 'z'), TranslateText("noterm")) << "terminated inside its buffer";
  EXPECT_STREQ("ok", TranslateText("liar"));
}

TEST_F(LanguageBinding, UnloadingGoesBackToEnglish) {
  ASSERT_EQ(0, LoadLanguageLibraryFrom(ProbeFolder().c_str()));
  EXPECT_EQ(0, LoadLanguageLibraryFrom(ProbeFolder().c_str())) << "a second load starts afresh";
  TranslateText("Exit");
  EXPECT_EQ(0, UnloadLanguageLibrary());
  EXPECT_EQ(nullptr, GetModuleHandleA("DiZovadAzir.dll")) << "the library is freed";
  EXPECT_STREQ("English", CurrentLanguageName());
  const char* text = "Exit";
  EXPECT_EQ(text, TranslateText(text));
  EXPECT_EQ(1, UnloadLanguageLibrary());
}

// A top-level window on a thread of its own, with its own message loop.
struct ForeignWindow {
  HWND hwnd = nullptr;
  HANDLE thread = nullptr;
  HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  DWORD threadId = 0;
  static DWORD WINAPI Run(void* p) {
    auto* self = static_cast<ForeignWindow*>(p);
    self->hwnd = CreateWindowExA(0, "STATIC", "foreign", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 200,
                                 200, 200, 100, nullptr, nullptr, nullptr, nullptr);
    SetEvent(self->ready);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    DestroyWindow(self->hwnd);
    return 0;
  }
  ForeignWindow() {
    thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
    WaitForSingleObject(ready, 5000);
  }
  ~ForeignWindow() {
    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    CloseHandle(ready);
  }
};

using test_support::PumpUntil;

TEST(ActivateWindow, RestoresAndBringsToTheFrontFromAnotherThreadsForeground) {
  ActivateWindow(nullptr);  // nothing to do, nothing breaks
  HWND mine = CreateWindowExA(0, "STATIC", "mine", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 200,
                              100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(mine);
  ForeignWindow foreign;  // another thread's window is in front
  ASSERT_TRUE(foreign.hwnd);
  ShowWindow(mine, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(mine) && GetForegroundWindow() != mine; }));

  ActivateWindow(mine);  // through the other thread's input
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(mine); }));
  EXPECT_TRUE(IsWindowVisible(mine));
  EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == mine; })) << "in front";

  // Another thread's window is restored too. (Which window Wine then calls the
  // foreground one after the threads part again is Wine's own matter.)
  ShowWindow(foreign.hwnd, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(foreign.hwnd) != FALSE; }));
  ActivateWindow(foreign.hwnd);
  EXPECT_TRUE(PumpUntil([&] { return !IsIconic(foreign.hwnd); }));
  EXPECT_TRUE(IsWindowVisible(foreign.hwnd));
  DestroyWindow(mine);
}

}  // namespace
