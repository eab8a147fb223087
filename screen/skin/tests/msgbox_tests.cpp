// The question boxes in this process, inside the test prefix's virtual desktop:
// the fade window over a shaped parent, the general box answered by click, Enter
// and Escape, and the timed question counting down to its own answer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "fadewnd.h"
#include "gdi_objects.h"
#include "message_pump.h"
#include "generalmsgbox.h"
#include "images.h"
#include "language.h"
#include "timedmsgbox.h"

namespace {

using test_support::LiveGdiObjects;
using test_support::PumpUntil;

void Pump() { test_support::DispatchPending(); }

// A shaped, white top-level window in the main dialog's place.
class Parent {
 public:
  Parent() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = "QuestionTestParent";
    RegisterClassA(&wc);
    hwnd = CreateWindowExA(0, "QuestionTestParent", "Question parent", WS_POPUP | WS_VISIBLE,
                           100, 60, 800, 500, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowRgn(hwnd, CreateRoundRectRgn(0, 0, 801, 501, 60, 60), TRUE);
    SetForegroundWindow(hwnd);
    SetFocus(hwnd);
    PumpUntil([this] { return GetForegroundWindow() == hwnd; }, 2000);
  }
  ~Parent() { DestroyWindow(hwnd); }
  HWND hwnd;
};

// Runs the box; `act` is called once from inside its own modal loop when it is
// up, with its window. A box still open after 10 s is ended with 99.
CGeneralMsgBox* g_box = nullptr;
std::function<void(HWND)> g_act;
bool g_acted = false;
DWORD g_opened = 0;

void CALLBACK ActWhenUp(HWND, UINT, UINT_PTR id, DWORD) {
  HWND box = g_box ? g_box->m_hWnd : nullptr;
  if (!box || !IsWindowVisible(box)) return;
  if (!g_opened) g_opened = GetTickCount();
  if (!g_acted && GetFocus() && IsChild(box, GetFocus())) {
    g_acted = true;
    g_act(box);
  }
  if (GetTickCount() - g_opened > 10000) {
    KillTimer(nullptr, id);
    g_box->EndDialog(99);
  }
}

INT_PTR RunBox(CGeneralMsgBox& box, std::function<void(HWND)> act) {
  g_box = &box;
  g_act = std::move(act);
  g_acted = false;
  g_opened = 0;
  const UINT_PTR timer = SetTimer(nullptr, 0, 15, &ActWhenUp);
  const INT_PTR result = box.DoModal();
  KillTimer(nullptr, timer);
  g_box = nullptr;
  return result;
}

int FocusedId() { return GetDlgCtrlID(GetFocus()); }

std::string TextOf(HWND box, int id) {
  char text[msgbox::kTextSize] = "";
  GetDlgItemTextA(box, id, text, sizeof text);
  return text;
}

void Click(HWND box, int id) { SendMessageA(GetDlgItem(box, id), BM_CLICK, 0, 0); }

void Key(HWND box, UINT key) {
  // Through the queue, as a key press comes: the box's loop sees it first.
  PostMessageA(GetFocus() ? GetFocus() : box, WM_KEYDOWN, key, 1);
}

INT_PTR Ask(HWND parent, const std::function<void(HWND)>& act) {
  CGeneralMsgBox box(parent, nullptr, "Are you sure to exit ?");
  return RunBox(box, act);
}

class Question : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { g_gdiplus.Start(); }
  static void TearDownTestSuite() { g_gdiplus.Stop(); }
  static GdiplusRuntime g_gdiplus;
  Parent parent;
};
GdiplusRuntime Question::g_gdiplus;

