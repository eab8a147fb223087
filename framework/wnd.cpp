#include "wnd.h"

#include <unordered_map>

#include "thread.h"

namespace {

// Which object each window is bound to. Looked up for every message, so it is kept
// in the process: a window property would cost a round trip to the window server
// (under Wine tens of microseconds) for each message. Never destroyed: a window may
// still get a message while static objects are torn down.
class Bindings {
 public:
  CWnd* Find(HWND hwnd) {
    CSingleLock lock(m_lock);
    const auto it = m_objects.find(hwnd);
    return it == m_objects.end() ? nullptr : it->second;
  }
  bool Add(HWND hwnd, CWnd* object) {
    CSingleLock lock(m_lock);
    return m_objects.emplace(hwnd, object).second;
  }
  void Remove(HWND hwnd) {
    CSingleLock lock(m_lock);
    m_objects.erase(hwnd);
  }

 private:
  CCriticalSection m_lock;
  std::unordered_map<HWND, CWnd*> m_objects;
};

Bindings& TheBindings() {
  static Bindings* bindings = new Bindings;
  return *bindings;
}

// The object CreateEx is creating on this thread, bound by the CBT hook.
thread_local CWnd* t_creating = nullptr;
thread_local HHOOK t_cbtHook = nullptr;

bool IsReflectedFirst(UINT message) {
  return message == WM_DRAWITEM || message == WM_MEASUREITEM;
}
bool IsReflectedLast(UINT message) {
  return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
         message == WM_HSCROLL || message == WM_VSCROLL;
}

// The control a notification is about, for reflection to its own object.
HWND NotifyingControl(HWND self, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      return dis && dis->CtlType != ODT_MENU ? dis->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      return mis && mis->CtlType != ODT_MENU ? ::GetDlgItem(self, mis->CtlID) : nullptr;
    }
    default:
      (void)wParam;
      return reinterpret_cast<HWND>(lParam);
  }
}

}  // namespace

LRESULT CALLBACK FrameworkWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* self = CWnd::FromHandlePermanent(hwnd);
  if (!self) return ::DefWindowProcA(hwnd, message, wParam, lParam);

  const MSG saved = self->m_currentMsg;
  self->m_currentMsg = MSG{hwnd, message, wParam, lParam, 0, {0, 0}};
  const LRESULT result = self->WindowProc(message, wParam, lParam);
  self->m_currentMsg = saved;

  if (message == WM_NCDESTROY) {
    self->Unbind();
    self->PostNcDestroy();
  }
  return result;
}

LRESULT CALLBACK FrameworkCbtProc(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND && t_creating) {
    CWnd* self = t_creating;
    t_creating = nullptr;
    self->SubclassWindow(reinterpret_cast<HWND>(wParam));
  }
  return ::CallNextHookEx(t_cbtHook, code, wParam, lParam);
}

CWnd::~CWnd() {
  if (!m_hWnd) return;
  // Unbind first: the messages of destruction must not reach this object, whose
  // derived parts are already gone.
  const bool destroy = m_createdHere;
  HWND hwnd = UnsubclassWindow();
  if (destroy && ::IsWindow(hwnd)) ::DestroyWindow(hwnd);
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  return hwnd ? TheBindings().Find(hwnd) : nullptr;
}

BOOL CWnd::SubclassWindow(HWND hwnd) {
  if (m_hWnd || !::IsWindow(hwnd) || FromHandlePermanent(hwnd)) return FALSE;
  if (!TheBindings().Add(hwnd, this)) return FALSE;
  m_hWnd = hwnd;
  PreSubclassWindow();
  m_previousProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
      hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FrameworkWndProc)));
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent) {
  return parent && SubclassWindow(parent->GetDlgItem(static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow() {
  HWND hwnd = m_hWnd;
  if (!hwnd) return nullptr;
  if (m_previousProc &&
      ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&FrameworkWndProc)) {
    ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
  }
  Unbind();
  return hwnd;
}

void CWnd::Unbind() {
  if (m_hWnd) TheBindings().Remove(m_hWnd);
  m_hWnd = nullptr;
  m_previousProc = nullptr;
  m_createdHere = false;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT id) {
  if (m_hWnd) return FALSE;
  t_cbtHook = ::SetWindowsHookExA(WH_CBT, &FrameworkCbtProc, nullptr, ::GetCurrentThreadId());
  t_creating = this;
  HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
  HWND hwnd = ::CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top,
                                rect.right - rect.left, rect.bottom - rect.top, parent, menu,
                                ::GetModuleHandleA(nullptr), nullptr);
  t_creating = nullptr;
  if (t_cbtHook) ::UnhookWindowsHookEx(t_cbtHook);
  t_cbtHook = nullptr;
  if (!hwnd) return FALSE;
  if (!m_hWnd) SubclassWindow(hwnd);  // no hook could be set: bind late
  m_createdHere = m_hWnd == hwnd;
  return m_createdHere;
}

BOOL CWnd::DestroyWindow() {
  return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND) {
    if (OnCommand(wParam, lParam)) {
      *result = 0;
      return TRUE;
    }
    return FALSE;
  }
  // Owner-draw notifications go to the control's own object first, so that a
  // control draws itself; colours and scrolling are the parent's to handle first.
  if (IsReflectedFirst(message)) {
    CWnd* child = FromHandlePermanent(NotifyingControl(m_hWnd, message, wParam, lParam));
    if (child && child != this && child->OnChildNotify(message, wParam, lParam, result))
      return TRUE;
  }
  if (DispatchToMap(message, wParam, lParam, result)) return TRUE;
  if (IsReflectedLast(message)) {
    CWnd* child = FromHandlePermanent(NotifyingControl(m_hWnd, message, wParam, lParam));
    if (child && child != this && child->OnChildNotify(message, wParam, lParam, result))
      return TRUE;
  }
  return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  LRESULT ignored = 0;
  return DispatchToMap(WM_COMMAND, wParam, lParam, &ignored);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_previousProc) return ::CallWindowProcA(m_previousProc, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

BOOL CWnd::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  for (const MessageMap* map = GetMessageMap(); map; map = map->base) {
    for (std::size_t i = 0; i < map->count; ++i) {
      const MessageMapEntry& e = map->entries[i];
      bool match;
      if (e.registered) {
        match = *e.registered != 0 && *e.registered == message;
      } else if (e.message == WM_COMMAND) {
        const UINT id = LOWORD(wParam), code = HIWORD(wParam);
        match = message == WM_COMMAND && code == e.code && id >= e.idFirst && id <= e.idLast;
      } else {
        match = e.message == message;
      }
      if (match) {
        *result = (this->*e.handler)(wParam, lParam);
        return TRUE;
      }
    }
  }
  return FALSE;
}
