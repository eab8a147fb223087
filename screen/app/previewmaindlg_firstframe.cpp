// The first frame in one piece. Shown, the dialog is erased first, then every
// visible control is erased and painted on its own, each with a device context of
// its own: under Wine that is about 2 ms a control, over a third of the start-up
// above a bare window. The dialog composes its whole face anyway, so before its
// first paint it drops the controls' own paints and draws their faces into that
// frame. From then on each control paints itself as usual.
#include "previewmaindlg.h"
#include "startup_phases.h"

LRESULT CPreviewMainDlg::OnEraseBkgnd(WPARAM wParam, LPARAM lParam) {
  if (!m_firstPaintEnd && ::IsWindowVisible(m_hWnd) && !::IsIconic(m_hWnd)) {
    ValidateChildren(m_hWnd);
    m_controlsInFirstFrame = true;
  }
  return OnEraseBackground(wParam, lParam);
}

void CPreviewMainDlg::ShowFrame(HDC paint, HDC memory, SIZE frame) {
  if (!m_controlsInFirstFrame) {
    ::BitBlt(paint, 0, 0, frame.cx, frame.cy, memory, 0, 0, SRCCOPY);
    return;
  }
  m_controlsInFirstFrame = false;
  startup_phases::MarkEnd("paint: texts, preview");
  PrintChildren(m_hWnd, memory);
  // This paint asks some of them to repaint (the pictures it gives the preview
  // statics, the shadow picture every other rebuild): they are drawn already.
  ValidateChildren(m_hWnd);
  // The paint's own context leaves out the controls' places.
  HDC window = ::GetDCEx(m_hWnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  ::BitBlt(window, 0, 0, frame.cx, frame.cy, memory, 0, 0, SRCCOPY);
  ::ReleaseDC(m_hWnd, window);
}

void CPreviewMainDlg::SetPreviewPicture(int id, HBITMAP picture) {
  // A picture static paints itself at once when it gets a picture, with a context
  // of its own; in the first frame the dialog draws it, so it is kept from that.
  HWND control = GetDlgItem(id);
  const bool drawnByFrame = m_controlsInFirstFrame && ::IsWindowVisible(control);
  if (drawnByFrame) ::SendMessageA(control, WM_SETREDRAW, FALSE, 0);
  ::SendMessageA(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture));
  if (drawnByFrame) ::SendMessageA(control, WM_SETREDRAW, TRUE, 0);
}
