#include "app/WorkerThreads.h"

CWinThread* StartKeptWorker(AFX_THREADPROC proc, void* param) {
    CWinThread* worker = AfxBeginThread(proc, param, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (!worker) return nullptr;
    worker->m_bAutoDelete = FALSE;
    ::ResumeThread(worker->m_hThread);
    return worker;
}

void WaitForWorker(CWinThread*& worker) {
    if (!worker) return;
    HANDLE thread = worker->m_hThread;
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    delete worker;
    worker = nullptr;
}
