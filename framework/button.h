// CButton: a push button object; an owner-drawn one draws itself in DrawItem, which
// its parent reflects to it.
#pragma once

#include "wnd.h"

class CButton : public CWnd {
 public:
  virtual void DrawItem(LPDRAWITEMSTRUCT) {}

  int GetCheck() const { return static_cast<int>(::SendMessageA(m_hWnd, BM_GETCHECK, 0, 0)); }
  void SetCheck(int state) const { ::SendMessageA(m_hWnd, BM_SETCHECK, state, 0); }
  UINT GetButtonStyle() const {
    return static_cast<UINT>(::GetWindowLongA(m_hWnd, GWL_STYLE)) & 0xFFu;
  }
  void SetButtonStyle(UINT style, BOOL redraw = TRUE) const {
    ::SendMessageA(m_hWnd, BM_SETSTYLE, style, redraw);
  }

 protected:
  BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
    if (message != WM_DRAWITEM) return CWnd::OnChildNotify(message, wParam, lParam, result);
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    *result = TRUE;
    return TRUE;
  }
};
