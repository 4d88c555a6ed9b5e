#pragma once
#include "framework/AfxWin.h"

// A worker thread the window keeps (not auto-deleted), so that it can wait for its end.
CWinThread* StartKeptWorker(AFX_THREADPROC proc, void* param);

// Waits for a kept worker to end and deletes it, while still answering the messages it sends
// to this thread's windows, so that neither waits for the other. Nothing when there is none.
void WaitForWorker(CWinThread*& worker);
