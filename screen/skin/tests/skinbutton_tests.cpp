// The skinned button under Wine: template buttons of a real dialog bound to
// CxSkinButton objects, driven by real and sent mouse and keyboard messages.
// Each skin image is one solid colour, written by the test, so that the look of
// a state is read from one pixel of the button printed into a memory DC.
#include <gtest/gtest.h>

#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bmp_file.h"
#include "dialog.h"
#include "files.h"
#include "gdi_objects.h"
#include "message_pump.h"
#include "images.h"
#include "skinbutton.h"
#include "skinbutton_test_ids.h"

namespace gp = Gdiplus::DllExports;

namespace {

using test_bmp::Bytes;

constexpr COLORREF kNormal = RGB(200, 0, 0);
constexpr COLORREF kDown = RGB(0, 200, 0);
constexpr COLORREF kOver = RGB(0, 0, 200);
constexpr COLORREF kUnavailable = RGB(200, 200, 0);
constexpr COLORREF kPictureOpaque = RGB(0, 128, 255);
constexpr COLORREF kBeneath = RGB(1, 2, 3);  // what the memory DC holds before drawing
constexpr int kWidth = 40, kHeight = 20;

GdiplusRuntime g_gdiplus;

std::string Folder() {
  static std::string folder;
  if (folder.empty()) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder = std::string(temp) + "pio_skinbutton_" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
  }
  return folder;
}

// A solid 24-bit BMP file.
void WriteBmpAt(const std::string& path, COLORREF colour, int w = kWidth, int h = kHeight) {
  const Bytes b = test_bmp::Bmp24(w, h, [colour](int, int) { return colour; });
  ASSERT_TRUE(test_support::WriteWholeFile(path, std::string(b.begin(), b.end()))) << path;
}
void WriteBmp(const std::string& name, COLORREF colour) { WriteBmpAt(Folder() + name, colour); }

// A PNG of w x h whose left half is fully transparent and right half opaque.
void WriteHalfTransparentPng(const std::string& name, int w, int h) {
  UINT count = 0, size = 0;
  gp::GdipGetImageEncodersSize(&count, &size);
  std::vector<unsigned char> buffer(size);
  auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
  gp::GdipGetImageEncoders(count, size, codecs);
  const CLSID* png = nullptr;
  for (UINT i = 0; i < count; ++i)
    if (wcscmp(codecs[i].MimeType, L"image/png") == 0) png = &codecs[i].Clsid;
  ASSERT_TRUE(png);
  Gdiplus::GpBitmap* bitmap = nullptr;
  gp::GdipCreateBitmapFromScan0(w, h, 0, PixelFormat32bppARGB, nullptr, &bitmap);
  const Gdiplus::ARGB opaque = 0xFF000000u | (GetRValue(kPictureOpaque) << 16) |
                               (GetGValue(kPictureOpaque) << 8) | GetBValue(kPictureOpaque);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) gp::GdipBitmapSetPixel(bitmap, x, y, x < w / 2 ? 0u : opaque);
  const std::string path = Folder() + name;
  const std::wstring wide(path.begin(), path.end());
  ASSERT_EQ(Gdiplus::Ok, gp::GdipSaveImageToFile(bitmap, wide.c_str(), png, nullptr));
  gp::GdipDisposeImage(bitmap);
}

class SkinFiles : public ::testing::Environment {
 public:
  void SetUp() override {
    ASSERT_TRUE(g_gdiplus.Start());
    WriteBmp("n.bmp", kNormal);
    WriteBmp("d.bmp", kDown);
    WriteBmp("o.bmp", kOver);
    WriteBmp("un.bmp", kUnavailable);
    WriteHalfTransparentPng("shadow.png", kWidth / 2, kHeight / 2);
  }
  void TearDown() override {
    for (const char* name : {"n.bmp", "d.bmp", "o.bmp", "un.bmp", "shadow.png"})
      DeleteFileA((Folder() + name).c_str());
    RemoveDirectoryA(Folder().c_str());
    g_gdiplus.Stop();
  }
};
const auto* const g_files = ::testing::AddGlobalTestEnvironment(new SkinFiles);

// Serves this thread's messages for a while: a button's own posted messages (the
// radio group's unchecks) and the system's pointer news are handled then.
void Pump() { test_support::DispatchPending(); }

template <class Condition>
bool WaitFor(Condition condition, DWORD ms = 3000) {
  return test_support::PumpUntil(condition, ms);
}

