// CWinThread and AfxBeginThread: worker threads started from a plain function with one parameter.
//
// A worker object deletes itself when its function returns (m_bAutoDelete). To wait for a worker,
// start it suspended, clear m_bAutoDelete, resume it, wait on m_hThread, then delete the object:
//     CWinThread* t = AfxBeginThread(Proc, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
//     t->m_bAutoDelete = FALSE;
//     ::ResumeThread(t->m_hThread);
//     ...
//     WaitForSingleObject(t->m_hThread, INFINITE);
//     delete t;
#pragma once

#include <windows.h>

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread {
public:
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread();
    CWinThread(const CWinThread&) = delete;
    CWinThread& operator=(const CWinThread&) = delete;

    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;
};

// Starts pfnThreadProc(pParam) on a new thread at once unless dwCreateFlags has CREATE_SUSPENDED.
// Returns the thread object (which deletes itself when the function returns), or null.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
