#include "framework/WinThread.h"

#include <process.h>

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_hThread(nullptr),
      m_nThreadID(0),
      m_bAutoDelete(TRUE),
      m_pfnThreadProc(pfnThreadProc),
      m_pThreadParams(pParam) {}

CWinThread::~CWinThread() {
    if (m_hThread != nullptr) ::CloseHandle(m_hThread);
}

namespace {

unsigned __stdcall ThreadEntry(void* pThread) {
    auto* pThis = static_cast<CWinThread*>(pThread);
    const UINT nResult = pThis->m_pfnThreadProc(pThis->m_pThreadParams);
    if (pThis->m_bAutoDelete) delete pThis;
    return nResult;
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority,
                           UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs) {
    auto* pThread = new CWinThread(pfnThreadProc, pParam);
    // Always created suspended, so that the handle and the priority are in place before the
    // thread can end and delete the object.
    unsigned nThreadID = 0;
    const uintptr_t hThread = _beginthreadex(lpSecurityAttrs, nStackSize, &ThreadEntry,
                                             pThread, CREATE_SUSPENDED, &nThreadID);
    if (hThread == 0) {
        delete pThread;
        return nullptr;
    }
    pThread->m_hThread = reinterpret_cast<HANDLE>(hThread);
    pThread->m_nThreadID = nThreadID;
    ::SetThreadPriority(pThread->m_hThread, nPriority);
    if ((dwCreateFlags & CREATE_SUSPENDED) == 0) ::ResumeThread(pThread->m_hThread);
    return pThread;
}