class RecordingOwner : public SkinButtonOwner {
 public:
  HWND window = nullptr;
  std::vector<std::string> calls;
  std::vector<std::tuple<int, CxSkinButton*, bool>> drags;

  HWND OwnerWindow() const override { return window; }
  void SetPreviewKind(int kind) override { calls.push_back("kind " + std::to_string(kind)); }
  void SetHoveredSizeButton(int id) override { calls.push_back("hovered " + std::to_string(id)); }
  void SelectDpiPreset(int preset) override { calls.push_back("preset " + std::to_string(preset)); }
  int DragSliderThumb(int previousX, CxSkinButton* thumb, bool released) override {
    drags.emplace_back(previousX, thumb, released);
    return 0;
  }
};

struct Row {
  int id;
  POINT place;  // client pixels of the dialog
  const char *normal, *down, *over, *unavailable;
  SkinRole role;  // Unset: LoadSkinImages is not called
  bool owned;
};
const Row kRows[] = {
    {IDC_SLOT1, {10, 10}, "n.bmp", "d.bmp", "o.bmp", "", SkinRole::Captioned, true},
    {IDC_SLOT2, {60, 10}, "n.bmp", "d.bmp", "o.bmp", "", SkinRole::Captioned, false},
    {IDC_RED_KEY, {110, 10}, "n.bmp", "d.bmp", "o.bmp", "un.bmp", SkinRole::Plain, true},
    {IDC_BARE_KEY, {160, 10}, "n.bmp", "missing.bmp", "", "", SkinRole::Plain, true},
    {IDC_UNSKINNED, {210, 10}, "", "", "", "", SkinRole::Unset, true},
    {IDC_PICTURE, {260, 10}, "shadow.png", "", "", "", SkinRole::Picture, true},
    {IDC_RESOLUTION_THUMB, {310, 10}, "n.bmp", "d.bmp", "o.bmp", "", SkinRole::SliderThumb, true},
    {IDC_PRESET_SMALL, {360, 10}, "n.bmp", "d.bmp", "o.bmp", "", SkinRole::Preset, true},
    {IDC_PRESET_MEDIUM, {410, 10}, "n.bmp", "d.bmp", "o.bmp", "", SkinRole::Preset, true},
    {IDC_RADIO1, {10, 60}, "n.bmp", "d.bmp", "o.bmp", "un.bmp", SkinRole::Plain, true},
    {IDC_RADIO2, {60, 60}, "n.bmp", "d.bmp", "o.bmp", "un.bmp", SkinRole::Plain, true},
    {IDC_RADIO3, {110, 60}, "n.bmp", "d.bmp", "o.bmp", "un.bmp", SkinRole::Plain, true},
    {IDC_CHECK, {160, 60}, "n.bmp", "d.bmp", "o.bmp", "un.bmp", SkinRole::Plain, true},
    {IDC_MANUAL_RADIO, {210, 60}, "n.bmp", "d.bmp", "o.bmp", "un.bmp", SkinRole::Plain, true},
};
const POINT kEmptySpot{500, 250};

class TestDialog : public CDialog {
 public:
  explicit TestDialog(RecordingOwner* owner) : CDialog(IDD_SKINBUTTON_TEST) {
    for (const Row& row : kRows)
      buttons[row.id] = std::make_unique<CxSkinButton>(row.owned ? owner : nullptr);
  }
  std::map<int, std::unique_ptr<CxSkinButton>> buttons;
  std::vector<int> clicks;

 protected:
  void DoDataExchange(CDataExchange* dx) override {
    for (auto& [id, button] : buttons) DDX_Control(dx, id, *button);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    SetWindowPos(m_hWnd, HWND_TOP, 100, 100, 600, 300, 0);
    for (const Row& row : kRows) {
      CxSkinButton& b = *buttons[row.id];
      MoveWindow(b, row.place.x, row.place.y, kWidth, kHeight, FALSE);
      if (row.role != SkinRole::Unset)
        b.LoadSkinImages(row.normal, row.down, row.over, row.unavailable, Folder().c_str(), row.role);
    }
    return TRUE;
  }
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    if (HIWORD(wParam) == BN_CLICKED) clicks.push_back(LOWORD(wParam));
    return TRUE;
  }
};

