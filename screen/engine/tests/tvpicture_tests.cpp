// The TV picture size against the stand-in display library, loaded by its bare
// name from a folder of each test's own on the DLL search path. The stand-in's
// log beside it shows what the program asked and sent.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "files.h"
#include "tvpicture.h"
#include "wine_paths.h"

namespace {

bool WithFullHd() { return true; }
bool WithoutFullHd() { return false; }

std::wstring Widen(const char* text) { return std::wstring(text, text + std::strlen(text)); }

using SetDllDirectoryWFn = BOOL(WINAPI*)(LPCWSTR);
SetDllDirectoryWFn SetDllDirectoryFn() {
  return reinterpret_cast<SetDllDirectoryWFn>(
      ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "SetDllDirectoryW"));
}

class TvPictureWithLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
#if !defined(PIO_ATIPDLXX_DLL) || !defined(PIO_ATIPDLXX_MISSING_EXPORT_DLL)
    GTEST_SKIP() << "the atipdlxx stand-in is not part of this build (standins)";
#endif
    ASSERT_EQ(nullptr, ::GetModuleHandleW(kTvLibraryName)) << "left loaded by an earlier test";
    wchar_t temp[MAX_PATH];
    ASSERT_NE(0u, ::GetTempPathW(MAX_PATH, temp));
    m_folder = std::wstring(temp) + L"pio-tvpicture-" + std::to_wstring(::GetCurrentProcessId()) +
               L"-" + Widen(::testing::UnitTest::GetInstance()->current_test_info()->name());
    RemoveFolder();
    ASSERT_TRUE(::CreateDirectoryW(m_folder.c_str(), nullptr));
    ASSERT_NE(nullptr, SetDllDirectoryFn());
    ASSERT_TRUE(SetDllDirectoryFn()(m_folder.c_str()));
    // A display of range 0..30 at 10 unless a test says otherwise.
    Set(L"Minimum", L"0");
    Set(L"Maximum", L"30");
    Set(L"Current", L"10");
  }

  void TearDown() override {
    if (m_folder.empty()) return;
    ReleaseTvDisplayLibrary();
    EXPECT_EQ(nullptr, ::GetModuleHandleW(kTvLibraryName));
    SetDllDirectoryFn()(nullptr);
    RemoveFolder();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesW(m_folder.c_str()));
  }

  void Install(const char* hostPath) {
    ASSERT_TRUE(::CopyFileW(test_support::WindowsPathW(hostPath).c_str(), (m_folder + L"\\atipdlxx.dll").c_str(),
                            FALSE))
        << hostPath;
  }
  void InstallLibrary() {
#ifdef PIO_ATIPDLXX_DLL
    Install(PIO_ATIPDLXX_DLL);
#endif
  }
  void InstallLibraryMissingAnExport() {
#ifdef PIO_ATIPDLXX_MISSING_EXPORT_DLL
    Install(PIO_ATIPDLXX_MISSING_EXPORT_DLL);
#endif
  }

  void Set(const wchar_t* key, const wchar_t* value) {
    ASSERT_TRUE(::WritePrivateProfileStringW(L"Display", key, value, Ini().c_str()));
  }
  int Current() { return static_cast<int>(::GetPrivateProfileIntW(L"Display", L"Current", -99, Ini().c_str())); }

  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    const std::wstring path = m_folder + L"\\atipdlxx.log";
    std::string line;
    for (char c : test_support::ReadWholeFile(std::string(path.begin(), path.end()))) {
      if (c == '\n') {
        lines.push_back(line);
        line.clear();
      } else if (c != '\r') {
        line += c;
      }
    }
    return lines;
  }

  std::wstring Ini() const { return m_folder + L"\\atipdlxx.ini"; }

  void RemoveFolder() {
    for (const wchar_t* name : {L"atipdlxx.dll", L"atipdlxx.ini", L"atipdlxx.log"}) {
      ::DeleteFileW((m_folder + L"\\" + name).c_str());
    }
    ::RemoveDirectoryW(m_folder.c_str());
  }

  std::wstring m_folder;
};

const char kEnum[] = "EnumDisplays 0 2 => ";
const char kConfig[] = "GetConfiguration 0 8 => ";

std::string Capability(int display, const char* answer) {
  return "ATIDL_DisplayGetUnderOverscanCapability 0 " + std::to_string(display) + " => " + answer;
}
std::string Adjustment(int display, int value) {
  return "ATIDL_DisplayGetUnderOverscanAdjustment 0 " + std::to_string(display) + " => " +
         std::to_string(value);
}
std::string Sent(int display, int value) {
  return "ATIDL_DisplaySetUnderOverscanAdjustment 0 " + std::to_string(display) + " " +
         std::to_string(value);
}

TEST_F(TvPictureWithLibrary, PresentLibraryFindsTheDisplayAndSendsAtOnce) {
  InstallLibrary();
  TvPictureAdjustment tv(WithFullHd);
  tv.Start();
  ASSERT_TRUE(tv.Adjustable());
  EXPECT_EQ(0, tv.State().displayIndex);
  EXPECT_EQ(1, tv.State().connectedDisplays);
  EXPECT_EQ(10, tv.State().adjustment);
  EXPECT_EQ((std::vector<std::string>{std::string(kEnum) + "1", std::string(kConfig) + "1",
                                      Capability(0, "1 0 30"), Adjustment(0, 10)}),
            Log());

  tv.Send(4);
  EXPECT_EQ(Sent(0, 26), Log().back());
  EXPECT_EQ(26, Current()) << "the display has the new value at once";
  EXPECT_EQ(26, tv.State().adjustment);

  tv.Stop();
  EXPECT_FALSE(IsTvDisplayLibraryLoaded());
  EXPECT_EQ(nullptr, ::GetModuleHandleW(kTvLibraryName));
  const std::size_t lines = Log().size();
  tv.Send(5);
  EXPECT_EQ(lines, Log().size()) << "nothing is sent after the stop";
}

