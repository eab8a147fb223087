// The framework's message paths, under Wine with real windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "button.h"
#include "dialog.h"
#include "framework_test_ids.h"
#include "gdi.h"
#include "latebound.h"
#include "thread.h"

#include <mmsystem.h>

namespace {

RECT Rect(int w, int h) { return RECT{0, 0, w, h}; }

// A plain window class whose procedure is the system default, as a class
// registered by some other code would be.
const char* PlainClass() {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FrameworkTestPlain";
    RegisterClassA(&wc);
    registered = true;
  }
  return "FrameworkTestPlain";
}

UINT g_registered = RegisterWindowMessageA("FRAMEWORK_TEST_REGISTERED");

class BaseWindow : public CWnd {
 public:
  std::vector<std::string> log;
  LRESULT OnBaseOnly(WPARAM, LPARAM) { log.push_back("base-only"); return 11; }
  LRESULT OnShared(WPARAM, LPARAM) { log.push_back("base-shared"); return 12; }

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMapEntry entries[] = {
        OnMessage(WM_USER + 1, &BaseWindow::OnBaseOnly),
        OnMessage(WM_USER + 2, &BaseWindow::OnShared),
    };
    static const MessageMap map{CWnd::GetMessageMap(), entries, std::size(entries)};
    return &map;
  }
};

class DerivedWindow : public BaseWindow {
 public:
  int created = 0;
  int destroyed = 0;
  int postNcDestroy = 0;
  LPARAM lastRegistered = 0;
  LRESULT OnShared(WPARAM, LPARAM) { log.push_back("derived-shared"); return 22; }
  LRESULT OnRegistered(WPARAM, LPARAM l) { lastRegistered = l; return 33; }
  LRESULT OnCreate(WPARAM, LPARAM) { ++created; return 0; }
  LRESULT OnDestroy(WPARAM, LPARAM) { ++destroyed; return 0; }
  LRESULT OnClicked(WPARAM w, LPARAM) { log.push_back("clicked " + std::to_string(LOWORD(w))); return 0; }

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMapEntry entries[] = {
        OnMessage(WM_USER + 2, &DerivedWindow::OnShared),
        OnRegisteredMessage(&g_registered, &DerivedWindow::OnRegistered),
        OnMessage(WM_CREATE, &DerivedWindow::OnCreate),
        OnMessage(WM_DESTROY, &DerivedWindow::OnDestroy),
        OnCommandRange(BN_CLICKED, 500, 510, &DerivedWindow::OnClicked),
    };
    static const MessageMap map{BaseWindow::GetMessageMap(), entries, std::size(entries)};
    return &map;
  }
  void PostNcDestroy() override { ++postNcDestroy; }
};

TEST(MessageMap, DerivedRowsWinAndBaseRowsStillServe) {
  DerivedWindow w;
  ASSERT_TRUE(w.CreateEx(0, PlainClass(), "t", WS_POPUP, Rect(50, 50), nullptr, 0));
  EXPECT_EQ(1, w.created) << "CreateEx must bind before WM_CREATE";
  EXPECT_EQ(11, SendMessageA(w, WM_USER + 1, 0, 0));
  EXPECT_EQ(22, SendMessageA(w, WM_USER + 2, 0, 0));
  EXPECT_EQ(33, SendMessageA(w, g_registered, 0, 0x0312005C));
  EXPECT_EQ(0x0312005C, w.lastRegistered);
  // Unknown messages take the window's previous procedure.
  EXPECT_EQ(0, SendMessageA(w, WM_USER + 99, 0, 0));
  EXPECT_EQ((std::vector<std::string>{"base-only", "derived-shared"}), w.log);
}

TEST(MessageMap, CommandRowsMatchCodeAndIdRange) {
  DerivedWindow w;
  ASSERT_TRUE(w.CreateEx(0, PlainClass(), "t", WS_POPUP, Rect(50, 50), nullptr, 0));
  SendMessageA(w, WM_COMMAND, MAKEWPARAM(505, BN_CLICKED), 0);
  SendMessageA(w, WM_COMMAND, MAKEWPARAM(511, BN_CLICKED), 0);       // out of range
  SendMessageA(w, WM_COMMAND, MAKEWPARAM(505, BN_DOUBLECLICKED), 0);  // other code
  EXPECT_EQ((std::vector<std::string>{"clicked 505"}), w.log);
}

