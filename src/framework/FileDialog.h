// CFileDialog: the platform's Explorer-style Open or Save dialog with the framework's hook.
//
// The object is attached to the CHILD dialog (the panel built from the caller's template, or the
// platform's empty one); the standard dialog is its parent. Every message of the
// child, including the CDN_* notifications, goes through WindowProc and the message map.
// Destroying the child of the application's main window ends DoModal: the framework posts the quit
// message, which ends the standard dialog's modal loop and closes it.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "framework/Dialog.h"

class CFileDialog : public CDialog {
public:
    // lpszFilter is "Name|pattern|Name|pattern||" as in MFC; null for none.
    explicit CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr,
                         const char* lpszFileName = nullptr,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                         const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);

    // Edit before DoModal (OFN_ENABLETEMPLATE, hInstance, lpTemplateName, lpstrTitle ...).
    OPENFILENAMEA m_ofn;

    // IDOK when the platform's call reported a chosen file, else IDCANCEL. When the dialog ended
    // because its panel was destroyed, the result means nothing (Wine reports IDOK).
    INT_PTR DoModal();

    // While the dialog is open: the standard dialog's current file path, that is the shown folder,
    // "\" and the text of the file-name box. Afterwards: the chosen file. May be called from any
    // thread.
    std::string GetPathName() const;

    // The standard dialog is asked to end (Esc, Alt+F4, its Close item, WM_CLOSE): TRUE lets it
    // end now, FALSE holds the request back.
    virtual BOOL OnCloseRequest();

    BOOL OnInitDialog() override;

protected:
    BOOL m_bOpenFileDialog;

private:
    static UINT_PTR CALLBACK HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StandardDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnStandardProc = nullptr;

    char m_szFileName[MAX_PATH];
    char m_szInitialDir[MAX_PATH];
    std::string m_strDefExt;
    std::string m_strFilter;
};
