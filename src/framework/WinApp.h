// CWinApp: the one application object, and the program's entry point that runs it.
//
// The program defines one global object of a class derived from CWinApp. The framework's WinMain
// initialises the common controls and calls InitInstance, which runs the whole program (its main
// window modally) and returns; there is no message loop of the application's own.
#pragma once

#include <windows.h>

#include "framework/CmdTarget.h"

class CWnd;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // The program's start-up; whatever it returns, the program ends after it.
    virtual BOOL InitInstance() = 0;

    // From now on every framework dialog, and its statics, buttons and check boxes, is painted
    // with these colours.
    void SetDialogBkColor(COLORREF clrCtlBk, COLORREF clrCtlText);
    // The three-dimensional look is the platform's own here.
    BOOL Enable3dControlsStatic() { return TRUE; }

    // Null until SetDialogBkColor has been called.
    HBRUSH GetDialogBkBrush() const { return m_hDialogBkBrush; }
    COLORREF GetDialogBkColor() const { return m_crDialogBk; }
    COLORREF GetDialogTextColor() const { return m_crDialogText; }

    HINSTANCE m_hInstance;
    CWnd* m_pMainWnd;  // the window whose destruction ends the program's work

private:
    HBRUSH m_hDialogBkBrush;
    COLORREF m_crDialogBk;
    COLORREF m_crDialogText;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();
