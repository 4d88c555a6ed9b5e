#pragma once
#include <functional>

#include "framework/AfxWin.h"

// A worker thread the window keeps (not auto-deleted), so that it can wait for its end.
CWinThread* StartKeptWorker(AFX_THREADPROC proc, void* param);

// Whether a kept worker's function is still running.
bool WorkerRunning(const CWinThread* worker);

// Waits for a kept worker to end and deletes it, while still answering the messages it sends
// to this thread's windows, so that neither waits for the other; whileWaiting runs every 100 ms.
// Nothing when there is none.
void WaitForWorker(CWinThread*& worker, const std::function<void()>& whileWaiting = nullptr);
