// The main dialog in this process, driven through real messages, inside the test
// prefix's 1280 x 720 virtual desktop. No TV display library lies beside this test
// program, so the dialog opens on page 4.
#include <gtest/gtest.h>

#include <string>

#include "broadcast.h"
#include "maindlg_fixture.h"

namespace {

using maindlg_test::MainDialog;
using test_support::PumpUntil;

TEST_F(MainDialog, OpensShapedOnPage4WithTheNamesOthersFindItBy) {
  char text[64];
  GetClassNameA(dialog->m_hWnd, text, sizeof text);
  EXPECT_STREQ("P-Screen Dialog", text);
  GetWindowTextA(dialog->m_hWnd, text, sizeof text);
  EXPECT_STREQ("Pio Screen Setting", text);
  EXPECT_EQ(dialog->m_hWnd, FindWindowA("P-Screen Dialog", "Pio Screen Setting"));

  RECT client;
  GetClientRect(dialog->m_hWnd, &client);
  EXPECT_EQ(1024, client.right);
  EXPECT_EQ(576, client.bottom);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(ERROR, GetWindowRgn(dialog->m_hWnd, region)) << "the frame shapes the window";
  EXPECT_FALSE(PtInRegion(region, 0, 0)) << "rounded corners are cut";
  EXPECT_TRUE(PtInRegion(region, 512, 288));
  DeleteObject(region);

  EXPECT_EQ(4, dialog->Page());
  EXPECT_TRUE(dialog->NoPictureSizeAdjustment());
}

TEST_F(MainDialog, Page4ShowsItsControlsAndHidesTheScrollBars) {
  // (The template starts the other pages' controls and the scroll bars hidden.)
  for (int id : {1027, 1028, 1058, 1017, 1022, 1021, 1026, 1030, 1035, 1042, 1048})
    EXPECT_FALSE(Visible(id)) << id;
  for (int id : {1020, 1025, 1052, 1054, 1055, 1036, 1039, 1050, 1051}) EXPECT_TRUE(Visible(id)) << id;
  EXPECT_TRUE(Enabled(1036)) << "red: Save";
  EXPECT_FALSE(Enabled(1037)) << "green: nothing to apply yet";
}

TEST_F(MainDialog, SliderStartsAtTheSizeInForceAndFollowsSteps) {
  // 1280 x 720 is the fourth size the virtual desktop offers.
  const int start = 3;
  EXPECT_EQ(start, dialog->SelectedSizeIndex());

  const int before = ClientRect(1020).left;
  Scroll(1028, SB_LINERIGHT);
  EXPECT_EQ(start + 1, dialog->SelectedSizeIndex());
  EXPECT_GT(ClientRect(1020).left, before) << "the thumb follows the slider at once";
  EXPECT_TRUE(Enabled(1037)) << "a new size can be applied";
  Scroll(1028, SB_LINELEFT);
  EXPECT_EQ(start, dialog->SelectedSizeIndex());
  EXPECT_FALSE(Enabled(1037));

  Scroll(1028, SB_THUMBPOSITION, 0);
  Scroll(1028, SB_LINELEFT);
  EXPECT_EQ(0, dialog->SelectedSizeIndex()) << "no step below the first size";
}

TEST_F(MainDialog, ABurstOfStepsRepaintsAndRebuildsOnce) {
  const int repaints = dialog->FullRepaintCount(), rebuilds = dialog->PreviewRebuildCount();
  for (int i = 0; i < 20; ++i)
    PostMessageA(dialog->m_hWnd, WM_HSCROLL, i % 2 ? SB_LINELEFT : SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(Item(1028)));
  // The burst restarts the preview timer at every step; once it has run out, no
  // further repaint can come of the burst.
  ASSERT_TRUE(PumpUntil([&] {
    return dialog->FullRepaintCount() != repaints && !dialog->PreviewTimerRunning();
  }));
  EXPECT_EQ(1, dialog->FullRepaintCount() - repaints);
  EXPECT_EQ(1, dialog->PreviewRebuildCount() - rebuilds);
}

TEST_F(MainDialog, DisplayChangeMovesTheResolutionSlider) {
  const int start = dialog->SelectedSizeIndex();
  const int small = FindSize(dialog->Sizes(), 800, 600);
  ASSERT_NE(-1, small);
  // The mode of the registry comes back whatever happens here.
  struct Restore {
    ~Restore() { ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr); }
  } restore;
  DEVMODEA dm{};
  dm.dmSize = sizeof dm;
  dm.dmPelsWidth = 800;
  dm.dmPelsHeight = 600;
  dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsExA(nullptr, &dm, nullptr, 0, nullptr));
  EXPECT_TRUE(PumpUntil([&] { return dialog->SelectedSizeIndex() == small; }));
  ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
  EXPECT_TRUE(PumpUntil([&] { return dialog->SelectedSizeIndex() == start; }));
}