TEST_F(TvPictureWithLibrary, SliderRunsAgainstTheAdjustment) {
  InstallLibrary();  // range 0..30, current 10
  TvPictureAdjustment tv(WithFullHd);
  tv.Start();
  ASSERT_TRUE(tv.Adjustable());
  EXPECT_EQ(16, tv.StepCount()) << "until the slider is set up";
  const TvSliderSetup slider = tv.SliderSetup();
  EXPECT_EQ(0, slider.minimum);
  EXPECT_EQ(30, slider.maximum);
  EXPECT_EQ(20, slider.position);
  EXPECT_EQ(31, slider.stepCount);
  EXPECT_EQ(31, tv.StepCount());

  tv.Send(slider.position + 1);  // one step to the right
  EXPECT_EQ(Sent(0, 9), Log().back());
  EXPECT_EQ(9, Current());
  tv.Send(slider.maximum);
  EXPECT_EQ(Sent(0, 0), Log().back());
  tv.Send(slider.minimum);
  EXPECT_EQ(Sent(0, 30), Log().back());
}

TEST_F(TvPictureWithLibrary, AbsentLibraryLeavesNothingToAdjust) {
  TvPictureAdjustment tv(WithFullHd);
  tv.Start();
  EXPECT_FALSE(tv.Adjustable());
  EXPECT_FALSE(IsTvDisplayLibraryLoaded());
  tv.Send(3);  // quietly nothing
  const TvSliderSetup slider = tv.SliderSetup();
  EXPECT_EQ(15, slider.maximum);
  EXPECT_EQ(15, slider.position);
  EXPECT_EQ(16, slider.stepCount);
  tv.Stop();
}

TEST_F(TvPictureWithLibrary, LibraryMissingOneEntryPointIsNotUsedAtAll) {
  InstallLibraryMissingAnExport();
  EXPECT_FALSE(BindTvDisplayLibrary());
  ReleaseTvDisplayLibrary();

  TvPictureAdjustment tv(WithFullHd);
  tv.Start();
  EXPECT_FALSE(tv.Adjustable());
  EXPECT_FALSE(IsTvDisplayLibraryLoaded()) << "freed again when the binding fails";
  EXPECT_EQ(nullptr, ::GetModuleHandleW(kTvLibraryName));
  tv.Send(3);
  EXPECT_TRUE(Log().empty()) << "nothing of it is called";
}

TEST_F(TvPictureWithLibrary, DisplayWithoutFullHdModeIsNotAsked) {
  InstallLibrary();
  TvPictureAdjustment tv(WithoutFullHd);
  tv.Start();
  EXPECT_FALSE(tv.Adjustable());
  EXPECT_TRUE(IsTvDisplayLibraryLoaded()) << "bound, but nothing to adjust";
  tv.Send(3);
  EXPECT_TRUE(Log().empty());
  tv.Stop();
  EXPECT_FALSE(IsTvDisplayLibraryLoaded());
}

TEST_F(TvPictureWithLibrary, MoreOrFewerThanOneConnectedDisplay) {
  InstallLibrary();
  for (int connected : {2, 0}) {
    Set(L"ConnectedDisplays", std::to_wstring(connected).c_str());
    ::DeleteFileW((m_folder + L"\\atipdlxx.log").c_str());
    TvPictureAdjustment tv(WithFullHd);
    tv.Start();
    EXPECT_FALSE(tv.Adjustable());
    const std::vector<std::string> log = Log();
    ASSERT_EQ(2u, log.size());
    EXPECT_EQ(std::string(kConfig) + std::to_string(connected), log[1]);
    tv.Send(3);
    EXPECT_EQ(2u, Log().size());
    tv.Stop();
  }
}

TEST_F(TvPictureWithLibrary, FirstAdjustableOfTwentyDisplayNumbers) {
  InstallLibrary();
  Set(L"AdjustableDisplays", L"12, 7");
  TvPictureAdjustment tv(WithFullHd);
  tv.Start();
  ASSERT_TRUE(tv.Adjustable());
  EXPECT_EQ(7, tv.State().displayIndex);
  std::vector<std::string> expected{std::string(kEnum) + std::to_string((1 << 7) | (1 << 12)),
                                    std::string(kConfig) + "1"};
  for (int i = 0; i < 7; ++i) expected.push_back(Capability(i, "0 0 0"));
  expected.push_back(Capability(7, "1 0 30"));
  expected.push_back(Adjustment(7, 10));
  EXPECT_EQ(expected, Log()) << "display numbers after the first adjustable one are not asked";

  tv.Send(20);
  EXPECT_EQ(Sent(7, 10), Log().back());
  tv.Stop();

  Set(L"AdjustableDisplays", L"");
  ::DeleteFileW((m_folder + L"\\atipdlxx.log").c_str());
  TvPictureAdjustment none(WithFullHd);
  none.Start();
  EXPECT_FALSE(none.Adjustable());
  const std::vector<std::string> log = Log();
  ASSERT_EQ(22u, log.size());
  EXPECT_EQ(Capability(19, "0 0 0"), log.back());
}

TEST_F(TvPictureWithLibrary, VirtualDesktopOffersTheFullHdMode) {
  ASSERT_TRUE(DisplayHasFullHdMode()) << "the tests run in Wine's virtual desktop";
  InstallLibrary();
  TvPictureAdjustment tv;  // the real display's mode list decides
  tv.Start();
  EXPECT_TRUE(tv.Adjustable());
}

}  // namespace
