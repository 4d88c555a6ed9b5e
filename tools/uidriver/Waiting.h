#pragma once
#include <windows.h>

#include <functional>

// Handles whatever the window system has queued for this thread's own windows.
void PumpMessages();

// Waits for a condition, looking every few milliseconds until the deadline; this thread's own
// windows keep answering meanwhile.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
