#include "framework/FileDialog.h"

#include <cstring>
#include <vector>

#include "framework/WinApp.h"

CFileDialog::CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt, const char* lpszFileName,
                         DWORD dwFlags, const char* lpszFilter, CWnd* pParentWnd)
    : CDialog(pParentWnd), m_bOpenFileDialog(bOpenFileDialog) {
    std::memset(&m_ofn, 0, sizeof(m_ofn));
    std::memset(m_szFileName, 0, sizeof(m_szFileName));
    std::memset(m_szInitialDir, 0, sizeof(m_szInitialDir));

    // The version-4 structure: the classic dialog with a plain file-name box and no places bar.
    m_ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.Flags = dwFlags | OFN_ENABLEHOOK | OFN_EXPLORER;
    m_ofn.lpfnHook = &HookProc;

    if (lpszFileName != nullptr) ::lstrcpynA(m_szFileName, lpszFileName, MAX_PATH);
    m_ofn.lpstrFile = m_szFileName;
    m_ofn.nMaxFile = MAX_PATH;

    if (lpszDefExt != nullptr) {
        m_strDefExt = lpszDefExt;
        m_ofn.lpstrDefExt = m_strDefExt.c_str();
    }
    if (lpszFilter != nullptr) {
        // "A|*.a|B|*.b||" becomes the platform's list of NUL-terminated strings.
        m_strFilter = lpszFilter;
        for (char& c : m_strFilter)
            if (c == '|') c = '\0';
        m_strFilter.push_back('\0');
        m_ofn.lpstrFilter = m_strFilter.c_str();
    }
}

UINT_PTR CALLBACK CFileDialog::HookProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return static_cast<UINT_PTR>(AfxDlgProc(hWnd, message, wParam, lParam));
}

INT_PTR CFileDialog::DoModal() {
    m_ofn.hwndOwner = PreModal();
    const BOOL bChosen =
        m_bOpenFileDialog ? ::GetOpenFileNameA(&m_ofn) : ::GetSaveFileNameA(&m_ofn);
    PostModal();
    return bChosen ? IDOK : IDCANCEL;
}

std::string CFileDialog::GetPathName() const {
    HWND hDialog = m_hWnd != nullptr ? ::GetParent(m_hWnd) : nullptr;
    if (hDialog == nullptr) return m_szFileName;

    std::vector<char> path(MAX_PATH);
    for (;;) {
        const LRESULT nNeeded =
            ::SendMessageA(hDialog, CDM_GETFILEPATH, static_cast<WPARAM>(path.size()),
                           reinterpret_cast<LPARAM>(path.data()));
        if (nNeeded < 0) return m_szFileName;
        if (static_cast<size_t>(nNeeded) <= path.size()) return path.data();
        path.assign(static_cast<size_t>(nNeeded), '\0');
    }
}

namespace {
const char STANDARD_OWNER_PROPERTY[] = "CFileDialog";
}

// Every way of closing the standard dialog ends in its IDCANCEL command (Esc, WM_CLOSE, Alt+F4 and
// the Close item through WM_CLOSE); the child decides whether it goes through.
BOOL CFileDialog::OnInitDialog() {
    HWND hStandard = ::GetParent(m_hWnd);
    if (hStandard != nullptr && ::SetPropA(hStandard, STANDARD_OWNER_PROPERTY, this)) {
        m_pfnStandardProc = reinterpret_cast<WNDPROC>(::SetWindowLongPtrA(
            hStandard, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StandardDialogProc)));
    }
    return CDialog::OnInitDialog();
}

LRESULT CALLBACK CFileDialog::StandardDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* pDialog = static_cast<CFileDialog*>(::GetPropA(hWnd, STANDARD_OWNER_PROPERTY));
    if (pDialog == nullptr) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const WNDPROC pfnNext = pDialog->m_pfnStandardProc;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && pDialog->m_hWnd != nullptr &&
        !pDialog->OnCloseRequest()) {
        return 0;
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(pfnNext));
        ::RemovePropA(hWnd, STANDARD_OWNER_PROPERTY);
        pDialog->m_pfnStandardProc = nullptr;
    }
    return ::CallWindowProcA(pfnNext, hWnd, message, wParam, lParam);
}

BOOL CFileDialog::OnCloseRequest() { return TRUE; }
