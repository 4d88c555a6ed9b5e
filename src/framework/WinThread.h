// CWinThread and AfxBeginThread: worker threads started from a plain function with one parameter.
//
// A worker object deletes itself when its function returns (m_bAutoDelete). To wait for a worker,
// start it suspended, clear m_bAutoDelete, resume it, wait on m_hThread, then delete the object:
//     CWinThread* t = AfxBeginThread(Proc, &job, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
//     t->m_bAutoDelete = FALSE;
//     t->ResumeThread();
//     ...
//     WaitForSingleObject(t->m_hThread, INFINITE);
//     delete t;
#pragma once

#include <windows.h>

#include "framework/CmdTarget.h"

class CWnd;

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread : public CCmdTarget {
public:
    CWinThread();
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (suspended when CREATE_SUSPENDED is in the flags).
    BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                      LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
    DWORD ResumeThread();
    BOOL SetThreadPriority(int nPriority);

    // For threads with a message loop of their own (the application object).
    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // Runs the message loop until WM_QUIT, then ExitInstance; returns its result.
    virtual int Run();
    // Called when a self-deleting worker ends.
    virtual void Delete();

    CWnd* m_pMainWnd;  // the window whose destruction ends the thread's work
    HANDLE m_hThread;
    DWORD m_nThreadID;
    BOOL m_bAutoDelete;
    AFX_THREADPROC m_pfnThreadProc;
    LPVOID m_pThreadParams;

private:
    static unsigned __stdcall ThreadEntry(void* pThread);
};

// Starts pfnThreadProc(pParam) on a new thread at once unless dwCreateFlags has CREATE_SUSPENDED.
// Returns the thread object (which deletes itself when the function returns), or null.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam,
                           int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
