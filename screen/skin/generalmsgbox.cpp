#include "generalmsgbox.h"

#include <cstring>
#include <iterator>

#include "contour.h"
#include "fadewnd.h"
#include "language.h"
#include "skinbutton.h"
#include "skinfolder.h"
#include "winapp.h"

namespace {

void Move(HWND control, const msgbox::Place& p) {
  if (control) ::MoveWindow(control, p.x, p.y, p.width, p.height, TRUE);
}

bool RightToLeft() { return IsCurrentLanguage("Arabic"); }

}  // namespace

CGeneralMsgBox::CGeneralMsgBox(HWND parent, CFadeWnd* fade, const char* message)
    : CSkinnedDialog(msgbox::kTemplateId, parent),
      m_fade(fade),
      m_message(message ? message : ""),
      m_buffer(nullptr),
      m_bufferSize(0),
      m_order(msgbox::ButtonOrderFor(false)) {
  for (auto& button : m_buttons) button = std::make_unique<CxSkinButton>(nullptr);
  for (auto& bitmap : m_bitmaps) bitmap = std::make_unique<CContourBitmap>();
}

CGeneralMsgBox::CGeneralMsgBox(HWND parent, CFadeWnd* fade, char* buffer, std::size_t size)
    : CGeneralMsgBox(parent, fade, static_cast<const char*>(buffer)) {
  m_buffer = size ? buffer : nullptr;
  m_bufferSize = m_buffer ? size : 0;
  if (m_buffer) m_buffer[size - 1] = '\0';  // a buffer that was never ended is read safely
}

CGeneralMsgBox::~CGeneralMsgBox() = default;

const MessageMap* CGeneralMsgBox::GetMessageMap() const {
  using B = CGeneralMsgBox;
  static const MessageMapEntry entries[] = {
      OnCommandId(BN_CLICKED, msgbox::kLeftButtonId, &B::OnLeftButton),
      OnCommandId(BN_CLICKED, msgbox::kRightButtonId, &B::OnRightButton),
      OnMessage(WM_PAINT, &B::OnPaint),
      OnMessage(WM_LBUTTONDOWN, &B::OnLButtonDown),
      OnMessage(WM_SETCURSOR, &B::OnSetCursor),
  };
  static const MessageMap map{CSkinnedDialog::GetMessageMap(), entries, std::size(entries)};
  return &map;
}

void CGeneralMsgBox::DoDataExchange(CDataExchange* dx) {
  CSkinnedDialog::DoDataExchange(dx);
  DDX_Control(dx, msgbox::kLeftButtonId, *m_buttons[0]);
  DDX_Control(dx, msgbox::kRightButtonId, *m_buttons[1]);
}

BOOL CGeneralMsgBox::OnInitDialog() {
  CSkinnedDialog::OnInitDialog();
  ::SetWindowLongA(m_hWnd, GWL_ID, msgbox::kTemplateId);
  ::SetWindowLongA(m_hWnd, GWL_STYLE, ::GetWindowLongA(m_hWnd, GWL_STYLE) | WS_CLIPCHILDREN);
  m_order = msgbox::ButtonOrderFor(RightToLeft());

  if (m_fade && ::IsWindow(m_fade->m_hWnd)) ::PostMessageA(m_fade->m_hWnd, WM_FADE_START, 1000, 0);

  // The box chooses its cursor itself (WM_SETCURSOR).
  ::SetClassLongPtrA(m_hWnd, GCLP_HCURSOR, 0);
  m_arrowCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  m_handCursor = ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCEA(msgbox::kHandCursorId));
  ::SetCursor(m_arrowCursor);

  CreateTextFont();
  SetUpSkin();

  const std::string shown = ShownText();
  ::SetWindowTextA(m_hWnd, m_title.empty() ? shown.c_str() : m_title.c_str());
  // The static only holds the message's place; it carries the text for anyone
  // who reads the box from outside.
  ::SetWindowTextA(GetDlgItem(msgbox::kMessageId), shown.c_str());

  // "No" has the focus when the box opens, so that a stray Enter never answers
  // "Yes". Posted: the box is shown and activated after this returns, and the
  // activation would otherwise give the focus to the first button.
  ::PostMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(m_order.focusedId)), TRUE);
  return FALSE;
}