TEST_F(MainDialog, ColouredKeyCodesOfTheBroadcastPressEnabledKeysOnly) {
  const UINT message = broadcast::RegisterMessageA();
  SendMessageA(dialog->m_hWnd, message, broadcast::kFamilyAcpi, broadcast::kRedKey);
  SendMessageA(dialog->m_hWnd, message, broadcast::kFamilyRemoteControl, broadcast::kNoCode);
  EXPECT_EQ(4, dialog->Page());
  SendMessageA(dialog->m_hWnd, message, broadcast::kFamilyRemoteControl, broadcast::kGreenKey);
  EXPECT_EQ(4, dialog->Page()) << "green is unavailable with nothing to apply";
  SendMessageA(dialog->m_hWnd, message, broadcast::kFamilyRemoteControl, broadcast::kRedKey);
  EXPECT_EQ(3, dialog->Page()) << "red on page 4: Save";
  EXPECT_TRUE(Visible(1030));
  EXPECT_FALSE(Visible(1020));
  EXPECT_TRUE(Enabled(1035)) << "every slot can be saved into";
  EXPECT_EQ(GetDlgItem(dialog->m_hWnd, 1030), GetFocus());
  SendMessageA(dialog->m_hWnd, message, broadcast::kFamilyRemoteControl, broadcast::kRedKey);
  EXPECT_EQ(4, dialog->Page()) << "red on page 3: Cancel";
}

TEST_F(MainDialog, ArrowKeysWalkThePresetsAndSelectThem) {
  SetFocus(Item(1052));
  SendMessageA(dialog->m_hWnd, WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(Item(1054), GetFocus());
  EXPECT_EQ(1, dialog->DpiPreset());
  EXPECT_EQ(125, dialog->DpiChoice());
  SendMessageA(dialog->m_hWnd, WM_KEYDOWN, VK_NUMPAD6, 0);
  EXPECT_EQ(2, dialog->DpiPreset());
  EXPECT_EQ(146, dialog->DpiChoice());
  SendMessageA(dialog->m_hWnd, WM_KEYDOWN, VK_DOWN, 0);
  EXPECT_EQ(Item(1020), GetFocus());
  EXPECT_EQ(1, dialog->PreviewKind());
  const int index = dialog->SelectedSizeIndex();
  SendMessageA(dialog->m_hWnd, WM_KEYDOWN, VK_LEFT, 0);
  EXPECT_EQ(index - 1, dialog->SelectedSizeIndex());
  SendMessageA(dialog->m_hWnd, WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(Item(1055), GetFocus()) << "back to the key of the chosen preset";
  EXPECT_EQ(0, dialog->PreviewKind());
}

TEST_F(MainDialog, ClosingFromTheTaskBarEndsWithoutAQuestion) {
  // (Modeless here, so the end shows as the dialog hiding itself.)
  SendMessageA(dialog->m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(dialog->m_hWnd); }));
}

}  // namespace