TEST(Binding, WindowDestroyedFirstUnbindsAndCallsPostNcDestroy) {
  DerivedWindow w;
  ASSERT_TRUE(w.CreateEx(0, PlainClass(), "t", WS_POPUP, Rect(50, 50), nullptr, 0));
  HWND hwnd = w.m_hWnd;
  DestroyWindow(hwnd);
  EXPECT_EQ(1, w.destroyed);
  EXPECT_EQ(1, w.postNcDestroy);
  EXPECT_EQ(nullptr, w.m_hWnd);
  EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hwnd));
}

// Whether the window being watched was still bound to an object when its
// WM_DESTROY came, seen by a hook outside every object.
HWND g_watched = nullptr;
int g_destroyMessages = 0;
bool g_boundWhenDestroyed = false;
LRESULT CALLBACK WatchDestroy(int code, WPARAM wParam, LPARAM lParam) {
  const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
  if (code == HC_ACTION && cwp->hwnd == g_watched && cwp->message == WM_DESTROY) {
    ++g_destroyMessages;
    g_boundWhenDestroyed = CWnd::FromHandlePermanent(cwp->hwnd) != nullptr;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Binding, ObjectDestroyedFirstUnbindsBeforeTheWindowGoes) {
  auto* w = new DerivedWindow;
  ASSERT_TRUE(w->CreateEx(0, PlainClass(), "t", WS_POPUP, Rect(50, 50), nullptr, 0));
  const HWND hwnd = w->m_hWnd;
  g_watched = hwnd;
  g_destroyMessages = 0;
  HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &WatchDestroy, nullptr, GetCurrentThreadId());
  ASSERT_TRUE(hook);
  delete w;  // must not route WM_DESTROY into the dying object
  UnhookWindowsHookEx(hook);
  g_watched = nullptr;
  EXPECT_FALSE(IsWindow(hwnd)) << "a window the object created dies with it";
  EXPECT_EQ(1, g_destroyMessages);
  EXPECT_FALSE(g_boundWhenDestroyed) << "still bound when its destruction began";
}

TEST(Binding, SubclassAndUnsubclassRestoreTheProcedure) {
  HWND hwnd = CreateWindowExA(0, PlainClass(), "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(hwnd);
  const LONG_PTR original = GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
  {
    DerivedWindow w;
    ASSERT_TRUE(w.SubclassWindow(hwnd));
    EXPECT_EQ(&w, CWnd::FromHandlePermanent(hwnd));
    DerivedWindow other;
    EXPECT_FALSE(other.SubclassWindow(hwnd)) << "one object per window";
    EXPECT_EQ(11, SendMessageA(hwnd, WM_USER + 1, 0, 0));
  }
  // The object went; the window it did not create stays, with its own procedure.
  ASSERT_TRUE(IsWindow(hwnd));
  EXPECT_EQ(original, GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
  EXPECT_EQ(0, SendMessageA(hwnd, WM_USER + 1, 0, 0));
  DestroyWindow(hwnd);
}

// --- dialogs -------------------------------------------------------------

class RecordingButton : public CButton {
 public:
  std::vector<std::string>* log = nullptr;
  int drawn = 0;
  void DrawItem(LPDRAWITEMSTRUCT dis) override {
    ++drawn;
    FillRect(dis->hDC, &dis->rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  }
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && log) log->push_back("button");
    return FALSE;
  }
};

class RecordingEdit : public CWnd {
 public:
  std::vector<std::string>* log = nullptr;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN && log) log->push_back("edit " + std::to_string(msg->wParam));
    return FALSE;
  }
};

class TestDialog : public CDialog {
 public:
  TestDialog() : CDialog(IDD_TEST) {
    button.log = &log;
    edit.log = &log;
  }
  RecordingButton button;
  RecordingEdit edit;
  std::vector<std::string> log;
  std::vector<UINT> script;  // messages posted to the edit control at start-up
  int endInInit = 0;
  bool sawPaintedButton = false;
  bool visibleAfterInit = true;
  bool paintedAtFirstMessage = false;

  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message == WM_KEYDOWN) {
      log.push_back("dialog " + std::to_string(msg->wParam));
      if (msg->wParam == VK_F2) {
        // Keys come before paint messages in the queue; paint the shown dialog now.
        RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        sawPaintedButton = button.drawn > 0;
        EndDialog(77);
        return TRUE;
      }
      if (msg->wParam == VK_F3) {
        // Posted during the initialisation: the first message the loop takes.
        paintedAtFirstMessage = button.drawn > 0 && ::IsWindowVisible(m_hWnd);
        EndDialog(78);
        return TRUE;
      }
    }
    return CDialog::PreTranslateMessage(msg);
  }

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Control(dx, IDC_DRAWN, button);
    DDX_Control(dx, IDC_EDIT, edit);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    if (endInInit) {
      EndDialog(endInInit);
      return TRUE;
    }
    for (UINT key : script) ::PostMessageA(edit, WM_KEYDOWN, key, 0);
    visibleAfterInit = ::IsWindowVisible(m_hWnd) != FALSE;
    return TRUE;
  }
};

