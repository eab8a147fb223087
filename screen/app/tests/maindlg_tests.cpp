// The main dialog in this process, driven through real messages, inside the test
// prefix's 1280 x 720 virtual desktop. No TV display library lies beside this test
// program, so the dialog opens on page 4.
#include <gtest/gtest.h>

#include <string>

#include "broadcast.h"
#include "mainapp.h"
#include "previewmaindlg.h"

namespace {

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

class MainDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { RegisterDialogClass(GetModuleHandleA(nullptr)); }
  void SetUp() override {
    dialog = std::make_unique<CPreviewMainDlg>();
    ASSERT_TRUE(dialog->Create(251));
    Pump(150);
  }
  void TearDown() override {
    if (dialog->m_hWnd) dialog->DestroyWindow();
    dialog.reset();
  }
  HWND Item(int id) const { return dialog->GetDlgItem(id); }
  bool Visible(int id) const { return IsWindowVisible(Item(id)) != FALSE; }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
  void Scroll(int code, int position = 0) {
    SendMessageA(dialog->m_hWnd, WM_HSCROLL, MAKEWPARAM(code, position),
                 reinterpret_cast<LPARAM>(Item(1028)));
  }
  RECT ClientRect(int id) const {
    RECT r;
    GetWindowRect(Item(id), &r);
    MapWindowPoints(nullptr, dialog->m_hWnd, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  std::unique_ptr<CPreviewMainDlg> dialog;
};

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
  for (int id : {1027, 1028, 1058, 1017, 1022, 1021, 1026, 1030, 1035, 1042, 1048})
    EXPECT_FALSE(Visible(id)) << id;
  for (int id : {1020, 1025, 1052, 1054, 1055, 1036, 1039, 1050, 1051}) EXPECT_TRUE(Visible(id)) << id;
  EXPECT_TRUE(Enabled(1036)) << "red: Save";
  EXPECT_FALSE(Enabled(1037)) << "green: nothing to apply yet";
}

TEST_F(MainDialog, SliderStartsAtTheSizeInForceAndFollowsSteps) {
  CurrentDisplayMode mode;
  ReadCurrentDisplayMode(mode, true);
  const SizeList& sizes = dialog->Sizes();
  ASSERT_GT(sizes.size(), 2u);
  const int start = IndexOfCurrentSize(sizes, mode.width, mode.height);
  EXPECT_EQ(start, dialog->SelectedSizeIndex());

  const int before = ClientRect(1020).left;
  Scroll(SB_LINERIGHT);
  Pump(100);
  EXPECT_EQ(start + 1, dialog->SelectedSizeIndex());
  EXPECT_GT(ClientRect(1020).left, before) << "the thumb follows the slider";
  EXPECT_TRUE(Enabled(1037)) << "a new size can be applied";
  Scroll(SB_LINELEFT);
  Pump(100);
  EXPECT_EQ(start, dialog->SelectedSizeIndex());
  EXPECT_FALSE(Enabled(1037));

  Scroll(SB_THUMBPOSITION, 0);
  Scroll(SB_LINELEFT);
  EXPECT_EQ(0, dialog->SelectedSizeIndex()) << "no step below the first size";
}

TEST_F(MainDialog, ABurstOfStepsRepaintsAndRebuildsOnce) {
  Pump(200);
  const int repaints = dialog->FullRepaintCount(), rebuilds = dialog->PreviewRebuildCount();
  for (int i = 0; i < 20; ++i)
    PostMessageA(dialog->m_hWnd, WM_HSCROLL, i % 2 ? SB_LINELEFT : SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(Item(1028)));
  // However slow the machine: wait for the first repaint, then a while longer for
  // any further one.
  for (int waited = 0; waited < 5000 && dialog->FullRepaintCount() == repaints; waited += 50)
    Pump(50);
  Pump(300);
  EXPECT_EQ(1, dialog->FullRepaintCount() - repaints);
  EXPECT_EQ(1, dialog->PreviewRebuildCount() - rebuilds);
}

TEST_F(MainDialog, DisplayChangeMovesTheResolutionSlider) {
  const int start = dialog->SelectedSizeIndex();
  DEVMODEA dm{};
  dm.dmSize = sizeof dm;
  dm.dmPelsWidth = 800;
  dm.dmPelsHeight = 600;
  dm.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
  ASSERT_EQ(DISP_CHANGE_SUCCESSFUL, ChangeDisplaySettingsExA(nullptr, &dm, nullptr, 0, nullptr));
  Pump(300);
  EXPECT_EQ(FindSize(dialog->Sizes(), 800, 600), dialog->SelectedSizeIndex());
  ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr);
  Pump(300);
  EXPECT_EQ(start, dialog->SelectedSizeIndex());
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
  Pump(100);
  EXPECT_FALSE(IsWindowVisible(dialog->m_hWnd));
}

}  // namespace
