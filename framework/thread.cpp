#include "thread.h"

#include <process.h>

namespace {
struct StartBlock {
  AFX_THREADPROC fn;
  LPVOID param;
};

unsigned __stdcall ThreadEntry(void* p) {
  StartBlock block = *static_cast<StartBlock*>(p);
  delete static_cast<StartBlock*>(p);
  return block.fn(block.param);
}
}  // namespace

bool CWorkerThread::Start(AFX_THREADPROC fn, LPVOID param) {
  Close();
  auto* block = new StartBlock{fn, param};
  unsigned id = 0;
  // _beginthreadex rather than CreateThread: the thread may use the C runtime.
  auto handle = _beginthreadex(nullptr, 0, &ThreadEntry, block, 0, &id);
  if (!handle) {
    delete block;
    return false;
  }
  m_hThread = reinterpret_cast<HANDLE>(handle);
  m_threadId = id;
  return true;
}

bool CWorkerThread::Join(DWORD timeoutMs) const {
  return !m_hThread || ::WaitForSingleObject(m_hThread, timeoutMs) == WAIT_OBJECT_0;
}

void CWorkerThread::Close() {
  if (m_hThread) ::CloseHandle(m_hThread);
  m_hThread = nullptr;
  m_threadId = 0;
}