TEST(Dialog, ModalLoopOffersKeysInnermostFirstAndEndsWithTheResult) {
  TestDialog dlg;
  dlg.script = {'A', VK_F2};
  EXPECT_EQ(77, dlg.DoModal());
  EXPECT_EQ((std::vector<std::string>{"edit 65", "dialog 65", "edit 113", "dialog 113"}), dlg.log);
  EXPECT_EQ(nullptr, dlg.m_hWnd) << "the modal run destroys its window";
  EXPECT_EQ(nullptr, dlg.button.m_hWnd) << "controls unbind with their windows";
}

TEST(Dialog, ControlsBoundByIdAndOwnerDrawReflectedToTheButton) {
  TestDialog dlg;
  dlg.script = {VK_F2};
  EXPECT_EQ(77, dlg.DoModal());
  EXPECT_TRUE(dlg.sawPaintedButton) << "WM_DRAWITEM must reach CButton::DrawItem";
}

// The template leaves the dialog hidden; the modal run shows it after the
// initialisation and paints it, its controls too, before it takes any message,
// so that the first frame anybody sees is the whole window.
TEST(Dialog, HiddenDialogIsShownAndPaintedBeforeTheLoopTakesAMessage) {
  TestDialog dlg;
  dlg.script = {VK_F3};
  EXPECT_EQ(78, dlg.DoModal());
  EXPECT_FALSE(dlg.visibleAfterInit);
  EXPECT_TRUE(dlg.paintedAtFirstMessage);
}

TEST(Dialog, EndDialogDuringInitialisationReturnsAtOnce) {
  TestDialog dlg;
  dlg.endInInit = 5;
  EXPECT_EQ(5, dlg.DoModal());
  EXPECT_EQ(0, dlg.button.drawn) << "never shown";
}

TEST(Dialog, EscapeCancelsThroughTheDialogManager) {
  TestDialog dlg;
  dlg.script = {VK_ESCAPE};
  EXPECT_EQ(IDCANCEL, dlg.DoModal());
}

TEST(Dialog, QuitMessageEndsTheModalRunAndStaysQueued) {
  TestDialog dlg;
  PostQuitMessage(3);
  EXPECT_EQ(-1, dlg.DoModal());
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(3u, msg.wParam);
}

TEST(Dialog, MissingTemplateFailsWithMinusOne) {
  CDialog dlg(4242);
  EXPECT_EQ(-1, dlg.DoModal());
}

// A dialog keeps the handles it looked up, but never hands out one that is no
// longer its control of that id.
TEST(Dialog, KeptControlHandlesFollowTheirControls) {
  CDialog dlg(IDD_TEST);
  ASSERT_TRUE(dlg.Create(IDD_TEST));
  HWND edit = dlg.GetDlgItem(IDC_EDIT);
  ASSERT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_EDIT), edit);
  EXPECT_EQ(edit, dlg.GetDlgItem(IDC_EDIT));
  EXPECT_EQ(nullptr, dlg.GetDlgItem(4711));

  ::DestroyWindow(edit);
  EXPECT_EQ(nullptr, dlg.GetDlgItem(IDC_EDIT)) << "the control is gone";
  HWND again = ::CreateWindowExA(0, "Edit", "", WS_CHILD, 0, 0, 20, 10, dlg.m_hWnd,
                                 reinterpret_cast<HMENU>(IDC_EDIT), nullptr, nullptr);
  EXPECT_EQ(again, dlg.GetDlgItem(IDC_EDIT)) << "a new control of that id is found";
  ::SetWindowLongPtrA(again, GWLP_ID, IDC_EDIT + 100);
  EXPECT_EQ(nullptr, dlg.GetDlgItem(IDC_EDIT)) << "its id changed";

  // Made anew, the dialog has new controls of the same ids.
  HWND first = dlg.m_hWnd, drawn = dlg.GetDlgItem(IDC_DRAWN);
  ::DestroyWindow(first);
  ASSERT_TRUE(dlg.Create(IDD_TEST));
  EXPECT_NE(drawn, dlg.GetDlgItem(IDC_DRAWN));
  EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_DRAWN), dlg.GetDlgItem(IDC_DRAWN));
  ::DestroyWindow(dlg.m_hWnd);
}