// A button printed into a 32-bit memory DC that first holds kBeneath.
class Print {
 public:
  explicit Print(HWND button) {
    RECT r;
    GetClientRect(button, &r);
    w_ = r.right;
    h_ = r.bottom;
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), w_, -h_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    HBRUSH beneath = CreateSolidBrush(kBeneath);
    FillRect(dc, &r, beneath);
    DeleteObject(beneath);
    SendMessageA(button, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    GdiFlush();
    const auto* p = static_cast<const DWORD*>(bits);
    pixels_.assign(p, p + w_ * h_);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(dib);
  }
  COLORREF At(int x, int y) const {
    const DWORD v = pixels_[y * w_ + x];
    return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
  }
  COLORREF Look() const { return At(1, 1); }  // a corner, away from the caption
  // Bounding box of the pixels of one colour; empty when there are none.
  RECT BoxOf(COLORREF colour) const {
    RECT box{w_, h_, 0, 0};
    for (int y = 0; y < h_; ++y)
      for (int x = 0; x < w_; ++x)
        if (At(x, y) == colour) box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                                       std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
    return box;
  }

 private:
  int w_ = 0, h_ = 0;
  std::vector<DWORD> pixels_;
};

std::string Hex(COLORREF c) {
  char text[16];
  std::snprintf(text, sizeof text, "%06lX", static_cast<unsigned long>(c));
  return text;
}
#define EXPECT_LOOK(expected, id) EXPECT_EQ(Hex(expected), Hex(Print(Button(id)).Look()))

class SkinButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = std::make_unique<TestDialog>(&owner_);
    ASSERT_TRUE(dialog_->Create(IDD_SKINBUTTON_TEST));
    owner_.window = *dialog_;
    SetForegroundWindow(*dialog_);
    // The pointer off every button first, and no button hovered: the pointer news
    // of an earlier case may come late, and a hovered button takes the focus.
    Park();
    ASSERT_TRUE(test_support::PumpUntil([this] {
      for (auto& entry : dialog_->buttons)
        if (entry.second->IsHovering()) return false;
      return true;
    }));
    SetFocus(Button(IDC_UNSKINNED));  // a button whose look no test reads
    // The dialog active and in front before anything is looked at: the system's
    // news of an earlier case's window going may come late and take the focus.
    ASSERT_TRUE(test_support::PumpUntil([this] {
      return GetForegroundWindow() == *dialog_ && GetActiveWindow() == *dialog_ &&
             GetFocus() == static_cast<HWND>(Button(IDC_UNSKINNED));
    }));
    owner_.calls.clear();
  }
  void TearDown() override {
    if (GetCapture()) ReleaseCapture();
    if (dialog_->m_hWnd) Park();  // the next case's buttons come where these were
    if (dialog_->m_hWnd) DestroyWindow(*dialog_);
    dialog_.reset();
    Pump();
  }

  CxSkinButton& Button(int id) { return *dialog_->buttons.at(id); }
  std::vector<int>& Clicks() { return dialog_->clicks; }

  POINT ScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
  }
  // Moves the real cursor and waits until it stays there. Inside Wine's virtual
  // desktop the pointer events of earlier moves can arrive late and put the
  // cursor back for a moment; the move is repeated until it holds.
  void MoveCursor(POINT target) {
    SetCursorPos(target.x, target.y);
    const DWORD end = GetTickCount() + 3000;
    int stable = 0;
    while (stable < 8 && static_cast<LONG>(GetTickCount() - end) < 0) {
      test_support::PumpFor(30);
      POINT now;
      GetCursorPos(&now);
      if (now.x == target.x && now.y == target.y) {
        ++stable;
      } else {
        stable = 0;
        SetCursorPos(target.x, target.y);
      }
    }
    if (stable < 8) ADD_FAILURE() << "the pointer never stayed at " << target.x << "," << target.y;
  }
  // The cursor over a button (its middle by default), with the moves it makes.
  void PointAt(int id, POINT client = {kWidth / 2, kHeight / 2}) {
    MoveCursor(ScreenPoint(Button(id), client));
  }
  void Park() { MoveCursor(ScreenPoint(*dialog_, kEmptySpot)); }
  // The owner's calls, each once, in order of first appearance: a late pointer
  // event may repeat a hover.
  std::vector<std::string> DistinctCalls() const {
    std::vector<std::string> distinct;
    for (const std::string& call : owner_.calls)
      if (std::find(distinct.begin(), distinct.end(), call) == distinct.end()) distinct.push_back(call);
    return distinct;
  }
  LRESULT Send(int id, UINT message, WPARAM keys, POINT client) {
    return SendMessageA(Button(id), message, keys, MAKELPARAM(client.x, client.y));
  }
  void Press(int id) { Send(id, WM_LBUTTONDOWN, MK_LBUTTON, {5, 5}); }
  void Release(int id, POINT client = {5, 5}) { Send(id, WM_LBUTTONUP, 0, client); }

  RecordingOwner owner_;
  std::unique_ptr<TestDialog> dialog_;
};

