#include "screenhelperapp.h"

#include <commctrl.h>

#include "screenhelperdlg.h"

namespace {
const wchar_t kInstanceMutexName[] = L"KvSrcHelper";
CScreenHelperApp theApp;
}  // namespace

CScreenHelperApp::~CScreenHelperApp() {
  if (m_hInstanceMutex) ::CloseHandle(m_hInstanceMutex);
}

BOOL CScreenHelperApp::InitInstance() {
  // Another instance holds the name (or made it under another account, which the
  // system answers with access denied): this one ends without a word.
  m_hInstanceMutex = ::CreateMutexW(nullptr, FALSE, kInstanceMutexName);
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
    if (m_hInstanceMutex) ::CloseHandle(m_hInstanceMutex);
    m_hInstanceMutex = nullptr;
    return FALSE;
  }

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);

  CScreenHelperDlg dlg;
  m_pMainWnd = &dlg;
  dlg.DoModal();
  m_pMainWnd = nullptr;
  // The dialog's run is the program's life.
  return FALSE;
}
