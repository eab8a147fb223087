#include "skinbutton.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "images.h"
#include "language.h"
#include "latebound.h"

using skinbutton::Caption;
using skinbutton::Image;

namespace {

decltype(&::AlphaBlend) AlphaBlendEntry() {
  static const auto blend = LateBound<decltype(&::AlphaBlend)>("msimg32.dll", "AlphaBlend");
  return blend;
}

POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

std::string WindowText(HWND hwnd) {
  const int length = ::GetWindowTextLengthA(hwnd);
  if (length <= 0) return std::string();
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const int got = ::GetWindowTextA(hwnd, &text[0], length + 1);
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  return text;
}

// The image file `name` in `folder`, or null. A path cut short at MAX_PATH could
// name another file, so it loads nothing.
HBITMAP LoadSkinFile(const char* folder, const char* name) {
  if (!name || !*name) return nullptr;
  char path[MAX_PATH];
  const int length = std::snprintf(path, sizeof path, "%s%s", folder ? folder : "", name);
  if (length < 0 || length >= static_cast<int>(sizeof path)) return nullptr;
  return LoadImageAsBitmap(path);  // null for a missing file
}

}  // namespace

bool BindSkinButtonDrawing() { return AlphaBlendEntry() != nullptr; }

CxSkinButton::CxSkinButton(SkinButtonOwner* owner)
    : m_textColour(::GetSysColor(COLOR_BTNTEXT)), m_owner(owner) {}

CxSkinButton::~CxSkinButton() = default;

const MessageMap* CxSkinButton::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      OnMessage(WM_ERASEBKGND, &CxSkinButton::OnEraseBkgnd),
      OnMessage(WM_LBUTTONDOWN, &CxSkinButton::OnLButtonDown),
      OnMessage(WM_LBUTTONUP, &CxSkinButton::OnLButtonUp),
      OnMessage(WM_MOUSEMOVE, &CxSkinButton::OnMouseMove),
      OnMessage(WM_LBUTTONDBLCLK, &CxSkinButton::OnLButtonDblClk),
      OnMessage(WM_KILLFOCUS, &CxSkinButton::OnKillFocus),
      OnMessage(WM_KEYDOWN, &CxSkinButton::OnKeyDown),
      OnMessage(WM_MOUSELEAVE, &CxSkinButton::OnMouseLeave),
      OnMessage(WM_SKIN_UNCHECK, &CxSkinButton::OnSkinUncheck),
      OnMessage(BM_SETCHECK, &CxSkinButton::OnSetCheck),
      OnMessage(BM_GETCHECK, &CxSkinButton::OnGetCheck),
  };
  static const MessageMap map{CButton::GetMessageMap(), entries, std::size(entries)};
  return &map;
}

void CxSkinButton::PreSubclassWindow() {
  const DWORD style = static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE));
  m_kind = skinbutton::KindFromStyle(style);
  CButton::PreSubclassWindow();
  ::SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(skinbutton::OwnerDrawStyle(style)));
}