TEST_F(Question, OpensSkinnedAndShapedWithNoInFrontAndAnswersByClickEnterAndEscape) {
  INT_PTR result = Ask(parent.hwnd, [](HWND box) {
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(400, r.right - r.left);
    EXPECT_EQ(270, r.bottom - r.top);
    HRGN shape = CreateRectRgn(0, 0, 0, 0);
    EXPECT_NE(ERROR, GetWindowRgn(box, shape));
    EXPECT_FALSE(PtInRegion(shape, 0, 0)) << "rounded corners are cut";
    EXPECT_TRUE(PtInRegion(shape, 200, 135));
    DeleteObject(shape);
    EXPECT_EQ("Yes", TextOf(box, 1056));
    EXPECT_EQ("No", TextOf(box, 1057));
    EXPECT_EQ("Are you sure to exit ?", TextOf(box, 1016));
    EXPECT_EQ(1057, FocusedId()) << "\"No\" has the focus when the box opens";
    Click(box, 1056);
  });
  EXPECT_EQ(IDOK, result) << "a click on \"Yes\"";
  EXPECT_EQ(IDCANCEL, Ask(parent.hwnd, [](HWND box) { Key(box, VK_RETURN); })) << "Enter on \"No\"";
  EXPECT_EQ(IDCANCEL, Ask(parent.hwnd, [](HWND box) { Key(box, VK_ESCAPE); }));
}

TEST_F(Question, LeftAndRightMoveTheFocusUpAndDownAreSwallowed) {
  std::vector<int> focus;
  const INT_PTR result = Ask(parent.hwnd, [&focus](HWND box) {
    for (UINT key : {VK_UP, VK_DOWN, VK_NUMPAD8, VK_LEFT, VK_DOWN, VK_RIGHT, VK_NUMPAD4, VK_RETURN}) {
      SendMessageA(box, WM_KEYDOWN, key, 1);
      focus.push_back(FocusedId());
    }
  });
  const std::vector<int> expected{1057, 1057, 1057, 1056, 1056, 1057, 1056, 1056};
  EXPECT_EQ(expected, focus);
  EXPECT_EQ(IDOK, result) << "Enter on \"Yes\", reached with the keypad's 4";
}

TEST_F(Question, SetTextCutsToTheCallersBufferAndShowsIt) {
  struct Guarded {
    char text[msgbox::kTextSize];
    char guard[16];
  } buffer;
  std::memset(buffer.guard, 'G', sizeof buffer.guard);
  std::strcpy(buffer.text, "First");
  CGeneralMsgBox box(parent.hwnd, nullptr, buffer.text, sizeof buffer.text);
  const std::string longText(400, 'x');
  RunBox(box, [&](HWND hwnd) {
    box.SetText("Second line\nwith a break");
    EXPECT_EQ("Second line\nwith a break", TextOf(hwnd, 1016));
    box.SetText(longText.c_str());
    EXPECT_EQ(msgbox::kTextSize - 1, std::strlen(buffer.text));
    Key(hwnd, VK_ESCAPE);
  });
  EXPECT_EQ(0, std::memcmp(buffer.guard, "GGGGGGGGGGGGGGGG", 16)) << "nothing written past the buffer";
}

TEST_F(Question, ArabicReadsNoThenYesAndEachButtonKeepsItsMeaning) {
  char exe[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, exe, MAX_PATH);
  *std::strrchr(exe, '\\') = '\0';
  const std::string arabic = std::string(exe) + "\\arabic";
  if (GetFileAttributesA((arabic + "\\DiZovadAzir.dll").c_str()) == INVALID_FILE_ATTRIBUTES)
    GTEST_SKIP() << "the language library is not built";
  ASSERT_EQ(0, LoadLanguageLibraryFrom(arabic.c_str()));
  ASSERT_STREQ("Arabic", CurrentLanguageName());
  std::string left, right;
  int focused = 0;
  const INT_PTR result = Ask(parent.hwnd, [&](HWND box) {
    left = TextOf(box, 1056);
    right = TextOf(box, 1057);
    focused = FocusedId();
    Click(box, 1057);
  });
  const std::string no = TranslateText("No"), yes = TranslateText("Yes");
  EXPECT_NE("No", no) << "Arabic has its own words";
  EXPECT_EQ(no, left);
  EXPECT_EQ(yes, right);
  EXPECT_EQ(1056, focused) << "\"No\" has the focus, on the left";
  EXPECT_EQ(IDOK, result) << "the right button is \"Yes\"";
  EXPECT_EQ(IDCANCEL, Ask(parent.hwnd, [](HWND box) { Click(box, 1056); }));
  UnloadLanguageLibrary();
}

