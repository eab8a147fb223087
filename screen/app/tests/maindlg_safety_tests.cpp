// The main dialog with favourites that cannot be kept or should not be believed:
// an unwritable favourites file, a favourite with a DPI no display can use, and a
// window moved where no mouse could reach it. And a dialog object that never makes
// its window.
#include <gtest/gtest.h>

#include <string>

#include "files.h"
#include "gdi_objects.h"
#include "maindlg_fixture.h"

namespace {

using maindlg_test::FavouritesPath;

// The first WM_NCLBUTTONDOWN sent to a window of this thread.
CWPSTRUCT g_moveStart{};
LRESULT CALLBACK RecordMoveStart(int code, WPARAM wParam, LPARAM lParam) {
  const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && sent->message == WM_NCLBUTTONDOWN && !g_moveStart.message) g_moveStart = *sent;
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Each case prepares the favourites file first, then opens the dialog.
class Favourites : public maindlg_test::MainDialog {
 protected:
  void SetUp() override { maindlg_test::DeleteFavourites(); }
  void TearDown() override {
    MainDialog::TearDown();
    RemoveDirectoryA(FavouritesPath().c_str());
  }
};

TEST_F(Favourites, ASaveThatCannotBeWrittenSaysSoAndLeavesTheSlotAsItWas) {
  ASSERT_TRUE(CreateDirectoryA(FavouritesPath().c_str(), nullptr)) << "a folder where the file should be";
  Open();
  Click(1036);  // red on page 4: the Save page
  ASSERT_EQ(3, dialog->Page());
  const std::string empty = Text(1030);
  Click(1030);
  EXPECT_EQ(SaveState::Failed, dialog->LastSave());
  EXPECT_EQ(empty, Text(1030)) << "the slot still reads as before";
  EXPECT_FALSE(Enabled(1038)) << "nothing saved: still nothing to load";

  RemoveDirectoryA(FavouritesPath().c_str());
  Click(1031);
  EXPECT_EQ(SaveState::Saved, dialog->LastSave()) << "once the file can be written";
  EXPECT_EQ(empty, Text(1030)) << "the failed slot stayed empty";
  EXPECT_NE(empty, Text(1031));
}

TEST_F(Favourites, AFavouriteWithAnUnusableDpiLoadsAtTheDpiInForce) {
  ASSERT_TRUE(test_support::WriteWholeFile(FavouritesPath(),
                                           "[Config]\r\n    Information_1 = 1024-768-50000\r\n"
                                           "    Information_2 = 800-600-2147483647\r\n"));
  Open();
  for (int slot : {1030, 1031}) {
    Click(1038);  // yellow on page 4: page 2, where favourites are loaded
    ASSERT_EQ(2, dialog->Page());
    Click(slot);
    EXPECT_EQ(4, dialog->Page());
    EXPECT_EQ(100, dialog->DpiChoice()) << slot << ": 96 DPI, the DPI in force";
    EXPECT_EQ(0, dialog->DpiPreset()) << slot;
  }
}

TEST_F(Favourites, AWindowMovedOffTheScreenKeepsItsTitleOnIt) {
  Open();
  // A press on the face starts the system's move at once (a start posted for
  // later could miss a quick click's release), from the pressed point on the
  // screen (a client point would make the window jump by its own place).
  g_moveStart = {};
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &RecordMoveStart, nullptr, GetCurrentThreadId());
  PostMessageA(dialog->m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1);  // ends the move it starts
  SendMessageA(dialog->m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(960, 470));
  UnhookWindowsHookEx(hook);
  POINT pressed{960, 470};
  ClientToScreen(dialog->m_hWnd, &pressed);
  ASSERT_EQ(static_cast<UINT>(WM_NCLBUTTONDOWN), g_moveStart.message) << "sent while handling the press";
  EXPECT_EQ(static_cast<WPARAM>(HTCAPTION), g_moveStart.wParam);
  EXPECT_EQ(pressed.x, static_cast<short>(LOWORD(g_moveStart.lParam)));
  EXPECT_EQ(pressed.y, static_cast<short>(HIWORD(g_moveStart.lParam)));
  test_support::DispatchPending();

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

// The object starts reading its skin and first preview on threads of its own; gone
// at once, before its window exists, it waits for them and gives all of it back.
TEST(DialogObject, GoneBeforeItsWindowGivesBackWhatItReadAhead) {
  std::make_unique<CPreviewMainDlg>().reset();  // the decoder's first start, uncounted
  const int before = test_support::LiveGdiObjects();
  for (int i = 0; i < 5; ++i) std::make_unique<CPreviewMainDlg>().reset();
  EXPECT_EQ(before, test_support::LiveGdiObjects());
}

}  // namespace