// --- binding and skin ----------------------------------------------------------

TEST_F(SkinButtonTest, BindingMakesEveryButtonOwnerDrawnAndKeepsItsKind) {
  for (const Row& row : kRows) {
    const LONG style = GetWindowLongA(Button(row.id), GWL_STYLE);
    EXPECT_EQ(BS_OWNERDRAW, style & BS_TYPEMASK) << row.id;
    EXPECT_TRUE(style & WS_VISIBLE) << row.id;
  }
  EXPECT_TRUE(GetWindowLongA(Button(IDC_RADIO1), GWL_STYLE) & WS_GROUP) << "other bits are kept";
  EXPECT_EQ(ButtonKind::Push, Button(IDC_RED_KEY).GetKind());
  EXPECT_EQ(ButtonKind::Radio, Button(IDC_RADIO2).GetKind());
  EXPECT_EQ(ButtonKind::CheckBox, Button(IDC_CHECK).GetKind());
  EXPECT_EQ(ButtonKind::Push, Button(IDC_MANUAL_RADIO).GetKind());
  EXPECT_EQ(SkinRole::Unset, Button(IDC_UNSKINNED).GetRole());
}

TEST_F(SkinButtonTest, StatesShowTheirImagesOrTheButtonFace) {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  EXPECT_LOOK(kNormal, IDC_RED_KEY);
  EXPECT_LOOK(face, IDC_UNSKINNED) << "no skin: button face";

  SendMessageA(Button(IDC_RED_KEY), BM_SETSTATE, TRUE, 0);
  SendMessageA(Button(IDC_BARE_KEY), BM_SETSTATE, TRUE, 0);
  EXPECT_LOOK(kDown, IDC_RED_KEY);
  EXPECT_LOOK(face, IDC_BARE_KEY) << "missing down image";
  SendMessageA(Button(IDC_RED_KEY), BM_SETSTATE, FALSE, 0);
  SendMessageA(Button(IDC_BARE_KEY), BM_SETSTATE, FALSE, 0);

  EnableWindow(Button(IDC_RED_KEY), FALSE);
  EnableWindow(Button(IDC_SLOT1), FALSE);
  EXPECT_LOOK(kUnavailable, IDC_RED_KEY);
  EXPECT_LOOK(kNormal, IDC_SLOT1) << "no unavailable image: the normal one";

  // Focused (keyboard): the focus copy of the over image; a missing one keeps normal.
  EnableWindow(Button(IDC_RED_KEY), TRUE);
  SetFocus(Button(IDC_RED_KEY));
  EXPECT_LOOK(kOver, IDC_RED_KEY);
  SetFocus(Button(IDC_BARE_KEY));
  EXPECT_LOOK(kNormal, IDC_BARE_KEY);
}

TEST_F(SkinButtonTest, CaptionedButtonsGetAWhiteCaptionInTheirOwnFont) {
  CxSkinButton& slot = Button(IDC_SLOT1);
  EXPECT_EQ(RGB(255, 255, 255), slot.GetTextColour());
  ASSERT_TRUE(slot.GetCaptionFont());
  LOGFONTA lf{};
  GetObjectA(slot.GetCaptionFont(), sizeof lf, &lf);
  EXPECT_EQ(-21, lf.lfHeight) << "English, without the language library";
  EXPECT_EQ(400, lf.lfWeight);
  EXPECT_STREQ("Arial Black", lf.lfFaceName);
  EXPECT_FALSE(Button(IDC_RED_KEY).GetCaptionFont()) << "plain keys draw images only";

  SetWindowTextA(slot, "MMMM");
  const RECT idle = Print(slot).BoxOf(RGB(255, 255, 255));
  ASSERT_LT(idle.left, idle.right) << "caption drawn in white";
  EXPECT_LT(std::abs((idle.left + idle.right) - kWidth), 3) << "centred";
  SendMessageA(slot, BM_SETSTATE, TRUE, 0);
  const RECT pushed = Print(slot).BoxOf(RGB(255, 255, 255));
  EXPECT_EQ(idle.left + 1, pushed.left) << "pushed caption moves right and down by one";
  EXPECT_EQ(idle.top + 1, pushed.top);
}

