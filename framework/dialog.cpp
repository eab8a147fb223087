#include "dialog.h"

#include <string>

#include "winapp.h"

namespace {

std::string Narrow(const std::u16string& text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.c_str());
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
  std::string narrow(size > 0 ? size : 0, '\0');
  if (size > 0)
    ::WideCharToMultiByte(CP_ACP, 0, wide, static_cast<int>(text.size()), &narrow[0], size, nullptr, nullptr);
  return narrow;
}

}  // namespace

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd);
}

BOOL WalkPreTranslateTree(HWND stop, MSG* msg) {
  for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
    CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
    if (wnd && wnd->PreTranslateMessage(msg)) return TRUE;
    if (hwnd == stop) break;
  }
  return FALSE;
}

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog() = default;

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM, LPARAM lParam) {
  // Every message but the first reaches the object through the subclassed window
  // procedure; the dialog manager only needs this for WM_INITDIALOG.
  if (message != WM_INITDIALOG) return FALSE;
  auto* self = reinterpret_cast<CDialog*>(lParam);
  if (!self || !self->SubclassWindow(hwnd)) return TRUE;
  return self->OnInitDialog();
}

BOOL CDialog::Create(UINT templateId, HWND parent) {
  m_templateId = templateId;
  m_parent = parent;
  m_endRequested = false;
  m_controls.clear();
  m_later.clear();
  HINSTANCE instance = AfxGetResourceHandle();
  dlgtemplate::Split split;
  if (!m_laterIds.empty()) {
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5));  // RT_DIALOG
    HGLOBAL loaded = found ? ::LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || !dlgtemplate::SplitTemplate(bytes, ::SizeofResource(instance, found), m_laterIds, split))
      split = {};
  }
  HWND hwnd;
  if (!split.made.empty()) {
    m_later = std::move(split.later);
    hwnd = ::CreateDialogIndirectParamA(instance, reinterpret_cast<LPCDLGTEMPLATEA>(split.made.data()),
                                        parent, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  } else {
    hwnd = ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, &CDialog::DialogProc,
                                reinterpret_cast<LPARAM>(this));
  }
  return hwnd != nullptr && m_hWnd == hwnd;
}

bool CDialog::MakeLaterControls() {
  if (!m_hWnd) return false;
  const std::vector<dlgtemplate::LaterControl> later = std::move(m_later);
  m_later.clear();
  const auto font = ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0);
  bool all = true;
  for (const dlgtemplate::LaterControl& c : later) {
    // As the dialog manager makes a template's control: place and size each in
    // dialog units, a border drawn sunken, a child that does not notify its parent.
    RECT units{c.x, c.y, c.cx, c.cy};
    ::MapDialogRect(m_hWnd, &units);
    DWORD style = (c.style & ~WS_POPUP) | WS_CHILD, exStyle = c.exStyle | WS_EX_NOPARENTNOTIFY;
    if (style & WS_BORDER) {
      style &= ~WS_BORDER;
      exStyle |= WS_EX_CLIENTEDGE;
    }
    const char* predefined = dlgtemplate::PredefinedClassName(c.windowClass.ordinal);
    const std::string className = predefined ? predefined : Narrow(c.windowClass.name);
    HWND control = ::CreateWindowExA(exStyle, className.c_str(), Narrow(c.title.name).c_str(), style, units.left,
                                     units.top, units.right, units.bottom, m_hWnd,
                                     reinterpret_cast<HMENU>(static_cast<UINT_PTR>(c.id)), AfxGetResourceHandle(),
                                     nullptr);
    if (!control) {
      all = false;
      continue;
    }
    if (font) ::SendMessageA(control, WM_SETFONT, static_cast<WPARAM>(font), FALSE);
    HWND after = c.hasPrevious ? GetDlgItem(static_cast<int>(c.previousId)) : HWND_TOP;
    if (after) ::SetWindowPos(control, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
  return all;
}

INT_PTR CDialog::DoModal() {
  m_modalResult = -1;
  if (!Create(m_templateId, m_parent)) {
    if (m_hWnd) ::DestroyWindow(m_hWnd);
    return -1;
  }
  HWND hwnd = m_hWnd;
  // Like the system's modal dialogs: the owner waits disabled.
  const bool reenable = m_parent && ::IsWindowEnabled(m_parent);
  if (reenable) ::EnableWindow(m_parent, FALSE);

  // EndDialog may already have been called from OnInitDialog.
  if (!m_endRequested) {
    ShowInitialised();
    RunModalLoop();
  }

  if (reenable) ::EnableWindow(m_parent, TRUE);
  if (::IsWindow(hwnd)) {
    ::SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                   SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
    if (m_parent && ::GetActiveWindow() == hwnd) ::SetActiveWindow(m_parent);
    ::DestroyWindow(hwnd);
  }
  return m_modalResult;
}

void CDialog::ShowInitialised() {
  if (!(::GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE)) ::ShowWindow(m_hWnd, SW_SHOWNORMAL);
  // Painted at once, its controls too, before the loop takes any message: the
  // first frame anybody sees is the whole window.
  ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
}

BOOL CDialog::RunModalLoop() {
  m_modalRunning = true;
  HWND hwnd = m_hWnd;
  MSG msg;
  while (!m_endRequested) {
    const int got = GetNextMessage(&msg);
    if (got == 0) {
      // WM_QUIT ends the modal run and stays in the queue for the outer loop.
      ::PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (got == -1) break;
    if (!::IsWindow(hwnd)) break;
    if (!WalkPreTranslateTree(hwnd, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
    if (!::IsWindow(hwnd)) break;  // destroyed from outside
  }
  m_modalRunning = false;
  return TRUE;
}

void CDialog::EndDialog(int result) {
  m_modalResult = result;
  m_endRequested = true;
  if (m_modalRunning) {
    ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wake the loop
  } else if (m_hWnd) {
    ::ShowWindow(m_hWnd, SW_HIDE);  // a modeless dialog: its owner destroys it
  }
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;  // the dialog manager sets the focus to the first control
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  // Keyboard navigation of the dialog (Tab, Enter, Esc, arrows, mnemonics).
  if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd &&
      (msg->hwnd == m_hWnd || ::IsChild(m_hWnd, msg->hwnd))) {
    return ::IsDialogMessageA(m_hWnd, msg);
  }
  return FALSE;
}

HWND CDialog::GetDlgItem(int id) const {
  if (!m_hWnd) return nullptr;
  for (const dlgtemplate::LaterControl& c : m_later)
    if (static_cast<int>(c.id) == id) return nullptr;  // not made yet: no need to ask

  for (auto& [controlId, control] : m_controls) {
    if (controlId != id) continue;
    // These reads stay in the process; only the system's lookup is a round trip.
    if (::IsWindow(control) && ::GetParent(control) == m_hWnd && ::GetDlgCtrlID(control) == id)
      return control;
    control = ::GetDlgItem(m_hWnd, id);
    return control;
  }
  HWND control = ::GetDlgItem(m_hWnd, id);
  if (control) m_controls.emplace_back(id, control);
  return control;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (CWnd::OnCommand(wParam, lParam)) return TRUE;
  const UINT code = HIWORD(wParam);
  if (code != BN_CLICKED && code != 0) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK: OnOK(); return TRUE;
    case IDCANCEL: OnCancel(); return TRUE;
    default: return FALSE;
  }
}
