// BrislingCopy: the card copy for scripts and the command prompt, on the window's link and copy.
#include <windows.h>

#include "app/LanguageModule.h"
#include "console/ConsoleArguments.h"
#include "console/ConsoleSession.h"

namespace {
// The handler runs on a thread of its own: the lock keeps the session alive while it stops it.
SRWLOCK g_sessionLock = SRWLOCK_INIT;
CConsoleSession* g_session = nullptr;

void SetSession(CConsoleSession* session) {
    ::AcquireSRWLockExclusive(&g_sessionLock);
    g_session = session;
    ::ReleaseSRWLockExclusive(&g_sessionLock);
}

BOOL WINAPI OnConsoleBreak(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    ::AcquireSRWLockExclusive(&g_sessionLock);
    if (g_session) g_session->Stop();
    ::ReleaseSRWLockExclusive(&g_sessionLock);
    return TRUE;
}
}  // namespace

int main() {
    const ConsoleArguments arguments = ParseConsoleArguments(SplitCommandLine(::GetCommandLineA()));
    CreateMutexA(nullptr, FALSE, RUNNING_MUTEX);  // held until the process ends
    CConsoleSession session(arguments);
    SetSession(&session);
    ::SetConsoleCtrlHandler(OnConsoleBreak, TRUE);
    const int result = session.Run();
    ::SetConsoleCtrlHandler(OnConsoleBreak, FALSE);
    SetSession(nullptr);
    return result;
}