TEST_F(SkinButtonTest, PictureBlendsItsWholeImageOverWhatLiesBeneath) {
  const Print picture(Button(IDC_PICTURE));
  // The 20 x 10 image is fitted to the 40 x 20 button: the transparent half keeps
  // what was beneath, the opaque half covers it.
  EXPECT_EQ(Hex(kBeneath), Hex(picture.At(2, 2)));
  EXPECT_EQ(Hex(kBeneath), Hex(picture.At(kWidth / 2 - 3, kHeight - 2)));
  EXPECT_EQ(Hex(kPictureOpaque), Hex(picture.At(kWidth / 2 + 3, 2)));
  EXPECT_EQ(Hex(kPictureOpaque), Hex(picture.At(kWidth - 2, kHeight - 2)));
}

TEST_F(SkinButtonTest, ReloadingAndDestroyingLeaveNoGdiObjects) {
  auto count = [] { return test_support::LiveGdiObjects(); };
  const int before = count();
  for (int round = 0; round < 5; ++round) {
    HWND hwnd = CreateWindowExA(0, "Button", " ", WS_CHILD | WS_VISIBLE, 0, 100, kWidth, kHeight,
                                *dialog_, reinterpret_cast<HMENU>(2000), GetModuleHandleA(nullptr), nullptr);
    auto* button = new CxSkinButton(nullptr);
    ASSERT_TRUE(button->SubclassWindow(hwnd));
    for (SkinRole role : {SkinRole::Captioned, SkinRole::Picture, SkinRole::Preset})
      button->LoadSkinImages("n.bmp", "d.bmp", "o.bmp", "un.bmp", Folder().c_str(), role);
    delete button;
    DestroyWindow(hwnd);
  }
  EXPECT_LT(count() - before, 5) << "each round holds 5 images and a font";
}

TEST_F(SkinButtonTest, BadNamesAndFoldersLoadNothing) {
  CxSkinButton& b = Button(IDC_RED_KEY);
  const std::string longFolder = Folder() + std::string(300, 'x') + "\\";
  b.LoadSkinImages("n.bmp", "d.bmp", "o.bmp", "un.bmp", longFolder.c_str(), SkinRole::Plain);
  EXPECT_LOOK(GetSysColor(COLOR_BTNFACE), IDC_RED_KEY);
  // A path that fits only when cut short must not load the file the cut names.
  std::string deep = Folder() + std::string(240 - Folder().size() - 1, 'y');
  ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  deep += "\\";
  const std::string cutName = std::string(MAX_PATH - 1 - deep.size() - 4, 'n') + ".bmp";
  WriteBmpAt(deep + cutName, kNormal);
  b.LoadSkinImages(cutName.c_str(), nullptr, nullptr, nullptr, deep.c_str(), SkinRole::Plain);
  EXPECT_LOOK(kNormal, IDC_RED_KEY) << "the file itself loads";
  b.LoadSkinImages((cutName + "x").c_str(), nullptr, nullptr, nullptr, deep.c_str(), SkinRole::Plain);
  EXPECT_LOOK(GetSysColor(COLOR_BTNFACE), IDC_RED_KEY);
  DeleteFileA((deep + cutName).c_str());
  RemoveDirectoryA(deep.c_str());
  b.LoadSkinImages("", "", "", "", nullptr, SkinRole::Plain);
  EXPECT_LOOK(GetSysColor(COLOR_BTNFACE), IDC_RED_KEY);
  b.LoadSkinImages("n.bmp", "d.bmp", "o.bmp", "un.bmp", Folder().c_str(), SkinRole::Plain);
  EXPECT_LOOK(kNormal, IDC_RED_KEY);
}

// --- mouse -------------------------------------------------------------------------

