// The helper's only window: a dialog that never shows. While it runs, a watching
// thread copies every DPI request ("Range", per user) into the machine-wide DPI
// setting ("LogPixels"); closing the dialog from outside ends the program.
#pragma once

#include <windows.h>

#include <memory>

#include "dialog.h"
#include "dwordreg.h"
#include "thread.h"

class CScreenHelperDlg : public CDialog {
 public:
  CScreenHelperDlg();
  ~CScreenHelperDlg() override;

 protected:
  BOOL OnInitDialog() override;
  const MessageMap* GetMessageMap() const override;

 private:
  LRESULT OnWindowPosChanging(WPARAM, LPARAM);
  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  LRESULT OnDestroy(WPARAM, LPARAM);
  LRESULT OnBroadcast(WPARAM, LPARAM);

  static UINT WatchThread(LPVOID dialog);
  void Watch();
  // The request key, opened again once it exists; null when the watch is ending.
  HKEY WaitForWatchedKey() const;
  // Copies the request into the machine-wide value when it is a usable DPI.
  void CopyRequest();
  // Ends the watching thread and waits for it; then nothing else touches the
  // value objects.
  void StopWatching();

  HICON m_hIcon;  // the application icon (a shared resource icon: never destroyed)
  // The request, written once at start on this thread, then read by the watcher.
  std::unique_ptr<DwordReg> m_rangeReg;
  // The machine-wide value, made and written by the watcher on its first change.
  std::unique_ptr<DwordReg> m_logPixelsReg;
  CWorkerThread m_watchThread;
  HANDLE m_hStopEvent = nullptr;  // owned; set to end the watcher
  DWORD m_currentDpi = 96;        // in force at start, then the last request read
};
