#include "dialog.h"

#include "winapp.h"

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
  HWND hwnd = ::CreateDialogParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(templateId),
                                   parent, &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
  return hwnd != nullptr && m_hWnd == hwnd;
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
