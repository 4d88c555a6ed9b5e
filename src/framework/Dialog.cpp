#include "framework/Dialog.h"

#include "framework/WinApp.h"

namespace {

// The dialog object waiting for its window, between PreModal and the first dialog message.
thread_local CDialog* t_pDialogInit = nullptr;

// Messages whose dialog-procedure result is the window procedure's result; for all others the
// result travels in DWLP_MSGRESULT.
bool IsDirectResultMessage(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ||
           message == WM_COMPAREITEM || message == WM_VKEYTOITEM || message == WM_CHARTOITEM ||
           message == WM_QUERYDRAGICON || message == WM_INITDIALOG;
}

}  // namespace

CDialog::CDialog(CWnd* pParentWnd) : m_pParentWnd(pParentWnd) {}

HWND CDialog::PreModal() {
    t_pDialogInit = this;
    return m_pParentWnd != nullptr ? m_pParentWnd->m_hWnd : nullptr;
}

void CDialog::PostModal() {
    if (t_pDialogInit == this) t_pDialogInit = nullptr;
}

BOOL CDialog::OnInitDialog() { return TRUE; }

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        CWinApp* pApp = AfxGetApp();
        if (pApp != nullptr && pApp->GetDialogBkBrush() != nullptr) {
            HDC hDC = reinterpret_cast<HDC>(wParam);
            ::SetBkColor(hDC, pApp->GetDialogBkColor());
            ::SetTextColor(hDC, pApp->GetDialogTextColor());
            return reinterpret_cast<LRESULT>(pApp->GetDialogBkBrush());
        }
    }
    return CWnd::DefWindowProc(message, wParam, lParam);
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (CWnd* pWnd = CWnd::FromHandlePermanent(hWnd)) {
        // Reached from the default processing of an attached dialog: everything but the
        // initialisation is left to the dialog manager.
        auto* pDialog = dynamic_cast<CDialog*>(pWnd);
        if (message == WM_INITDIALOG && pDialog != nullptr) return pDialog->OnInitDialog();
        return FALSE;
    }

    CDialog* pDialog = t_pDialogInit;
    if (pDialog == nullptr) return FALSE;
    t_pDialogInit = nullptr;
    if (!pDialog->SubclassWindow(hWnd)) return FALSE;

    // This first message has already passed the dialog's window procedure, so it is handed to the
    // object here; its default processing reaches the dialog manager through the subclassed
    // procedure, which must not repeat it when this returns.
    const LRESULT lResult = AfxCallWndProc(pDialog, hWnd, message, wParam, lParam);
    if (IsDirectResultMessage(message)) return static_cast<INT_PTR>(lResult);
    if (::IsWindow(hWnd)) ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
}