// --- the fade ------------------------------------------------------------------------

COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  const COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

TEST_F(Question, TheFadeCoversTheParentInItsShapeDarkensItAndGivesItBack) {
  {
    CFadeWnd fade(parent.hwnd);
    ASSERT_TRUE(IsWindow(fade.m_hWnd));
    EXPECT_FALSE(IsWindowEnabled(parent.hwnd)) << "the parent waits disabled";
    RECT a, b;
    GetWindowRect(fade.m_hWnd, &a);
    GetWindowRect(parent.hwnd, &b);
    EXPECT_TRUE(EqualRect(&a, &b));
    HRGN fadeShape = CreateRectRgn(0, 0, 0, 0), parentShape = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(ERROR, GetWindowRgn(fade.m_hWnd, fadeShape));
    GetWindowRgn(parent.hwnd, parentShape);
    EXPECT_TRUE(EqualRgn(fadeShape, parentShape));
    DeleteObject(fadeShape);
    DeleteObject(parentShape);

    PostMessageA(fade.m_hWnd, WM_FADE_START, 1000, 0);
    ASSERT_TRUE(PumpUntil([&] { return fade.FadeDone(); }, 5000));
    const int step = fade.StepPercent();
    ASSERT_GE(step, 3);
    // The last level shown is the last one below 100; white faded to it.
    const int last = (99 / step) * step;
    std::uint32_t white = 0xFFFFFF, expected = 0;
    fade::FadePixels(&white, &expected, 1, last,
                     fade::MakeToneTable(fade::kTargetColour, fade::kStartColour));
    const COLORREF wanted = RGB((expected >> 16) & 0xFF, (expected >> 8) & 0xFF, expected & 0xFF);
    EXPECT_TRUE(PumpUntil([&] { return ScreenPixel(500, 300) == wanted; }, 2000))
        << std::hex << ScreenPixel(500, 300) << " instead of " << wanted;
  }
  EXPECT_TRUE(IsWindowEnabled(parent.hwnd));
  EXPECT_EQ(parent.hwnd, GetFocus()) << "the parent has the focus back";
}

// A fade deleted at any moment of its steps gives the parent back; a hundred of
// those and a hundred questions over their fades leave no GDI object behind.
TEST_F(Question, FadesDeletedAtAnyMomentAndQuestionsOverThemLeakNothing) {
  auto askOnce = [this] {
    CFadeWnd fade(parent.hwnd);
    CGeneralMsgBox box(parent.hwnd, &fade, "Are you sure to exit ?");
    fade.SetMessageBox(&box);
    return RunBox(box, [](HWND hwnd) { Click(hwnd, 1057); });
  };
  ASSERT_EQ(IDCANCEL, askOnce());
  const int before = LiveGdiObjects();
  std::srand(20261207);
  for (int i = 0; i < 100; ++i) {
    auto* fade = new CFadeWnd(parent.hwnd);
    HWND window = fade->m_hWnd;
    PostMessageA(window, WM_FADE_START, 1000, 0);
    const DWORD wait = static_cast<DWORD>(std::rand() % 340), start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - start >= wait; }, wait + 1000);
    delete fade;
    ASSERT_TRUE(IsWindowEnabled(parent.hwnd)) << "after " << wait << " ms";
    ASSERT_FALSE(IsWindow(window));
    ASSERT_EQ(IDCANCEL, askOnce());
  }
  Pump();
  const int after = LiveGdiObjects();
  EXPECT_EQ(before, after);
  std::printf("GDI objects around 100 fades and questions: %d before, %d after\n", before, after);
}

