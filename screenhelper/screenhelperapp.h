// KvSrcHelper: a resident program, started with administrator rights, that copies
// the DPI requested per user into the machine-wide DPI setting. One instance only.
#pragma once

#include <windows.h>

#include "winapp.h"

class CScreenHelperApp : public CWinApp {
 public:
  CScreenHelperApp() = default;
  ~CScreenHelperApp() override;

  BOOL InitInstance() override;

 private:
  HANDLE m_hInstanceMutex = nullptr;  // owned; held for the whole run
};
