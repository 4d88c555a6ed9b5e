// CDialog: a modal dialog from a template resource (or a template in memory).
//
// The object is attached to the dialog window at the first message its dialog procedure gets,
// so WindowProc and the message map see WM_INITDIALOG; OnInitDialog is then called from the
// default processing of WM_INITDIALOG. The dialog's default processing answers
// WM_CTLCOLORDLG, WM_CTLCOLORSTATIC and WM_CTLCOLORBTN with the application's dialog colours
// (CWinApp::SetDialogBkColor).
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

// The program exchanges no data with its controls; the argument is always null.
using CDataExchange = void;

class CDialog : public CWnd {
public:
    CDialog();
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Uses a template in memory instead of a resource; it must outlive DoModal.
    BOOL InitModalIndirect(const DLGTEMPLATE* pDialogTemplate, CWnd* pParentWnd = nullptr);

    // Runs the dialog; returns the value given to EndDialog, or -1 when it could not be created.
    virtual INT_PTR DoModal();
    virtual BOOL OnInitDialog();
    virtual void DoDataExchange(CDataExchange* pDX);
    void EndDialog(int nResult);

    virtual void OnOK();
    virtual void OnCancel();

    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // Around the platform's modal call: the next message of a dialog procedure of ours on this
    // thread attaches this object. PreModal returns the owner window.
    HWND PreModal();
    void PostModal();

    UINT m_nIDTemplate;
    const DLGTEMPLATE* m_lpDialogTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()
};

// The dialog procedure of every framework dialog (and the hook of the file dialogs).
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
