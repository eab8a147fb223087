#include "maindlg_fixture.h"

#include <shlobj.h>

#include "files.h"
#include "mainapp.h"
#include "wine_paths.h"

namespace maindlg_test {

std::string FavouritesPath() {
  char appData[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, appData, CSIDL_LOCAL_APPDATA, TRUE);
  return std::string(appData) + "\\KAVO\\Pio-Screen\\ScreenConfig.ini";
}

void DeleteFavourites() { DeleteFileA(FavouritesPath().c_str()); }

void MainDialog::SetUpTestSuite() { RegisterDialogClass(GetModuleHandleA(nullptr)); }

void MainDialog::SetUp() {
  DeleteFavourites();
  Open();
}

void MainDialog::TearDown() {
  Close();
  DeleteFavourites();
}

void MainDialog::Open() {
  Close();
  dialog = std::make_unique<CPreviewMainDlg>();
  ASSERT_TRUE(dialog->Create(251));
  dialog->ShowInitialised();
  SetForegroundWindow(dialog->m_hWnd);
  // In front (else timer 2000 asks for rebuilds of its own), painted, and the
  // start-up timer's repaint done (else it falls into what a case counts).
  ASSERT_TRUE(test_support::PumpUntil([this] {
    return GetForegroundWindow() == dialog->m_hWnd && dialog->FirstPaintEnd() != 0 &&
           !dialog->PreviewTimerRunning();
  }));
}

void MainDialog::Close() {
  if (dialog && dialog->m_hWnd) dialog->DestroyWindow();
  dialog.reset();
  test_support::DispatchPending();
}

std::string MainDialog::Text(int id) const {
  char text[260] = {};
  GetWindowTextA(Item(id), text, sizeof text);
  return text;
}

void MainDialog::Click(int id) {
  SendMessageA(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
               reinterpret_cast<LPARAM>(Item(id)));
}

void MainDialog::Scroll(int bar, int code, int position) {
  SendMessageA(dialog->m_hWnd, WM_HSCROLL, MAKEWPARAM(code, position),
               reinterpret_cast<LPARAM>(Item(bar)));
}

RECT MainDialog::ClientRect(int id) const {
  RECT r;
  GetWindowRect(Item(id), &r);
  MapWindowPoints(nullptr, dialog->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

namespace {

using SetDllDirectoryAFn = BOOL(WINAPI*)(LPCSTR);
SetDllDirectoryAFn SetDllDirectoryFn() {
  return reinterpret_cast<SetDllDirectoryAFn>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA"));
}

}  // namespace

void MainDialogWithTv::SetUp() {
#ifndef PIO_ATIPDLXX_DLL
  GTEST_SKIP() << "the atipdlxx stand-in is not part of this build (standins)";
#else
  DeleteFavourites();
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  m_libraryFolder = std::string(temp) + "pio-maindlg-tv-" + std::to_string(GetCurrentProcessId());
  CreateDirectoryA(m_libraryFolder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileA(test_support::WindowsPath(PIO_ATIPDLXX_DLL).c_str(),
                        (m_libraryFolder + "\\atipdlxx.dll").c_str(), FALSE));
  ASSERT_TRUE(test_support::WriteWholeFile(
      m_libraryFolder + "\\atipdlxx.ini",
      "[Display]\r\nConnectedDisplays=1\r\nAdjustableDisplays=0\r\nMinimum=0\r\nMaximum=30\r\n"
      "Current=15\r\n"));
  ASSERT_TRUE(SetDllDirectoryFn() && SetDllDirectoryFn()(m_libraryFolder.c_str()));
  Open();
#endif
}

void MainDialogWithTv::TearDown() {
  Close();  // frees the library
  DeleteFavourites();
  if (m_libraryFolder.empty()) return;
  SetDllDirectoryFn()(nullptr);
  for (const char* name : {"\\atipdlxx.dll", "\\atipdlxx.ini"})
    DeleteFileA((m_libraryFolder + name).c_str());
  RemoveDirectoryA(m_libraryFolder.c_str());
}

int MainDialogWithTv::DisplayAdjustment() const {
  return static_cast<int>(
      GetPrivateProfileIntA("Display", "Current", -1, (m_libraryFolder + "\\atipdlxx.ini").c_str()));
}

}  // namespace maindlg_test
