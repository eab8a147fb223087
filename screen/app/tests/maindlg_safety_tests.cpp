// The main dialog with favourites that cannot be kept or should not be believed:
// an unwritable favourites file, a favourite with a DPI no display can use, and a
// window moved where no mouse could reach it. The dialog runs in this process in
// the test prefix's virtual desktop, with the favourites file at its real place.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "mainapp.h"
#include "previewmaindlg.h"

namespace {

bool PumpUntil(const std::function<bool()>& done, DWORD ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    if (done()) return true;
    if (GetTickCount() - start > ms) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

std::string WindowText(HWND hwnd) {
  char text[260] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

// Puts the favourites file aside for one test and back afterwards.
class Favourites : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterDialogClass(GetModuleHandleA(nullptr)); }
  void SetUp() override {
    path_ = LocateScreenConfig().path;
    ASSERT_FALSE(path_.empty());
    aside_ = path_ + ".aside";
    DeleteFileA(aside_.c_str());
    MoveFileA(path_.c_str(), aside_.c_str());
  }
  void TearDown() override {
    if (dialog) {
      if (dialog->m_hWnd) dialog->DestroyWindow();
      dialog.reset();
    }
    RemoveDirectoryA(path_.c_str());
    DeleteFileA(path_.c_str());
    MoveFileA(aside_.c_str(), path_.c_str());
  }
  void Open() {
    dialog = std::make_unique<CPreviewMainDlg>();
    ASSERT_TRUE(dialog->Create(251));
    ASSERT_TRUE(PumpUntil([this] { return IsWindowVisible(dialog->m_hWnd) != FALSE; }, 5000));
  }
  void Command(int id) { SendMessageA(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
  HWND Item(int id) const { return dialog->GetDlgItem(id); }

  std::string path_, aside_;
  std::unique_ptr<CPreviewMainDlg> dialog;
};

TEST_F(Favourites, ASaveThatCannotBeWrittenSaysSoAndLeavesTheSlotAsItWas) {
  ASSERT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << "a folder where the file should be";
  Open();
  Command(1036);  // red on page 4: the Save page
  ASSERT_EQ(3, dialog->Page());
  const std::string empty = WindowText(Item(1030));
  Command(1030);
  EXPECT_EQ(SaveState::Failed, dialog->LastSave());
  EXPECT_EQ(empty, WindowText(Item(1030))) << "the slot still reads as before";
  EXPECT_NE(std::string::npos, empty.find("No data"));
  EXPECT_FALSE(IsWindowEnabled(Item(1038))) << "nothing saved: still nothing to load";

  RemoveDirectoryA(path_.c_str());
  Command(1031);
  EXPECT_EQ(SaveState::Saved, dialog->LastSave()) << "once the file can be written";
  EXPECT_EQ(empty, WindowText(Item(1030))) << "the failed slot stayed empty";
  EXPECT_NE(empty, WindowText(Item(1031)));
}

TEST_F(Favourites, AFavouriteWithAnUnusableDpiLoadsAtTheDpiInForce) {
  {
    std::ofstream file(path_, std::ios::binary);
    file << "[Config]\r\n    Information_1 = 1024-768-50000\r\n"
            "    Information_2 = 800-600-2147483647\r\n";
  }
  Open();
  for (int slot : {1030, 1031}) {
    Command(1038);  // yellow on page 4: page 2, where favourites are loaded
    ASSERT_EQ(2, dialog->Page());
    Command(slot);
    EXPECT_EQ(4, dialog->Page());
    EXPECT_EQ(100, dialog->DpiChoice()) << slot << ": 96 DPI, the DPI in force";
    EXPECT_EQ(0, dialog->DpiPreset()) << slot;
  }
}

TEST_F(Favourites, AWindowMovedOffTheScreenKeepsItsTitleOnIt) {
  Open();
  // A press on the face starts the system's move from the pressed point on the
  // screen (a client point would make the window jump by its own place).
  MSG stale;
  while (PeekMessageA(&stale, dialog->m_hWnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {}
  SendMessageA(dialog->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(960, 470));
  MSG move;
  ASSERT_TRUE(PeekMessageA(&move, dialog->m_hWnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  POINT pressed{960, 470};
  ClientToScreen(dialog->m_hWnd, &pressed);
  EXPECT_EQ(static_cast<WPARAM>(HTCAPTION), move.wParam);
  EXPECT_EQ(pressed.x, static_cast<short>(LOWORD(move.lParam)));
  EXPECT_EQ(pressed.y, static_cast<short>(HIWORD(move.lParam)));

  SetWindowPos(dialog->m_hWnd, nullptr, -1028, -441, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  RECT r{}, work{};
  GetWindowRect(dialog->m_hWnd, &r);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_GE(r.top, work.top);
  EXPECT_GE(r.right, work.left + 120);
  SetWindowPos(dialog->m_hWnd, nullptr, work.right + 50, work.bottom + 50, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(dialog->m_hWnd, &r);
  EXPECT_LE(r.top, work.bottom - 70);
  EXPECT_LE(r.left, work.right - 120);
}

}  // namespace