void CxSkinButton::LoadSkinImages(const char* normalName, const char* downName,
                                  const char* overName, const char* unavailableName,
                                  const char* folder, SkinRole role) {
  m_role = role;
  if (role == SkinRole::Picture && !m_blend) {
    m_blend.reset(new (std::nothrow) BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  }
  if (skinbutton::HasCaptionFont(role)) {
    m_textColour = RGB(255, 255, 255);
    CreateCaptionFont();
  }

  m_imageNormal.DeleteObject();
  m_imageDown.DeleteObject();
  m_imageDisabled.DeleteObject();
  m_imageOver.DeleteObject();
  m_imageFocus.DeleteObject();

  m_imageNormal.Attach(LoadSkinFile(folder, normalName));
  m_imageDown.Attach(LoadSkinFile(folder, downName));
  // Two handles of one picture: hover and focus looks are separate objects.
  m_imageOver.Attach(LoadSkinFile(folder, overName));
  m_imageFocus.Attach(LoadSkinFile(folder, overName));
  m_imageDisabled.Attach(LoadSkinFile(folder, unavailableName));
  if (!m_imageDisabled) m_imageDisabled.Attach(LoadSkinFile(folder, normalName));
}

void CxSkinButton::CreateCaptionFont() {
  if (!m_font) m_font.reset(new (std::nothrow) CFont);
  if (!m_font) return;  // the caption then uses the DC's font
  const skinbutton::CaptionFont caption = skinbutton::CaptionFontFor(CurrentLanguageName());
  LOGFONTA lf{};
  lf.lfHeight = caption.height;
  lf.lfWeight = caption.weight;
  lf.lfCharSet = caption.charset;
  lf.lfUnderline = FALSE;
  std::strncpy(lf.lfFaceName, skinbutton::kCaptionFace, LF_FACESIZE - 1);
  m_font->CreateFontIndirect(lf);
}

// --- drawing -----------------------------------------------------------------

bool CxSkinButton::CorrectPushedLook() {
  POINT cursor;
  if (!m_pressed || ::GetCapture() != m_hWnd || !::GetCursorPos(&cursor)) return false;
  const bool over = ::WindowFromPoint(cursor) == m_hWnd;
  const bool pushed = (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
  if (over == pushed) return false;
  SendMessage(BM_SETSTATE, over ? TRUE : FALSE);
  return true;
}

HBITMAP CxSkinButton::ImageHandle(Image image) const {
  switch (image) {
    case Image::Normal: return m_imageNormal;
    case Image::Down: return m_imageDown;
    case Image::Over: return m_imageOver;
    case Image::Focus: return m_imageFocus;
    case Image::Disabled: return m_imageDisabled;
    case Image::None: break;
  }
  return nullptr;
}

void CxSkinButton::DrawImage(HDC dc, const RECT& item, Image image) const {
  HBITMAP bitmap = ImageHandle(image);
  if (!bitmap) {
    ::FillRect(dc, &item, ::GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  CMemoryDC source(dc);
  ScopedSelect select(source, bitmap);
  const int width = item.right - item.left, height = item.bottom - item.top;
  if (m_role == SkinRole::Picture && m_blend) {
    // The whole image blended over what lies beneath, fitted to the button. The
    // source size is the drawn image's own: another image's size could reach
    // outside it, and the blend would then draw nothing.
    BITMAP info{};
    ::GetObjectA(bitmap, sizeof info, &info);
    if (const auto blend = AlphaBlendEntry())
      blend(dc, 0, 0, width, height, source, 0, 0, info.bmWidth, info.bmHeight, *m_blend);
  } else {
    ::BitBlt(dc, item.left, item.top, width, height, source, 0, 0, SRCCOPY);
  }
}

void CxSkinButton::DrawItem(LPDRAWITEMSTRUCT dis) {
  if (!dis || !dis->hDC) return;
  if (CorrectPushedLook()) return;

  HDC dc = dis->hDC;
  const std::string caption = WindowText(m_hWnd);
  ::SetBkMode(dc, TRANSPARENT);
  RECT captionRect = dis->rcItem;
  captionRect.left += 2;
  captionRect.right -= 2;

  skinbutton::ButtonState state;
  state.role = m_role;
  state.disabled = (dis->itemState & ODS_DISABLED) != 0;
  state.pushed = (dis->itemState & ODS_SELECTED) != 0;
  state.focusItem = (dis->itemState & ODS_FOCUS) != 0;
  state.checked = m_checked;
  state.hovering = m_hovering;
  state.pressed = m_pressed;
  state.hasKeyboardFocus = ::GetFocus() == m_hWnd;
  state.selected = m_selected != 0;
  state.haveNormal = static_cast<bool>(m_imageNormal);
  state.haveDown = static_cast<bool>(m_imageDown);
  state.haveOver = static_cast<bool>(m_imageOver);
  state.haveFocus = static_cast<bool>(m_imageFocus);
  state.haveDisabled = static_cast<bool>(m_imageDisabled);
  const skinbutton::DrawPlan plan = skinbutton::PlanDrawing(state);

  DrawImage(dc, dis->rcItem, plan.image);

  const UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
  if (plan.caption == Caption::Embossed) {
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNHIGHLIGHT));
    ::DrawTextA(dc, caption.c_str(), -1, &captionRect, format);
    ::OffsetRect(&captionRect, -1, -1);
    ::SetTextColor(dc, ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextA(dc, caption.c_str(), -1, &captionRect, format);
    return;
  }
  if (plan.caption == Caption::Shifted) ::OffsetRect(&captionRect, 1, 1);
  ::SetTextColor(dc, m_textColour);
  ScopedSelect font(dc, m_font ? m_font->GetSafeHandle() : nullptr);
  ::DrawTextA(dc, caption.c_str(), -1, &captionRect, format);
}

// --- mouse and keyboard --------------------------------------------------------

bool CxSkinButton::IsUnderPoint(POINT clientPoint) const {
  ::ClientToScreen(m_hWnd, &clientPoint);
  return ::WindowFromPoint(clientPoint) == m_hWnd;
}

int CxSkinButton::OwnerX(POINT clientPoint) const {
  ::MapWindowPoints(m_hWnd, m_owner ? m_owner->OwnerWindow() : nullptr, &clientPoint, 1);
  return clientPoint.x;
}

void CxSkinButton::TakeFocus() {
  ActivateWindow(m_hWnd);
  ::SetFocus(m_hWnd);
}

void CxSkinButton::ApplyClickCheck() {
  const int check = skinbutton::CheckRequestOnClick(m_kind, m_checked);
  if (check >= 0) SendMessage(BM_SETCHECK, static_cast<WPARAM>(check));
}

LRESULT CxSkinButton::OnEraseBkgnd(WPARAM, LPARAM) { return TRUE; }

LRESULT CxSkinButton::OnLButtonDown(WPARAM, LPARAM lParam) {
  if (m_role == SkinRole::Picture) return 0;
  if (m_hovering) {
    TRACKMOUSEEVENT cancel{sizeof cancel, TME_CANCEL | TME_LEAVE, m_hWnd, 0};
    if (::TrackMouseEvent(&cancel)) m_hovering = false;
  }
  const LRESULT result = Default();  // capture, focus and the pushed look
  m_pressed = true;
  if (m_owner && m_role == SkinRole::SliderThumb) m_dragLastX = OwnerX(PointOf(lParam));
  return result;
}

LRESULT CxSkinButton::OnLButtonDblClk(WPARAM wParam, LPARAM lParam) {
  // A double click is a second press, so a quick second click is not lost.
  if (m_role != SkinRole::Picture) SendMessage(WM_LBUTTONDOWN, wParam, lParam);
  return 0;
}

LRESULT CxSkinButton::OnMouseMove(WPARAM, LPARAM lParam) {
  if (m_role == SkinRole::Picture) return 0;
  const POINT point = PointOf(lParam);

  if (m_pressed) {
    const bool over = IsUnderPoint(point);
    const bool pushed = (SendMessage(BM_GETSTATE) & BST_PUSHED) != 0;
    if (::GetCapture() == m_hWnd && over != pushed) {
      SendMessage(BM_SETSTATE, over ? TRUE : FALSE);
      Invalidate();
    } else if (over == pushed && m_owner && m_role == SkinRole::SliderThumb) {
      const int x = OwnerX(point);
      m_owner->DragSliderThumb(m_dragLastX, this, false);
      m_dragLastX = x;
    }
    return Default();
  }

  if (!m_hovering) {
    if (ArmLeaveTracking()) {
      m_hovering = true;
      Invalidate();
      if (m_role == SkinRole::Captioned || m_role == SkinRole::SliderThumb ||
          m_role == SkinRole::Preset) {
        TakeFocus();
        if (m_owner) {
          const skinbutton::HoverNotice notice = skinbutton::HoverNoticeFor(GetDlgCtrlID());
          if (notice.call == skinbutton::HoverNotice::PreviewKind) {
            m_owner->SetPreviewKind(notice.argument);
          } else if (notice.call == skinbutton::HoverNotice::HoveredSizeButton) {
            m_owner->SetHoveredSizeButton(notice.argument);
          }
        }
      }
      if (m_owner && m_role == SkinRole::SliderThumb) {
        const skinbutton::PanelRect& p = skinbutton::kThumbHoverPanel;
        const RECT panel{p.left, p.top, p.right, p.bottom};
        ::RedrawWindow(m_owner->OwnerWindow(), &panel, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
      }
    }
  }
  return Default();
}

bool CxSkinButton::ArmLeaveTracking() {
  TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, m_hWnd, 0};
  if (!::TrackMouseEvent(&track)) return false;
  // The call also succeeds when the pointer has already moved off the button by
  // the time this move is handled; then nothing is tracked and no leave would
  // ever end the hover. Hover only what is really being tracked.
  TRACKMOUSEEVENT query{sizeof query, TME_QUERY, nullptr, 0};
  return ::TrackMouseEvent(&query) && query.hwndTrack == m_hWnd && (query.dwFlags & TME_LEAVE);
}

LRESULT CxSkinButton::OnMouseLeave(WPARAM, LPARAM) {
  if (m_role != SkinRole::Picture) {
    m_hovering = false;
    Invalidate();
  }
  return 0;
}

LRESULT CxSkinButton::OnLButtonUp(WPARAM, LPARAM lParam) {
  if (m_role == SkinRole::Picture) return 0;
  if (m_kind != ButtonKind::Push && IsUnderPoint(PointOf(lParam))) ApplyClickCheck();
  m_pressed = false;
  const LRESULT result = Default();  // releases the capture; the click notification
  if (!::IsWindow(m_hWnd)) return result;

  if (m_role == SkinRole::SliderThumb) {
    if (m_owner) {
      m_owner->DragSliderThumb(m_dragLastX, this, true);
      m_dragLastX = -1;
    }
    Invalidate();
  }
  if (m_role == SkinRole::Preset) {
    TakeFocus();
    const int preset = skinbutton::PresetIndexFor(GetDlgCtrlID());
    if (m_owner && preset >= 0) m_owner->SelectDpiPreset(preset);
  }
  return result;
}

LRESULT CxSkinButton::OnKillFocus(WPARAM, LPARAM) {
  if (::GetCapture() == m_hWnd) {
    ::ReleaseCapture();
    m_pressed = false;
  }
  return Default();
}

LRESULT CxSkinButton::OnKeyDown(WPARAM wParam, LPARAM) {
  if (wParam == VK_SPACE) ApplyClickCheck();
  return Default();
}

// --- check state -----------------------------------------------------------

LRESULT CxSkinButton::OnSetCheck(WPARAM wParam, LPARAM) {
  m_checked = wParam != 0 && m_kind != ButtonKind::Push;
  if (m_kind == ButtonKind::Radio && wParam != 0) {
    // Posted, so the others repaint after the message that checked this one.
    HWND dialog = GetParent();
    skinbutton::WalkGroupFrom(
        reinterpret_cast<std::uintptr_t>(m_hWnd),
        [dialog](std::uintptr_t member) {
          return reinterpret_cast<std::uintptr_t>(
              ::GetNextDlgGroupItem(dialog, reinterpret_cast<HWND>(member), FALSE));
        },
        [](std::uintptr_t member) {
          ::PostMessageA(reinterpret_cast<HWND>(member), WM_SKIN_UNCHECK, 0, 0);
        });
  }
  Invalidate();
  return 0;
}

LRESULT CxSkinButton::OnGetCheck(WPARAM, LPARAM) { return m_checked ? BST_CHECKED : BST_UNCHECKED; }

LRESULT CxSkinButton::OnSkinUncheck(WPARAM, LPARAM) {
  if (m_checked) {
    m_checked = false;
    Invalidate();
  }
  return 0;
}