TEST_F(SkinButtonTest, DraggingOffAndOnAPressedButtonFollowsThePointer) {
  const int id = IDC_RED_KEY;
  PointAt(id);
  EXPECT_LOOK(kOver, id) << "hovered key";
  Press(id);
  EXPECT_TRUE(Button(id).IsPressed());
  EXPECT_FALSE(Button(id).IsHovering()) << "a press ends hover tracking";
  EXPECT_EQ(static_cast<HWND>(Button(id)), GetCapture());
  EXPECT_LOOK(kDown, id);

  const POINT off{kWidth / 2, kHeight + 15};  // empty dialog surface below
  PointAt(id, off);
  Send(id, WM_MOUSEMOVE, MK_LBUTTON, off);
  EXPECT_LOOK(kOver, id) << "off the button: not pushed (focused look)";
  EXPECT_FALSE(SendMessageA(Button(id), BM_GETSTATE, 0, 0) & BST_PUSHED);
  PointAt(id);
  Send(id, WM_MOUSEMOVE, MK_LBUTTON, {5, 5});
  EXPECT_LOOK(kDown, id) << "back on it: pushed again";

  PointAt(id, off);
  Send(id, WM_MOUSEMOVE, MK_LBUTTON, off);
  Release(id, off);
  Pump();
  EXPECT_TRUE(Clicks().empty()) << "released off the button: no click";
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_FALSE(Button(id).IsPressed());

  PointAt(id);
  Press(id);
  Release(id);
  EXPECT_EQ(std::vector<int>{id}, Clicks());
}

