#pragma once
#include <windows.h>

// What the help spy, loaded into the running program, reports about each WinHelp call: one
// WM_COPYDATA to the test's window of this class before the call goes on to the system, and one
// after it has returned.
constexpr const char* HELP_SPY_WINDOW_CLASS = "BrislingTestHelpSpy";
constexpr ULONG_PTR HELP_SPY_CALLED = 0x5059C411;
constexpr ULONG_PTR HELP_SPY_RETURNED = 0x5059C422;
constexpr int HELP_SPY_MAX_PAIRS = 64;

struct HelpSpyRecord {
    LONG nControlId;  // of the window named in the call
    DWORD nCommand;
    ULONGLONG nData;
    DWORD nResult;     // the system's answer, in the report after the call
    // {control, context} pairs of the id table that HELP_WM_HELP and HELP_CONTEXTMENU carry
    DWORD nPairCount;
    DWORD aPairs[2 * HELP_SPY_MAX_PAIRS];
    char szFile[MAX_PATH];
};
