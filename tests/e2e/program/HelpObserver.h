#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "InjectedLibrary.h"

// A WinHelp call made by the program, as the help spy inside it saw it.
struct HelpCall {
    int nControlId = 0;  // of the window the call names
    std::string strFile;
    UINT nCommand = 0;
    ULONGLONG nData = 0;
    std::vector<std::pair<DWORD, DWORD>> aIdMap;  // {control, context} pairs, for id-map commands
    bool bReturned = false;
    BOOL bResult = FALSE;
};

// What reached the help viewer: Wine's WinHelp finds the viewer by its window class
// "MS_WINHELP" and hands it the request in a WM_COPYDATA record.
struct HelpViewerRequest {
    UINT nCommand = 0;
    LONG nData = 0;
    std::string strFile;
};

// Watches help requests from two sides, on a thread of its own that owns two hidden windows:
// one of class "MS_WINHELP", which stands in for the help viewer (so no real viewer starts), and
// one that receives the reports of the help spy loaded into the program (WatchProgram).
class CHelpObserver {
public:
    CHelpObserver();
    ~CHelpObserver();
    CHelpObserver(const CHelpObserver&) = delete;
    CHelpObserver& operator=(const CHelpObserver&) = delete;

    bool IsReady() const { return m_hViewerWindow && m_hSpyWindow; }
    Outcome WatchProgram(HANDLE hProcess, DWORD dwProcessId);
    std::vector<HelpCall> Calls() const;
    std::vector<HelpViewerRequest> ViewerRequests() const;

private:
    static DWORD WINAPI ThreadProc(void* pParameter);
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    void OnViewerData(const COPYDATASTRUCT& data);
    void OnSpyData(const COPYDATASTRUCT& data);

    HANDLE m_hThread;
    DWORD m_dwThreadId;
    HANDLE m_hReady;
    HWND m_hViewerWindow;
    HWND m_hSpyWindow;
    mutable std::mutex m_mutex;
    std::vector<HelpCall> m_aCalls;
    std::vector<HelpViewerRequest> m_aViewerRequests;
    CInjectedLibrary m_spy;
};