// A control made later is the one the dialog manager makes from the template: the
// same place, styles, font and place in the order of the controls.
TEST(Dialog, AControlMadeLaterIsTheTemplatesControl) {
  struct Made {
    RECT rect;
    LONG style, exStyle;
    bool dialogsFont;
    char className[32];
    HWND before, after;
  };
  auto read = [](CDialog& dlg) {
    Made m{};
    HWND edit = dlg.GetDlgItem(IDC_EDIT);
    ::GetWindowRect(edit, &m.rect);
    m.style = ::GetWindowLongA(edit, GWL_STYLE);
    m.exStyle = ::GetWindowLongA(edit, GWL_EXSTYLE);
    m.dialogsFont = ::SendMessageA(edit, WM_GETFONT, 0, 0) == ::SendMessageA(dlg.m_hWnd, WM_GETFONT, 0, 0);
    ::GetClassNameA(edit, m.className, sizeof m.className);
    m.before = ::GetWindow(edit, GW_HWNDPREV);
    m.after = ::GetWindow(edit, GW_HWNDNEXT);
    return m;
  };
  CDialog whole(IDD_TEST);
  ASSERT_TRUE(whole.Create(IDD_TEST));
  const Made expected = read(whole);

  CDialog later(IDD_TEST);
  later.MakeControlsLater({IDC_EDIT});
  ASSERT_TRUE(later.Create(IDD_TEST));
  EXPECT_EQ(nullptr, later.GetDlgItem(IDC_EDIT));
  EXPECT_EQ(nullptr, ::GetDlgItem(later.m_hWnd, IDC_EDIT)) << "not made yet";
  ASSERT_TRUE(later.GetDlgItem(IDOK));
  ASSERT_TRUE(later.MakeLaterControls());
  ASSERT_TRUE(later.GetDlgItem(IDC_EDIT));
  Made got = read(later);
  RECT wholeDialog, laterDialog;  // the two dialogs may stand in different places
  ::GetWindowRect(whole.m_hWnd, &wholeDialog);
  ::GetWindowRect(later.m_hWnd, &laterDialog);
  ::OffsetRect(&got.rect, wholeDialog.left - laterDialog.left, wholeDialog.top - laterDialog.top);
  EXPECT_TRUE(::EqualRect(&expected.rect, &got.rect));
  EXPECT_EQ(expected.style, got.style);
  EXPECT_EQ(expected.exStyle, got.exStyle);
  EXPECT_TRUE(expected.dialogsFont);
  EXPECT_TRUE(got.dialogsFont);
  EXPECT_STREQ(expected.className, got.className);
  EXPECT_EQ(later.GetDlgItem(IDC_DRAWN), got.before);
  EXPECT_EQ(later.GetDlgItem(IDOK), got.after);
  EXPECT_TRUE(later.MakeLaterControls()) << "once made, there is nothing left to make";
  ::DestroyWindow(later.m_hWnd);
  ::DestroyWindow(whole.m_hWnd);
}

// --- GDI owners ------------------------------------------------------------

TEST(Gdi, ScopedSelectPutsThePreviousObjectBack) {
  CMemoryDC dc(nullptr);
  CBitmap bitmap;
  ASSERT_TRUE(bitmap.CreateCompatibleBitmap(CClientDC(nullptr), 8, 8));
  CFont font;
  ASSERT_TRUE(font.CreateFont(-12, FW_NORMAL, "Arial"));
  HGDIOBJ originalBitmap = GetCurrentObject(dc, OBJ_BITMAP);
  HGDIOBJ originalFont = GetCurrentObject(dc, OBJ_FONT);
  {
    ScopedSelect b(dc, bitmap);
    ScopedSelect f(dc, font);
    EXPECT_EQ(bitmap.GetSafeHandle(), GetCurrentObject(dc, OBJ_BITMAP));
    EXPECT_EQ(font.GetSafeHandle(), GetCurrentObject(dc, OBJ_FONT));
  }
  EXPECT_EQ(originalBitmap, GetCurrentObject(dc, OBJ_BITMAP));
  EXPECT_EQ(originalFont, GetCurrentObject(dc, OBJ_FONT));
}

TEST(Gdi, OwnersDeleteOnceAndMovesTransferOwnership) {
  HGDIOBJ handle;
  {
    CBitmap a;
    ASSERT_TRUE(a.CreateCompatibleBitmap(CClientDC(nullptr), 4, 4));
    handle = a.GetSafeHandle();
    CBitmap b(std::move(a));
    EXPECT_EQ(nullptr, a.GetSafeHandle());
    EXPECT_EQ(handle, b.GetSafeHandle());
    EXPECT_EQ(4, b.GetSize().cx);
    CBitmap c;
    c = std::move(b);
    EXPECT_EQ(OBJ_BITMAP, static_cast<int>(GetObjectType(handle)));
  }
  EXPECT_EQ(0u, GetObjectType(handle)) << "deleted by its last owner";

  CRgn region;
  ASSERT_TRUE(region.CreateRectRgn(0, 0, 5, 5));
  HGDIOBJ detached = region.Detach();
  EXPECT_EQ(OBJ_REGION, static_cast<int>(GetObjectType(detached))) << "Detach hands it over";
  DeleteObject(detached);
}