void CGeneralMsgBox::CreateTextFont() {
  const msgbox::MessageFont font = msgbox::MessageFontFor(CurrentLanguageName());
  LOGFONTA lf{};
  lf.lfHeight = font.height;
  lf.lfWeight = font.weight;
  lf.lfCharSet = font.charset;
  std::strncpy(lf.lfFaceName, msgbox::kMessageFace, LF_FACESIZE - 1);
  m_textFont.CreateFontIndirect(lf);
}

void CGeneralMsgBox::SetUpSkin() {
  m_bitmaps[0]->LoadBitmap(msgbox::kFrameBitmapId);
  m_bitmaps[1]->LoadBitmap(msgbox::kStripBitmapId);

  SIZE frame = m_bitmaps[0]->GetSize();
  if (frame.cx <= 0 || frame.cy <= 0) frame = SIZE{400, 270};
  if (HRGN shape = m_bitmaps[0]->CreateContourRegionAt(0, 0)) {
    if (!::SetWindowRgn(m_hWnd, shape, TRUE)) ::DeleteObject(shape);  // else the system's
  }
  // Centred on the window it belongs to, or on the work area without one.
  RECT around{};
  HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
  if (!owner || !::GetWindowRect(owner, &around))
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &around, 0);
  ::SetWindowPos(m_hWnd, nullptr, around.left + (around.right - around.left - frame.cx) / 2,
                 around.top + (around.bottom - around.top - frame.cy) / 2, frame.cx, frame.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);

  HWND message = GetDlgItem(msgbox::kMessageId);
  Move(message, msgbox::kMessagePlace);
  const msgbox::Place& m = msgbox::kMessagePlace;
  m_textRect = RECT{m.x, m.y, m.x + m.width, m.y + m.height};

  char folder[MAX_PATH];
  if (FindSkinFolder(msgbox::kPopupFolder, folder)) {
    const msgbox::Place* places[2] = {&msgbox::kLeftButtonPlace, &msgbox::kRightButtonPlace};
    for (int i = 0; i < 2; ++i) {
      Move(m_buttons[i]->m_hWnd, *places[i]);
      m_buttons[i]->LoadSkinImages(msgbox::kButtonNormal, msgbox::kButtonDown, msgbox::kButtonOver,
                                   nullptr, folder, SkinRole::Captioned);
      m_buttons[i]->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_textFont.GetSafeHandle()), TRUE);
      m_buttons[i]->SetTextColour(msgbox::kCaptionColour);
    }
  }
  // Translated one at a time: a translation lives only until the next.
  ::SetWindowTextA(m_buttons[0]->m_hWnd, TranslateText(m_order.leftCaption));
  ::SetWindowTextA(m_buttons[1]->m_hWnd, TranslateText(m_order.rightCaption));
}

std::string CGeneralMsgBox::ShownText() const { return std::string(TranslateText(m_message)); }

void CGeneralMsgBox::SetText(const char* text) {
  if (!m_buffer) return;
  msgbox::CopyText(m_buffer, m_bufferSize, text, &IsAnsiLeadByte);
  if (!m_hWnd) return;
  ::SetWindowTextA(GetDlgItem(msgbox::kMessageId), ShownText().c_str());
  ::RedrawWindow(m_hWnd, &m_textRect, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// --- answers -------------------------------------------------------------------

void CGeneralMsgBox::Answer(int result) {
  if (result == msgbox::kResultYes) OnOK();
  else OnCancel();
}

LRESULT CGeneralMsgBox::OnLeftButton(WPARAM, LPARAM) {
  Answer(m_order.leftResult);
  return 0;
}

LRESULT CGeneralMsgBox::OnRightButton(WPARAM, LPARAM) {
  Answer(m_order.rightResult);
  return 0;
}

BOOL CGeneralMsgBox::PreTranslateMessage(MSG* msg) {
  if (msg->message == WM_KEYDOWN && msgbox::IsBoxKey(static_cast<std::uint32_t>(msg->wParam))) {
    ::TranslateMessage(msg);
    SendMessage(WM_KEYDOWN, msg->wParam, msg->lParam);
    return TRUE;
  }
  return CSkinnedDialog::PreTranslateMessage(msg);
}

BOOL CGeneralMsgBox::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_KEYDOWN) OnBoxKey(static_cast<UINT>(wParam));
  return CSkinnedDialog::OnWndMsg(message, wParam, lParam, result);
}

