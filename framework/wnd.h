// CWnd: a window object bound to one window handle, with a message map.
//
// Binding is an entry in a table of the process that points from the handle at the
// object, made when the object subclasses the window (or creates it) and removed at
// WM_NCDESTROY or when the object is destroyed first, so that no message ever
// reaches a half-destroyed object.
#pragma once

#include <windows.h>

#include <cstddef>

class CWnd;

// A message-map row. Handlers all take (wParam, lParam) and return the result.
using MessageHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);

struct MessageMapEntry {
  UINT message;            // WM_xxx; WM_COMMAND rows also match code and id
  UINT code;               // WM_COMMAND: notification code (BN_CLICKED, ...)
  UINT idFirst, idLast;    // WM_COMMAND: range of control ids
  const UINT* registered;  // a registered message: where its id is stored
  MessageHandler handler;
};

struct MessageMap {
  const MessageMap* base;  // searched when no row of this map matches
  const MessageMapEntry* entries;
  std::size_t count;
};

// Row builders, so a class's map reads as a table of its own member functions.
template <class T>
MessageMapEntry OnMessage(UINT message, LRESULT (T::*fn)(WPARAM, LPARAM)) {
  return {message, 0, 0, 0, nullptr, static_cast<MessageHandler>(fn)};
}
template <class T>
MessageMapEntry OnCommandId(UINT code, UINT id, LRESULT (T::*fn)(WPARAM, LPARAM)) {
  return {WM_COMMAND, code, id, id, nullptr, static_cast<MessageHandler>(fn)};
}
template <class T>
MessageMapEntry OnCommandRange(UINT code, UINT first, UINT last,
                               LRESULT (T::*fn)(WPARAM, LPARAM)) {
  return {WM_COMMAND, code, first, last, nullptr, static_cast<MessageHandler>(fn)};
}
template <class T>
MessageMapEntry OnRegisteredMessage(const UINT* id, LRESULT (T::*fn)(WPARAM, LPARAM)) {
  return {0, 0, 0, 0, id, static_cast<MessageHandler>(fn)};
}

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  // The object bound to a window, or null.
  static CWnd* FromHandlePermanent(HWND hwnd);

  // Binds this object to an existing window and routes its messages here.
  BOOL SubclassWindow(HWND hwnd);
  BOOL SubclassDlgItem(UINT id, CWnd* parent);
  // Gives the window back its previous procedure; returns the handle.
  HWND UnsubclassWindow();

  // Creates a window of any class and binds it before its first message.
  BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                const RECT& rect, HWND parent, UINT id);
  BOOL DestroyWindow();

  // Thin conveniences over the handle. A dialog keeps its controls' handles
  // (CDialog), so looking one up is virtual.
  virtual HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  HWND GetParent() const { return ::GetParent(m_hWnd); }
  BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
  BOOL EnableWindow(BOOL enable) const { return ::EnableWindow(m_hWnd, enable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
  LRESULT SendMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const {
    return ::SendMessageA(m_hWnd, m, w, l);
  }
  BOOL PostMessage(UINT m, WPARAM w = 0, LPARAM l = 0) const {
    return ::PostMessageA(m_hWnd, m, w, l);
  }

  // Called for every message of the thread's modal loop whose window is this one or
  // a child of it, innermost window first; true means handled (not dispatched).
  virtual BOOL PreTranslateMessage(MSG* msg);

  // The message path: WindowProc asks OnWndMsg (reflection, commands, message map)
  // and falls back to DefWindowProc, the procedure the window had before binding.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  // A notification the parent reflected back to the control that caused it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The default handling of the message being processed now.
  LRESULT Default();

 protected:
  virtual const MessageMap* GetMessageMap() const { return nullptr; }
  // Called once the binding is made and before messages are routed here.
  virtual void PreSubclassWindow() {}
  // Called after the last message (WM_NCDESTROY), once the object is unbound.
  virtual void PostNcDestroy() {}

  // Searches the map chain; true when a row handled the message.
  BOOL DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

 private:
  friend LRESULT CALLBACK FrameworkWndProc(HWND, UINT, WPARAM, LPARAM);
  friend LRESULT CALLBACK FrameworkCbtProc(int, WPARAM, LPARAM);
  void Unbind();

  WNDPROC m_previousProc = nullptr;
  bool m_createdHere = false;  // DestroyWindow in the destructor only for these
  MSG m_currentMsg{};
};
