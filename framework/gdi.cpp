#include "gdi.h"

#include <algorithm>
#include <cstring>
#include <vector>

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
  // One call for all of them (each is a round trip to the window server); the
  // window's own update region is given back.
  HRGN update = ::CreateRectRgn(0, 0, 0, 0);
  const int kind = update ? ::GetUpdateRgn(parent, update, FALSE) : ERROR;
  ::RedrawWindow(parent, nullptr, nullptr, RDW_VALIDATE | RDW_NOERASE | RDW_NOFRAME | RDW_ALLCHILDREN);
  if (kind != NULLREGION && kind != ERROR) ::RedrawWindow(parent, nullptr, update, RDW_INVALIDATE | RDW_NOCHILDREN);
  if (update) ::DeleteObject(update);
}

void PrintChildren(HWND parent, HDC dc) {
  // Each control draws into a context of its own size: controls take the context's
  // device origin for their client origin, so a moved viewport would not do. One
  // picture, as large as the largest control, serves them all.
  struct Place {
    HWND child;
    RECT r;
  };
  std::vector<Place> places;
  SIZE largest{0, 0};
  for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!(::GetWindowLongA(child, GWL_STYLE) & WS_VISIBLE)) continue;
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    if (r.right <= r.left || r.bottom <= r.top) continue;
    places.push_back(Place{child, r});
    largest.cx = std::max(largest.cx, r.right - r.left);
    largest.cy = std::max(largest.cy, r.bottom - r.top);
  }
  if (places.empty()) return;
  CMemoryDC piece(dc);
  CBitmap bitmap;
  if (!bitmap.CreateCompatibleBitmap(dc, largest.cx, largest.cy)) return;
  ScopedSelect select(piece, bitmap);
  for (const Place& p : places) {
    const int width = p.r.right - p.r.left, height = p.r.bottom - p.r.top;
    ::BitBlt(piece, 0, 0, width, height, dc, p.r.left, p.r.top, SRCCOPY);  // what lies beneath
    const int saved = ::SaveDC(piece);
    ::IntersectClipRect(piece, 0, 0, width, height);
    ::SendMessageA(p.child, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(piece.m_hDC), PRF_CLIENT);
    ::RestoreDC(piece, saved);
    ::BitBlt(dc, p.r.left, p.r.top, width, height, piece, 0, 0, SRCCOPY);
  }
}
