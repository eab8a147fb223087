// The main dialog with favourites that cannot be kept or should not be believed:
// an unwritable favourites file, a favourite with a DPI no display can use, and a
// window moved where no mouse could reach it.
#include <gtest/gtest.h>

#include <string>

#include "files.h"
#include "maindlg_fixture.h"

namespace {

using maindlg_test::FavouritesPath;

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
  EXPECT_NE(std::string::npos, empty.find("No data"));
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
