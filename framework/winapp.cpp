#include "winapp.h"

#include "dialog.h"

namespace {
CWinApp* g_app = nullptr;
}

CWinApp::CWinApp() { g_app = this; }

CWinApp::~CWinApp() {
  if (g_app == this) g_app = nullptr;
}

int GetNextMessage(MSG* msg) {
  for (int failures = 0; failures < 100; ++failures) {
    const BOOL got = ::GetMessageA(msg, nullptr, 0, 0);
    if (got != -1) return got ? 1 : 0;
    ::Sleep(1);
  }
  return -1;
}

int CWinApp::Run() {
  MSG msg;
  int got;
  while ((got = GetNextMessage(&msg)) == 1) {
    HWND stop = m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr;
    if (!stop || !WalkPreTranslateTree(stop, &msg)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageA(&msg);
    }
  }
  if (got == 0) m_exitCode = static_cast<int>(msg.wParam);
  return ExitInstance();
}

CWinApp* AfxGetApp() { return g_app; }

HINSTANCE AfxGetInstanceHandle() {
  return g_app && g_app->m_hInstance ? g_app->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

int AfxWinMain(HINSTANCE instance, LPSTR commandLine, int showCommand) {
  CWinApp* app = AfxGetApp();
  if (!app) return 1;
  app->m_hInstance = instance;
  app->m_lpCmdLine = commandLine;
  app->m_nCmdShow = showCommand;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