TEST(Gdi, ControlsAreDrawnIntoAFrameAsTheSystemPaintsThem) {
  // The first control made is the highest; where two overlap, the lower one ends
  // over it, as on the screen. A hidden control is left out.
  HWND parent = CreateWindowExA(0, PlainClass(), "", WS_POPUP, 0, 0, 60, 30, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_TRUE(parent);
  auto child = [parent](DWORD style, int x) {
    return CreateWindowExA(0, "Static", "", WS_CHILD | style, x, 0, 40, 20, parent, nullptr,
                           nullptr, nullptr);
  };
  ASSERT_TRUE(child(WS_VISIBLE | SS_WHITERECT, 0) && child(WS_VISIBLE | SS_BLACKRECT, 20) &&
              child(SS_GRAYRECT, 0));
  CMemoryDC dc(nullptr);
  CBitmap frame;
  ASSERT_TRUE(frame.CreateCompatibleBitmap(CClientDC(nullptr), 60, 30));
  ScopedSelect select(dc, frame);
  const RECT all{0, 0, 60, 30};
  SetDCBrushColor(dc, RGB(255, 0, 0));
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  PrintChildren(parent, dc);
  const COLORREF higher = GetPixel(dc, 10, 10), lower = GetPixel(dc, 50, 10);
  EXPECT_NE(RGB(255, 0, 0), higher);
  EXPECT_NE(higher, lower);
  EXPECT_EQ(lower, GetPixel(dc, 30, 10)) << "the lower one over the higher, the hidden one not drawn";
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 10, 25)) << "beside the controls, untouched";
  DestroyWindow(parent);
}

TEST(Gdi, ValidatingControlsKeepsTheWindowsOwnUpdate) {
  HWND parent = CreateWindowExA(0, PlainClass(), "", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0,
                                60, 30, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(parent);
  HWND a = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 0, 0, 20, 20, parent, nullptr,
                           nullptr, nullptr);
  HWND b = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE, 30, 0, 20, 20, parent, nullptr,
                           nullptr, nullptr);
  ASSERT_TRUE(a && b);
  UpdateWindow(parent);
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
  ValidateChildren(parent);
  EXPECT_FALSE(GetUpdateRect(a, nullptr, FALSE));
  EXPECT_FALSE(GetUpdateRect(b, nullptr, FALSE));
  RECT update{};
  EXPECT_TRUE(GetUpdateRect(parent, &update, FALSE));
  EXPECT_EQ(0, update.left);
  EXPECT_EQ(60, update.right);
  DestroyWindow(parent);
}

// --- threads ---------------------------------------------------------------

TEST(Threads, WorkerRunsAndCriticalSectionSerialises) {
  struct Shared {
    CCriticalSection cs;
    long counter = 0;
  } shared;
  auto work = [](LPVOID p) -> UINT {
    auto* s = static_cast<Shared*>(p);
    for (int i = 0; i < 10000; ++i) {
      CSingleLock lock(s->cs);
      ++s->counter;
    }
    return 0;
  };
  CWorkerThread a, b;
  ASSERT_TRUE(a.Start(work, &shared));
  ASSERT_TRUE(b.Start(work, &shared));
  EXPECT_TRUE(a.Join(10000));
  EXPECT_TRUE(b.Join(10000));
  EXPECT_EQ(20000, shared.counter);
}

// --- late binding ----------------------------------------------------------

TEST(LateBound, LoadsTheLibraryAtFirstUseAndGivesNullForWhatIsMissing) {
  using Clock = decltype(&::timeGetTime);
  // Nothing in this program imports the multimedia library.
  ASSERT_EQ(nullptr, GetModuleHandleA("winmm.dll"));
  const Clock now = LateBound<Clock>("winmm.dll", "timeGetTime");
  ASSERT_NE(nullptr, now);
  EXPECT_NE(nullptr, GetModuleHandleA("winmm.dll"));
  const DWORD first = now();
  EXPECT_LE(now() - first, 10000u);
  EXPECT_EQ(nullptr, LateBound<Clock>("pio-no-such-library.dll", "timeGetTime"));
  EXPECT_EQ(nullptr, LateBound<Clock>("winmm.dll", "PioNoSuchFunction"));
}

}  // namespace