TEST_F(SkinButtonTest, PaintingCorrectsThePushedLookWhenThePointerLeftUnseen) {
  const int id = IDC_RED_KEY;
  const POINT home = kRows[2].place;
  PointAt(id);
  Press(id);
  // The button moves from under the cursor without a mouse move reaching it; the
  // next paint puts the pushed state right (which repaints) instead of drawing
  // the stale look.
  MoveWindow(Button(id), home.x, home.y + 100, kWidth, kHeight, FALSE);
  EXPECT_EQ(Hex(kBeneath), Hex(Print(Button(id)).Look())) << "this paint only corrects";
  EXPECT_FALSE(SendMessageA(Button(id), BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_LOOK(kOver, id) << "not pushed: the focused look";
  MoveWindow(Button(id), home.x, home.y, kWidth, kHeight, FALSE);
  EXPECT_EQ(Hex(kBeneath), Hex(Print(Button(id)).Look()));
  EXPECT_TRUE(SendMessageA(Button(id), BM_GETSTATE, 0, 0) & BST_PUSHED);
  EXPECT_LOOK(kDown, id);
  Release(id);
  EXPECT_EQ(std::vector<int>{id}, Clicks());
}

TEST_F(SkinButtonTest, DoubleClickCountsAsASecondPress) {
  const int id = IDC_RED_KEY;
  PointAt(id);
  Press(id);
  Release(id);
  Send(id, WM_LBUTTONDBLCLK, MK_LBUTTON, {5, 5});
  EXPECT_TRUE(Button(id).IsPressed());
  EXPECT_LOOK(kDown, id);
  Release(id);
  EXPECT_EQ((std::vector<int>{id, id}), Clicks());

  // The same from real input: the system turns the second press into a double click.
  Clicks().clear();
  INPUT input[4]{};
  const DWORD flags[4] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                          MOUSEEVENTF_LEFTUP};
  for (int i = 0; i < 4; ++i) {
    input[i].type = INPUT_MOUSE;
    input[i].mi.dwFlags = flags[i];
  }
  ASSERT_EQ(4u, SendInput(4, input, sizeof(INPUT)));
  EXPECT_TRUE(WaitFor([&] { return Clicks().size() >= 2; }, 2000));
  Pump();  // four events, two clicks: nothing else can come of them
  EXPECT_EQ((std::vector<int>{id, id}), Clicks());
}

TEST_F(SkinButtonTest, PictureIgnoresTheMouseAndPassesNothingOn) {
  const int id = IDC_PICTURE;
  HWND focus = GetFocus();
  PointAt(id);
  Send(id, WM_MOUSEMOVE, 0, {5, 5});
  Press(id);
  EXPECT_EQ(nullptr, GetCapture());
  Release(id);
  Send(id, WM_LBUTTONDBLCLK, MK_LBUTTON, {5, 5});
  Release(id);
  Pump();
  EXPECT_TRUE(Clicks().empty());
  EXPECT_FALSE(Button(id).IsPressed());
  EXPECT_FALSE(Button(id).IsHovering());
  EXPECT_EQ(focus, GetFocus());
  EXPECT_TRUE(owner_.calls.empty());
}

TEST_F(SkinButtonTest, HoveringACaptionedButtonTakesTheFocusAndTellsTheOwner) {
  PointAt(IDC_SLOT1);
  ASSERT_TRUE(Button(IDC_SLOT1).IsHovering());
  EXPECT_EQ(static_cast<HWND>(Button(IDC_SLOT1)), GetFocus());
  EXPECT_EQ(std::vector<std::string>{"hovered 1030"}, DistinctCalls());
  EXPECT_LOOK(kOver, IDC_SLOT1);

  // The keyboard takes the focus elsewhere while the pointer stays.
  SetFocus(Button(IDC_RED_KEY));
  EXPECT_TRUE(Button(IDC_SLOT1).IsHovering());
  EXPECT_LOOK(kNormal, IDC_SLOT1) << "hovered but not focused";

  // The pointer leaves: hover ends by the leave notification.
  Park();
  EXPECT_TRUE(WaitFor([&] { return !Button(IDC_SLOT1).IsHovering(); }));

  // A button without owner (the message box's) takes the focus but tells nobody.
  owner_.calls.clear();
  PointAt(IDC_SLOT2);
  EXPECT_TRUE(Button(IDC_SLOT2).IsHovering());
  EXPECT_EQ(static_cast<HWND>(Button(IDC_SLOT2)), GetFocus());
  EXPECT_TRUE(owner_.calls.empty());
}

TEST_F(SkinButtonTest, ThumbsAndPresetsTellTheOwnerByControlId) {
  PointAt(IDC_RESOLUTION_THUMB);
  EXPECT_EQ(std::vector<std::string>{"kind 1"}, DistinctCalls());
  EXPECT_EQ(static_cast<HWND>(Button(IDC_RESOLUTION_THUMB)), GetFocus());
  for (int id : {IDC_PRESET_SMALL, IDC_PRESET_MEDIUM}) {
    Park();
    owner_.calls.clear();
    PointAt(id);
    EXPECT_EQ(std::vector<std::string>{"kind 0"}, DistinctCalls()) << id;
    EXPECT_EQ(static_cast<HWND>(Button(id)), GetFocus());
    owner_.calls.clear();
    Press(id);
    Release(id);
    EXPECT_EQ(std::vector<std::string>{id == IDC_PRESET_SMALL ? "preset 0" : "preset 1"},
              owner_.calls);
  }
  EXPECT_EQ((std::vector<int>{IDC_PRESET_SMALL, IDC_PRESET_MEDIUM}), Clicks());
  Park();
  owner_.calls.clear();
  PointAt(IDC_RED_KEY);  // a coloured key neither takes the focus nor tells
  EXPECT_TRUE(Button(IDC_RED_KEY).IsHovering());
  EXPECT_TRUE(owner_.calls.empty());
  EXPECT_EQ(static_cast<HWND>(Button(IDC_PRESET_MEDIUM)), GetFocus());
}

TEST_F(SkinButtonTest, SelectedPresetShowsDownIdleHoveredAndFocused) {
  CxSkinButton& preset = Button(IDC_PRESET_MEDIUM);
  preset.m_selected = 1;
  preset.Invalidate();
  EXPECT_LOOK(kDown, IDC_PRESET_MEDIUM) << "idle";
  PointAt(IDC_PRESET_MEDIUM);
  ASSERT_TRUE(preset.IsHovering());
  EXPECT_LOOK(kDown, IDC_PRESET_MEDIUM) << "hovered";
  Park();
  ASSERT_TRUE(WaitFor([&] { return !preset.IsHovering(); }));
  EXPECT_EQ(static_cast<HWND>(preset), GetFocus());
  EXPECT_LOOK(kDown, IDC_PRESET_MEDIUM) << "focused";
  preset.m_selected = 0;
  EXPECT_LOOK(kOver, IDC_PRESET_MEDIUM) << "focused, not selected";
}

TEST_F(SkinButtonTest, ThumbReportsItsDragInTheOwnersCoordinates) {
  const int id = IDC_RESOLUTION_THUMB;
  CxSkinButton* thumb = &Button(id);
  const int left = kRows[6].place.x;
  PointAt(id);
  owner_.drags.clear();
  Send(id, WM_LBUTTONDOWN, MK_LBUTTON, {5, 5});
  EXPECT_EQ(left + 5, thumb->GetDragLastX());
  Send(id, WM_MOUSEMOVE, MK_LBUTTON, {15, 5});
  Send(id, WM_MOUSEMOVE, MK_LBUTTON, {25, 6});
  Send(id, WM_LBUTTONUP, 0, {25, 6});
  using Drag = std::tuple<int, CxSkinButton*, bool>;
  EXPECT_EQ((std::vector<Drag>{Drag{left + 5, thumb, false}, Drag{left + 15, thumb, false},
                               Drag{left + 25, thumb, true}}),
            owner_.drags);
  EXPECT_EQ(-1, thumb->GetDragLastX());
}

TEST_F(SkinButtonTest, LosingTheFocusWhilePressedLetsTheMouseGo) {
  PointAt(IDC_RED_KEY);
  Press(IDC_RED_KEY);
  ASSERT_EQ(static_cast<HWND>(Button(IDC_RED_KEY)), GetCapture());
  SetFocus(Button(IDC_BARE_KEY));
  EXPECT_EQ(nullptr, GetCapture());
  EXPECT_FALSE(Button(IDC_RED_KEY).IsPressed());
  Release(IDC_RED_KEY);
  EXPECT_TRUE(Clicks().empty());
}

// --- check states ----------------------------------------------------------------

TEST_F(SkinButtonTest, CheckBoxTogglesOnClickAndSpaceAndLooksDown) {
  const int id = IDC_CHECK;
  PointAt(id);
  Press(id);
  Release(id);
  EXPECT_EQ(BST_CHECKED, SendMessageA(Button(id), BM_GETCHECK, 0, 0));
  Park();
  EXPECT_LOOK(kDown, id);
  SetFocus(Button(id));
  SendMessageA(Button(id), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageA(Button(id), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(BST_UNCHECKED, SendMessageA(Button(id), BM_GETCHECK, 0, 0));
  EXPECT_EQ((std::vector<int>{id, id}), Clicks());
  // A push button never holds a check.
  SendMessageA(Button(IDC_RED_KEY), BM_SETCHECK, BST_CHECKED, 0);
  EXPECT_EQ(BST_UNCHECKED, SendMessageA(Button(IDC_RED_KEY), BM_GETCHECK, 0, 0));
  EXPECT_LOOK(kNormal, IDC_RED_KEY);
}

TEST_F(SkinButtonTest, CheckingARadioUnchecksTheRestOfItsGroupByPostedMessage) {
  SendMessageA(Button(IDC_RADIO1), BM_SETCHECK, BST_CHECKED, 0);
  SendMessageA(Button(IDC_CHECK), BM_SETCHECK, BST_CHECKED, 0);  // next group
  Pump();
  PointAt(IDC_RADIO2);
  Press(IDC_RADIO2);
  Release(IDC_RADIO2);
  EXPECT_TRUE(Button(IDC_RADIO2).IsChecked());
  EXPECT_TRUE(Button(IDC_RADIO1).IsChecked()) << "the uncheck is posted, not sent";
  Pump();
  EXPECT_FALSE(Button(IDC_RADIO1).IsChecked());
  EXPECT_TRUE(Button(IDC_RADIO2).IsChecked());
  EXPECT_TRUE(Button(IDC_CHECK).IsChecked()) << "another group is left alone";
  Park();
  EXPECT_LOOK(kNormal, IDC_RADIO1);
  EXPECT_LOOK(kDown, IDC_RADIO2);

  // Released off the radio: no check.
  PointAt(IDC_RADIO3);
  Press(IDC_RADIO3);
  Release(IDC_RADIO3, {kWidth / 2, kHeight + 15});
  Pump();
  EXPECT_FALSE(Button(IDC_RADIO3).IsChecked());
  EXPECT_TRUE(Button(IDC_RADIO2).IsChecked());
}

TEST_F(SkinButtonTest, CheckingADisabledRadioEndsItsGroupWalk) {
  // The system's group walk skips a disabled control, so from it the walk
  // circles the other members without ever coming back.
  SendMessageA(Button(IDC_RADIO2), BM_SETCHECK, BST_CHECKED, 0);
  Pump();
  EnableWindow(Button(IDC_RADIO1), FALSE);
  SendMessageA(Button(IDC_RADIO1), BM_SETCHECK, BST_CHECKED, 0);
  Pump();
  EXPECT_TRUE(Button(IDC_RADIO1).IsChecked());
  EXPECT_FALSE(Button(IDC_RADIO2).IsChecked());
  EXPECT_FALSE(Button(IDC_RADIO3).IsChecked());
}

}  // namespace
