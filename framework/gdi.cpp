#include "gdi.h"

#include <cstring>

#include "winapp.h"

BOOL CBitmap::LoadBitmap(UINT resourceId) {
  return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(resourceId)));
}

SIZE CBitmap::GetSize() const {
  BITMAP bm{};
  if (!m_hObject || !::GetObjectA(m_hObject, sizeof(bm), &bm)) return SIZE{0, 0};
  return SIZE{bm.bmWidth, bm.bmHeight};
}

BOOL CFont::CreateFont(int height, int weight, LPCSTR face, BYTE charset) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = charset;
  lf.lfQuality = ANTIALIASED_QUALITY;
  if (face) {
    std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
  }
  return CreateFontIndirect(lf);
}

void ValidateChildren(HWND parent) {
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (::IsWindowVisible(child))  // a hidden one has nothing pending
      ::RedrawWindow(child, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
  }
}

void PrintChildren(HWND parent, HDC dc) {
  // Each control draws into a context of its own size: controls take the context's
  // device origin for their client origin, so a moved viewport would not do.
  CMemoryDC piece(dc);
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child)) continue;
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    const int width = r.right - r.left, height = r.bottom - r.top;
    CBitmap bitmap;
    if (width <= 0 || height <= 0 || !bitmap.CreateCompatibleBitmap(dc, width, height)) continue;
    ScopedSelect select(piece, bitmap);
    ::BitBlt(piece, 0, 0, width, height, dc, r.left, r.top, SRCCOPY);  // what lies beneath
    ::SendMessageA(child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(piece.m_hDC), PRF_CLIENT);
    ::BitBlt(dc, r.left, r.top, width, height, piece, 0, 0, SRCCOPY);
  }
}
