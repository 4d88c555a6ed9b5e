#pragma once
#include <windows.h>

// What the program probe (probe/ProgramProbe.cpp), loaded into the running program, reports of
// each WinHelp call once the system has answered it: one WM_COPYDATA with this record to the
// window of the help viewer's class, which the driver's observer owns.
constexpr const char* HELP_VIEWER_CLASS = "MS_WINHELP";
constexpr ULONG_PTR PROBE_HELP_CALL = 0x5059C411;
constexpr int PROBE_MAX_PAIRS = 64;

struct ProbeHelpCall {
    LONG nControlId;  // of the window named in the call
    DWORD nCommand;
    // {control, context} pairs of the id table that HELP_WM_HELP and HELP_CONTEXTMENU carry
    DWORD nPairCount;
    DWORD aPairs[2 * PROBE_MAX_PAIRS];
    char szFile[MAX_PATH];
};

// The answers of the probe's ReadCloseItemState, the exit code of the thread that runs it.
enum CloseItemState : DWORD {
    CLOSE_ITEM_ENABLED = 1,
    CLOSE_ITEM_DISABLED = 2,
    CLOSE_ITEM_UNKNOWN = 3
};
