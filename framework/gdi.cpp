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