// --- the timed question ------------------------------------------------------------

// What the timed box showed, and when, read from inside its loop.
struct Seen {
  DWORD at;
  std::string text;
};
std::vector<Seen> g_seen;
DWORD g_start = 0;
std::function<void(HWND, const std::vector<Seen>&)> g_watch;

void CALLBACK Watch(HWND, UINT, UINT_PTR, DWORD) {
  HWND box = FindWindowA(nullptr, "Accept the setting ?");
  if (!box || !IsWindowVisible(box)) return;
  char text[msgbox::kTextSize] = "";
  GetDlgItemTextA(box, 1016, text, sizeof text);
  if (g_seen.empty() || g_seen.back().text != text) g_seen.push_back({GetTickCount() - g_start, text});
  if (g_watch) g_watch(box, g_seen);
}

std::string Countdown(int seconds) {
  return "You have choosed resolution : 1280 * 720. \nPress button within " +
         std::to_string(seconds) + " sec.";
}

class TimedQuestion : public Question {
 protected:
  void SetUp() override {
    g_seen.clear();
    g_watch = nullptr;
    g_start = GetTickCount();
    timer_ = SetTimer(nullptr, 0, 10, &Watch);
  }
  void TearDown() override { KillTimer(nullptr, timer_); }
  UINT_PTR timer_ = 0;
};

// The countdown of a question of 3999 ms, the fixed 15999 ms question's in small
// (the whole 16 seconds are timed end to end in the program).
TEST_F(TimedQuestion, NobodyAnswersTheCountGoesDownToOneAndTheBoxPressesItselfOnTime) {
  CDlgTimedMessageBox question(parent.hwnd, "You have choosed resolution : 1280 * 720. \n",
                               "Accept the setting ?", "Press button within %lu sec.", 3999);
  const int result = question.Run();
  const DWORD closed = GetTickCount() - g_start;
  EXPECT_EQ(IDOK, result) << "the time-out presses the default answer";
  EXPECT_TRUE(question.TimedOut());
  ASSERT_EQ(4u, g_seen.size());
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Countdown(4 - i), g_seen[i].text);
    // Never early. How late a number may come is not checked here: a loaded
    // machine delays it; the countdown's own tests pin each second's number.
    if (i > 0) {
      EXPECT_GE(g_seen[i].at - g_seen[0].at + 150, 1000u * i) << i;
    }
  }
  EXPECT_GE(closed - g_seen[0].at + 150, 3999u);
  EXPECT_TRUE(IsWindowEnabled(parent.hwnd));
}

TEST_F(TimedQuestion, TheProgramsQuestionStartsAtSixteenAndACancelBeforeTheTimeOutIsAnAnswer) {
  g_watch = [](HWND box, const std::vector<Seen>& seen) {
    if (seen.size() == 2) Click(box, 1057);
  };
  int answered = -1;
  const int result = ShowTimedMessageBox("You have choosed resolution : 1280 * 720. \n",
                                         "Accept the setting ?", &answered, parent.hwnd);
  EXPECT_EQ(IDCANCEL, result);
  EXPECT_EQ(1, answered);
  ASSERT_EQ(2u, g_seen.size());
  EXPECT_EQ(Countdown(16), g_seen[0].text);
  EXPECT_EQ(Countdown(15), g_seen[1].text);
}

TEST_F(TimedQuestion, ATranslationWithOddPlaceholdersFallsBackToTheEnglishLine) {
  g_watch = [](HWND box, const std::vector<Seen>&) { PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 1); };
  CDlgTimedMessageBox question(parent.hwnd, "Q? ", "Accept the setting ?", "%s in %lu %n", 3999);
  EXPECT_EQ(IDCANCEL, question.Run());
  EXPECT_FALSE(question.TimedOut());
  ASSERT_FALSE(g_seen.empty());
  EXPECT_EQ("Q? Press button within 4 sec.", g_seen[0].text);
}

}  // namespace
