// Worker threads and a critical section. The win32 thread model of our compilers
// has no std::thread; these are the plain Win32 forms.
#pragma once

#include <windows.h>

class CCriticalSection {
 public:
  CCriticalSection() { ::InitializeCriticalSection(&m_cs); }
  ~CCriticalSection() { ::DeleteCriticalSection(&m_cs); }
  CCriticalSection(const CCriticalSection&) = delete;
  CCriticalSection& operator=(const CCriticalSection&) = delete;
  void Lock() { ::EnterCriticalSection(&m_cs); }
  void Unlock() { ::LeaveCriticalSection(&m_cs); }

 private:
  CRITICAL_SECTION m_cs;
};

class CSingleLock {
 public:
  explicit CSingleLock(CCriticalSection& cs) : m_cs(cs) { m_cs.Lock(); }
  ~CSingleLock() { m_cs.Unlock(); }
  CSingleLock(const CSingleLock&) = delete;
  CSingleLock& operator=(const CSingleLock&) = delete;

 private:
  CCriticalSection& m_cs;
};

using AFX_THREADPROC = UINT (*)(LPVOID);

// A started worker thread. The object owns the thread handle (closed on
// destruction, which does not wait for the thread).
class CWorkerThread {
 public:
  CWorkerThread() = default;
  ~CWorkerThread() { Close(); }
  CWorkerThread(const CWorkerThread&) = delete;
  CWorkerThread& operator=(const CWorkerThread&) = delete;

  // Starts fn(param) on a new thread; false when the thread could not be made.
  bool Start(AFX_THREADPROC fn, LPVOID param);
  // Waits for the thread to end; true when it ended within the time.
  bool Join(DWORD timeoutMs = INFINITE) const;
  void Close();
  HANDLE Handle() const { return m_hThread; }
  DWORD Id() const { return m_threadId; }

 private:
  HANDLE m_hThread = nullptr;
  DWORD m_threadId = 0;
};
