#include "app/WorkerThreads.h"

namespace {
constexpr DWORD WAIT_STEP_MS = 100;
}

CWinThread* StartKeptWorker(AFX_THREADPROC proc, void* param) {
    CWinThread* worker = AfxBeginThread(proc, param, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED, nullptr);
    if (!worker) return nullptr;
    worker->m_bAutoDelete = FALSE;
    ::ResumeThread(worker->m_hThread);
    return worker;
}

bool WorkerRunning(const CWinThread* worker) {
    return worker && WaitForSingleObject(worker->m_hThread, 0) == WAIT_TIMEOUT;
}

void WaitForWorker(CWinThread*& worker, const std::function<void()>& whileWaiting) {
    if (!worker) return;
    HANDLE thread = worker->m_hThread;
    DWORD lastStep = GetTickCount();
    for (;;) {
        const DWORD woken = MsgWaitForMultipleObjects(1, &thread, FALSE, WAIT_STEP_MS, QS_SENDMESSAGE);
        if (woken == WAIT_OBJECT_0 || woken == WAIT_FAILED) break;
        if (woken == WAIT_OBJECT_0 + 1) {
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        if (whileWaiting && GetTickCount() - lastStep >= WAIT_STEP_MS) {
            whileWaiting();
            lastStep = GetTickCount();
        }
    }
    delete worker;
    worker = nullptr;
}
