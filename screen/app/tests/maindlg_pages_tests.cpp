// The main dialog's first frame, its favourites kept in the user's file, and its
// pages with the TV display library beside it.
#include <gtest/gtest.h>

#include <string>

#include "files.h"
#include "mainapp.h"
#include "maindlg_fixture.h"

namespace {

using maindlg_test::DeleteFavourites;
using maindlg_test::FavouritesPath;
using maindlg_test::MainDialog;
using maindlg_test::MainDialogWithTv;

// --- the first frame ---------------------------------------------------------

// What the dialog was like at the moment it became visible, and when its modal
// loop took its first message; seen by hooks of the thread, outside the dialog.
struct FirstFrame {
  CPreviewMainDlg* dialog = nullptr;
  bool shown = false;
  RECT window{};
  int page = 0;
  bool thumbVisible = false;
  RECT thumb{};
  bool shaped = false;
  bool looked = false;
  bool painted = false;  // both when the loop took its first message
  bool preview = false;
} g_first;

LRESULT CALLBACK AfterCall(int code, WPARAM wParam, LPARAM lParam) {
  const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
  HWND hwnd = g_first.dialog ? g_first.dialog->m_hWnd : nullptr;
  if (code == HC_ACTION && hwnd && call->hwnd == hwnd && !g_first.shown &&
      call->message == WM_WINDOWPOSCHANGED &&
      (reinterpret_cast<const WINDOWPOS*>(call->lParam)->flags & SWP_SHOWWINDOW)) {
    g_first.shown = true;
    GetWindowRect(hwnd, &g_first.window);
    g_first.page = g_first.dialog->Page();
    HWND thumb = GetDlgItem(hwnd, 1020);
    g_first.thumbVisible = (GetWindowLongA(thumb, GWL_STYLE) & WS_VISIBLE) != 0;
    GetWindowRect(thumb, &g_first.thumb);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&g_first.thumb), 2);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    g_first.shaped = GetWindowRgn(hwnd, region) != ERROR;
    DeleteObject(region);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK Retrieved(int code, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = g_first.dialog ? g_first.dialog->m_hWnd : nullptr;
  if (code == HC_ACTION && wParam == PM_REMOVE && hwnd && g_first.shown && !g_first.looked) {
    g_first.looked = true;
    g_first.painted = g_first.dialog->FirstPaintEnd() != 0;
    g_first.preview = SendDlgItemMessageA(hwnd, 1050, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(1015, BN_CLICKED), 0);  // ends the run
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A person never sees the window at the template's place, before its page is
// chosen or with its controls not yet placed, nor before its first paint.
TEST(MainDialogStart, TheFirstVisibleFrameIsTheFinishedOne) {
  DeleteFavourites();
  RegisterDialogClass(GetModuleHandleA(nullptr));
  CPreviewMainDlg dialog;
  g_first = FirstFrame{};
  g_first.dialog = &dialog;
  const DWORD thread = GetCurrentThreadId();
  HHOOK calls = SetWindowsHookExA(WH_CALLWNDPROCRET, &AfterCall, nullptr, thread);
  HHOOK messages = SetWindowsHookExA(WH_GETMESSAGE, &Retrieved, nullptr, thread);
  ASSERT_TRUE(calls && messages);
  const INT_PTR result = dialog.DoModal();
  UnhookWindowsHookEx(calls);
  UnhookWindowsHookEx(messages);
  g_first.dialog = nullptr;
  EXPECT_EQ(IDOK, result);

  ASSERT_TRUE(g_first.shown);
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_EQ(work.left + (work.right - work.left - 1024) / 2, g_first.window.left) << "centred";
  EXPECT_EQ(work.top + (work.bottom - work.top - 576) / 2, g_first.window.top);
  EXPECT_EQ(4, g_first.page) << "on its page (no TV library here)";
  EXPECT_TRUE(g_first.thumbVisible && g_first.thumb.top == 326 && g_first.thumb.left >= 725)
      << "the resolution thumb on its track";
  EXPECT_TRUE(g_first.shaped);
  ASSERT_TRUE(g_first.looked);
  EXPECT_TRUE(g_first.painted && g_first.preview) << "painted before the loop takes a message";
}

// --- favourites --------------------------------------------------------------

TEST_F(MainDialog, AFavouriteIsSavedOnPage3AndLoadedOnPage2AfterARestart) {
  const int index = FindSize(dialog->Sizes(), 1024, 768);
  ASSERT_NE(-1, index);
  Scroll(1028, SB_THUMBPOSITION, index);
  Click(1036);  // red on page 4: Save
  ASSERT_EQ(3, dialog->Page());
  // The slots, made when a favourites' page is first shown, stand in their
  // places and in the template's order, before the coloured keys (the focused
  // first one is brought to the top).
  const RECT first = ClientRect(1030), last = ClientRect(1035);
  EXPECT_EQ(697, first.left);
  EXPECT_EQ(82, first.top);
  EXPECT_EQ(987, first.right);
  EXPECT_EQ(142, first.bottom);
  EXPECT_EQ(374, last.top);
  EXPECT_EQ(434, last.bottom);
  EXPECT_EQ(Item(1036), GetWindow(Item(1035), GW_HWNDNEXT));
  EXPECT_EQ(Item(1031), GetWindow(Item(1032), GW_HWNDPREV));
  Click(1031);  // slot 2
  EXPECT_EQ("[Config]\r\n    Information_2 = 1024-768-96\r\n\r\n",
            test_support::ReadWholeFile(FavouritesPath()));
  EXPECT_TRUE(Enabled(1038)) << "yellow: the saved one can be loaded";

  // The next start reads it.
  Open();
  EXPECT_NE(index, dialog->SelectedSizeIndex());
  ASSERT_TRUE(Enabled(1038)) << "yellow on page 4: Load";
  Click(1038);
  ASSERT_EQ(2, dialog->Page());
  EXPECT_FALSE(Enabled(1030));
  EXPECT_EQ("", Text(1030)) << "empty slots are blank on page 2";
  EXPECT_EQ("Font : S\\1024*768", Text(1031));
  EXPECT_EQ(Item(1031), GetFocus()) << "the first slot that can be loaded";
  Click(1031);
  EXPECT_EQ(4, dialog->Page());
  EXPECT_EQ(index, dialog->SelectedSizeIndex());
  EXPECT_EQ(100, dialog->DpiChoice());
  EXPECT_TRUE(Enabled(1037)) << "green: the loaded size can be applied";
}

// --- pages 1 and 2 with the TV library -----------------------------------------

TEST_F(MainDialogWithTv, Page1MovesThePictureSizeAtOnce) {
  ASSERT_EQ(1, dialog->Page());
  EXPECT_TRUE(Visible(1021) && Visible(1026)) << "its thumb and text";
  EXPECT_FALSE(Visible(1020) || Visible(1058)) << "page 4's thumb, and the slider's scroll bar";
  EXPECT_EQ(15, dialog->PictureSizePosition()) << "30 - 15";
  Scroll(1058, SB_LINERIGHT);
  EXPECT_EQ(16, dialog->PictureSizePosition());
  EXPECT_EQ(14, DisplayAdjustment()) << "one step right lowers the adjustment";
  Scroll(1058, SB_LINELEFT);
  Scroll(1058, SB_LINELEFT);
  EXPECT_EQ(16, DisplayAdjustment());
}

TEST_F(MainDialogWithTv, YellowAndGreenWalkThePages) {
  EXPECT_FALSE(Enabled(1037)) << "green (Load) with no favourite saved";
  Click(1038);  // yellow on page 1: Advanced
  ASSERT_EQ(4, dialog->Page());
  EXPECT_TRUE(Enabled(1038)) << "Easy: back to page 1";
  Click(1036);  // red: Save
  ASSERT_EQ(3, dialog->Page());
  Click(1030);
  Click(1038);  // yellow on page 3: Easy
  ASSERT_EQ(1, dialog->Page());
  EXPECT_TRUE(Enabled(1037)) << "green (Load) once a favourite is saved";
  Click(1037);
  ASSERT_EQ(2, dialog->Page());
  EXPECT_TRUE(Enabled(1030));
  EXPECT_TRUE(Enabled(1038)) << "yellow on page 2: Advanced";
  Click(1036);  // red on page 2: Cancel, back to page 1
  EXPECT_EQ(1, dialog->Page());
  Click(1037);
  Click(1038);
  EXPECT_EQ(4, dialog->Page());
}

}  // namespace
