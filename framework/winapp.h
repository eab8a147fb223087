// CWinApp: the one application object of a program. The framework's WinMain calls
// InitInstance; when it returns false the program ends (the dialog programs of the
// suite run their main dialog inside InitInstance), otherwise Run's loop serves the
// main window until WM_QUIT.
#pragma once

#include <windows.h>

class CWnd;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance() { return m_exitCode; }
  virtual int Run();

  HINSTANCE m_hInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  CWnd* m_pMainWnd = nullptr;
  int m_exitCode = 0;
};

// GetMessageA for a message loop: 1 with a message, 0 with WM_QUIT, -1 only when
// the system keeps failing. A single failure is tried again: under Wine a fault
// inside the call can make it fail once, and a loop that ended on it would end
// the program in the middle of its work.
int GetNextMessage(MSG* msg);

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();
// The body of the framework's WinMain: InitInstance, then Run or ExitInstance.
int AfxWinMain(HINSTANCE instance, LPSTR commandLine, int showCommand);
