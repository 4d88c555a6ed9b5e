// CWinApp: the one application object, and the program's entry point that runs it.
//
// The program defines one global object of a class derived from CWinApp. The framework's WinMain
// initialises the common controls and calls InitInstance; when that returns FALSE it calls
// ExitInstance and the process ends without a message loop, otherwise Run() loops until WM_QUIT.
#pragma once

#include <windows.h>

#include "framework/WinThread.h"

class CWinApp : public CWinThread {
public:
    explicit CWinApp(const char* lpszAppName = nullptr);
    ~CWinApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

    // From now on every framework dialog, and its statics, buttons and check boxes, is painted
    // with these colours.
    void SetDialogBkColor(COLORREF clrCtlBk = RGB(192, 192, 192),
                          COLORREF clrCtlText = RGB(0, 0, 0));
    // The three-dimensional look is the platform's own here.
    BOOL Enable3dControlsStatic() { return TRUE; }

    // Null until SetDialogBkColor has been called.
    HBRUSH GetDialogBkBrush() const { return m_hDialogBkBrush; }
    COLORREF GetDialogBkColor() const { return m_crDialogBk; }
    COLORREF GetDialogTextColor() const { return m_crDialogText; }

    const char* m_pszAppName;
    HINSTANCE m_hInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;

private:
    HBRUSH m_hDialogBkBrush;
    COLORREF m_crDialogBk;
    COLORREF m_crDialogText;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// The body of WinMain: runs the application object as described above; returns the exit code.
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