void CGeneralMsgBox::OnBoxKey(UINT key) {
  HWND focus = ::GetFocus();
  const int focusedId = focus && ::IsChild(m_hWnd, focus) ? ::GetDlgCtrlID(focus) : 0;
  auto focusOn = [this](int id) {
    HWND button = GetDlgItem(id);
    ActivateWindow(button);
    ::SetFocus(button);
  };
  switch (msgbox::KeyActionFor(key, focusedId)) {
    case msgbox::KeyAction::PressLeft:
    case msgbox::KeyAction::PressRight:
      SendMessage(WM_COMMAND, MAKEWPARAM(focusedId, BN_CLICKED), reinterpret_cast<LPARAM>(focus));
      break;
    case msgbox::KeyAction::FocusLeft: focusOn(msgbox::kLeftButtonId); break;
    case msgbox::KeyAction::FocusRight: focusOn(msgbox::kRightButtonId); break;
    case msgbox::KeyAction::None: break;
  }
}

// --- mouse and paint ---------------------------------------------------------------

LRESULT CGeneralMsgBox::OnLButtonDown(WPARAM, LPARAM lParam) {
  POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  ::ClientToScreen(m_hWnd, &point);
  return MoveFromFace(point);
}

LRESULT CGeneralMsgBox::OnSetCursor(WPARAM wParam, LPARAM) {
  ::SetCursor(reinterpret_cast<HWND>(wParam) == m_hWnd || !m_handCursor ? m_arrowCursor : m_handCursor);
  return TRUE;
}

LRESULT CGeneralMsgBox::OnPaint(WPARAM, LPARAM) {
  CPaintDC dc(m_hWnd);
  RECT client;
  ::GetClientRect(m_hWnd, &client);
  SIZE size = m_bitmaps[0]->GetSize();
  if (size.cx <= 0 || size.cy <= 0) size = SIZE{client.right, client.bottom};

  CMemoryDC canvasDc(dc);
  CBitmap canvas;
  canvas.CreateCompatibleBitmap(dc, size.cx, size.cy);
  ScopedSelect selectCanvas(canvasDc, canvas);
  if (!m_bitmaps[0]->Draw(canvasDc, 0, 0)) {
    RECT all{0, 0, size.cx, size.cy};
    ::FillRect(canvasDc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  m_bitmaps[1]->Draw(canvasDc, msgbox::kStripPlace.x, msgbox::kStripPlace.y);

  ::SetBkMode(canvasDc, TRANSPARENT);
  ::SelectClipRgn(canvasDc, nullptr);
  ScopedSelect selectFont(canvasDc, m_textFont.GetSafeHandle());
  ::SetTextColor(canvasDc, msgbox::kMessageColour);
  const std::string text = ShownText();
  const UINT format = msgbox::MessageFormat(RightToLeft());
  // DT_VCENTER does not centre lines that wrap: measure them and centre the block.
  RECT measured = m_textRect;
  ::DrawTextA(canvasDc, text.c_str(), -1, &measured, format | DT_CALCRECT);
  RECT place = m_textRect;
  const LONG height = measured.bottom - measured.top, room = place.bottom - place.top;
  if (height < room) place.top += (room - height) / 2;
  ::DrawTextA(canvasDc, text.c_str(), -1, &place, format);

  ::BitBlt(dc, 0, 0, size.cx, size.cy, canvasDc, 0, 0, SRCCOPY);
  return 0;
}

INT_PTR AskOverFade(HWND parent, const char* message) {
  CFadeWnd fade(parent);
  CGeneralMsgBox box(parent, &fade, message);
  fade.SetMessageBox(&box);
  const INT_PTR answer = box.DoModal();
  fade.SetMessageBox(nullptr);
  return answer == IDOK ? IDOK : IDCANCEL;
}
