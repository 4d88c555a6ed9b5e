#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "InjectedLibrary.h"
#include "Outcome.h"

// A WinHelp call the program made.
struct HelpCall {
    int nControlId = 0;  // of the window the call names
    std::string strFile;
    UINT nCommand = 0;
    std::vector<std::pair<DWORD, DWORD>> aIdMap;  // {control, context} pairs of id-map commands
    DWORD ContextOf(int nControlId) const;        // in the id map; 0 when absent
};

// The program probe (program_probe.dll, beside this executable) loaded into a running program:
// it reads the system-menu Close item of the program's window and reports the program's help
// calls. Those reports go to a hidden window of the help viewer's class on the thread that asked
// to watch them, so no real viewer starts; that thread must take messages (WaitUntil does).
class CProgramProbe {
public:
    CProgramProbe() = default;
    ~CProgramProbe();
    CProgramProbe(const CProgramProbe&) = delete;
    CProgramProbe& operator=(const CProgramProbe&) = delete;

    Outcome Load(HANDLE hProcess, DWORD dwProcessId);
    bool IsLoaded() const { return m_library.IsLoaded(); }
    DWORD CloseItemState(HWND hMainDialog) const;  // CLOSE_ITEM_* of ProbeReport.h
    Outcome WatchHelp();
    const std::vector<HelpCall>& HelpCalls() const { return m_aHelpCalls; }

private:
    static LRESULT CALLBACK ObserverProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);

    CInjectedLibrary m_library;
    HWND m_hObserver = nullptr;
    std::vector<HelpCall> m_aHelpCalls;
};
