// CDialog: the base of a dialog whose window the platform creates and runs modally.
//
// The object is attached to the dialog window at the first message its dialog procedure gets,
// so WindowProc and the message map see WM_INITDIALOG; OnInitDialog is then called from the
// default processing of WM_INITDIALOG. The dialog's default processing answers
// WM_CTLCOLORDLG, WM_CTLCOLORSTATIC and WM_CTLCOLORBTN with the application's dialog colours
// (CWinApp::SetDialogBkColor).
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

class CDialog : public CWnd {
public:
    explicit CDialog(CWnd* pParentWnd = nullptr);

    virtual BOOL OnInitDialog();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Around the platform's modal call: the next message of a dialog procedure of ours on this
    // thread attaches this object. PreModal returns the owner window.
    HWND PreModal();
    void PostModal();

    CWnd* m_pParentWnd;
};

// The dialog procedure of every framework dialog (and the hook of the file dialogs).
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
