#include "mainapp.h"

#include "previewmaindlg.h"


bool RestoreRunningCopy() {
  HWND running = ::FindWindowA(app_names::kSystemDialogClass, app_names::kTitle);
  if (!running) running = ::FindWindowA(app_names::kDialogClass, app_names::kTitle);
  if (!running) return false;
  ::ShowWindow(running, SW_RESTORE);
  ::SetForegroundWindow(running);
  return true;
}

void RegisterDialogClass(HINSTANCE instance) {
  WNDCLASSA wc{};
  if (!::GetClassInfoA(instance, app_names::kSystemDialogClass, &wc)) return;
  wc.lpszClassName = app_names::kDialogClass;
  wc.hInstance = instance;
  ::RegisterClassA(&wc);  // fails harmlessly when the class exists already
}

BOOL CMainTVApp::InitInstance() {
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, app_names::kMutex);
  const DWORD error = ::GetLastError();
  if (error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED) {
    RestoreRunningCopy();
    if (mutex) ::CloseHandle(mutex);
    return FALSE;
  }

  {
    // Made before the class is registered: the dialog object starts reading its
    // slowest picture at once, while the rest of the start-up goes on.
    CPreviewMainDlg dialog;
    RegisterDialogClass(m_hInstance);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    if (mutex) ::CloseHandle(mutex);
  }
  return FALSE;
}
