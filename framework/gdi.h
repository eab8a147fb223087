// Owning wrappers for GDI objects and device contexts. Each owns its handle alone:
// no copies, moves allowed. Detach hands a handle over (to SetWindowRgn, say, after
// which the system owns it).
#pragma once

#include <windows.h>

#include <utility>

class CGdiObject {
 public:
  CGdiObject() = default;
  explicit CGdiObject(HGDIOBJ handle) : m_hObject(handle) {}
  virtual ~CGdiObject() { DeleteObject(); }
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  CGdiObject(CGdiObject&& other) noexcept : m_hObject(other.Detach()) {}
  CGdiObject& operator=(CGdiObject&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  // Takes ownership of `handle`, deleting what was held before.
  BOOL Attach(HGDIOBJ handle) {
    DeleteObject();
    m_hObject = handle;
    return handle != nullptr;
  }
  HGDIOBJ Detach() { return std::exchange(m_hObject, nullptr); }
  BOOL DeleteObject() {
    if (!m_hObject) return FALSE;
    return ::DeleteObject(std::exchange(m_hObject, nullptr));
  }
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  explicit operator bool() const { return m_hObject != nullptr; }

  HGDIOBJ m_hObject = nullptr;
};

class CBitmap : public CGdiObject {
 public:
  using CGdiObject::CGdiObject;
  operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
  BOOL LoadBitmap(UINT resourceId);
  BOOL CreateCompatibleBitmap(HDC dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc, width, height));
  }
  // Width and height, {0, 0} for no bitmap.
  SIZE GetSize() const;
};

class CFont : public CGdiObject {
 public:
  using CGdiObject::CGdiObject;
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
  BOOL CreateFontIndirect(const LOGFONTA& lf) { return Attach(::CreateFontIndirectA(&lf)); }
  // A font by face, height in pixels (negative: character height) and weight.
  BOOL CreateFont(int height, int weight, LPCSTR face, BYTE charset = DEFAULT_CHARSET);
};

class CRgn : public CGdiObject {
 public:
  using CGdiObject::CGdiObject;
  operator HRGN() const { return static_cast<HRGN>(m_hObject); }
  BOOL CreateRectRgn(int l, int t, int r, int b) { return Attach(::CreateRectRgn(l, t, r, b)); }
  int CombineRgn(HRGN a, HRGN b, int mode) const {
    return ::CombineRgn(static_cast<HRGN>(m_hObject), a, b, mode);
  }
};

class CBrush : public CGdiObject {
 public:
  using CGdiObject::CGdiObject;
  operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
  BOOL CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }
};

class CPen : public CGdiObject {
 public:
  using CGdiObject::CGdiObject;
  operator HPEN() const { return static_cast<HPEN>(m_hObject); }
  BOOL CreatePen(int style, int width, COLORREF color) {
    return Attach(::CreatePen(style, width, color));
  }
};

// Selects an object into a DC for a scope and puts the previous one back.
class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object)
      : m_dc(dc), m_previous(dc && object ? ::SelectObject(dc, object) : nullptr) {}
  ~ScopedSelect() {
    if (m_previous && m_previous != HGDI_ERROR) ::SelectObject(m_dc, m_previous);
  }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC m_dc;
  HGDIOBJ m_previous;
};

// A memory DC compatible with another (DeleteDC at the end).
class CMemoryDC {
 public:
  explicit CMemoryDC(HDC compatibleWith) : m_hDC(::CreateCompatibleDC(compatibleWith)) {}
  ~CMemoryDC() {
    if (m_hDC) ::DeleteDC(m_hDC);
  }
  CMemoryDC(const CMemoryDC&) = delete;
  CMemoryDC& operator=(const CMemoryDC&) = delete;
  operator HDC() const { return m_hDC; }
  HDC m_hDC;
};

// A window's client-area DC (ReleaseDC at the end); null window: the screen.
class CClientDC {
 public:
  explicit CClientDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(::GetDC(hwnd)) {}
  ~CClientDC() {
    if (m_hDC) ::ReleaseDC(m_hWnd, m_hDC);
  }
  CClientDC(const CClientDC&) = delete;
  CClientDC& operator=(const CClientDC&) = delete;
  operator HDC() const { return m_hDC; }
  HWND m_hWnd;
  HDC m_hDC;
};

// BeginPaint/EndPaint for a WM_PAINT handler.
class CPaintDC {
 public:
  explicit CPaintDC(HWND hwnd) : m_hWnd(hwnd), m_hDC(::BeginPaint(hwnd, &m_ps)) {}
  ~CPaintDC() { ::EndPaint(m_hWnd, &m_ps); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
  operator HDC() const { return m_hDC; }
  HWND m_hWnd;
  PAINTSTRUCT m_ps{};
  HDC m_hDC;
};

// A window's controls drawn by the window itself (its first frame, say): their
// pending erase and paint are dropped, and they are drawn into `dc`, whose origin
// is `parent`'s client origin, each as it would paint itself and in the order the
// system paints them: the top of the z-order first, so a lower control that
// overlaps a higher one ends over it, as on the screen.
void ValidateChildren(HWND parent);
void PrintChildren(HWND parent, HDC dc);
