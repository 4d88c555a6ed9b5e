#include <windows.h>

#include <commdlg.h>

#include "app/Environment.h"
#include "app/TransferDlg.h"

namespace {
// {control, help context} pairs for the help system, ending with {0, 0}.
const DWORD HelpIdMap[] = {
    1136, 2001, 1000, 2002, 1002, 2003, 1120, 2004, 1001, 2005,
    519,  2006, 520,  2006, 521,  2006, 522,  2006, 523,  2006, 524, 2006, 525, 2006,
    526,  2006, 527,  2006, 528,  2006, 529,  2006, 530,  2006, 531, 2006, 532, 2006,
    533,  2006, 534,  2006, 535,  2006, 536,  2006, 3400, 2006,
    1008, 2007, 1010, 2008, 1017, 2009, 0,    0,
};
}  // namespace

LRESULT CTransferDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // Deactivation is consumed; reactivation repaints the pictures (and their palettes).
            if (LOWORD(wParam) == WA_INACTIVE) return 1;
            if (reinterpret_cast<HWND>(lParam) != m_hWnd) ::InvalidateRect(m_hWnd, nullptr, FALSE);
            break;
        case WM_NOTIFY:
            // Nothing the user types or picks in the standard part may close the dialog.
            if (reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(CDN_FILEOK)) return 1;
            break;
        case WM_HELP:
            ShowHelp(static_cast<HWND>(reinterpret_cast<HELPINFO*>(lParam)->hItemHandle), HELP_FILE,
                     HELP_WM_HELP, reinterpret_cast<ULONG_PTR>(HelpIdMap));
            return 1;
        case WM_INITDIALOG: {
            const WORD ids[] = {PANEL_EXIT_STOP_BUTTON};
            const BitmapPicturePair pictures[] = {ExitPictures(DisplayMode)};
            StoreBitmapButtonSet(m_hWnd, CreateBitmapButtonSet(ids, pictures, 1, m_hLanguageModule));
            break;
        }
        default:
            break;
    }
    if (BitmapButtonSet* set = GetBitmapButtonSet(m_hWnd)) {
        if (BitmapButtonSetProc(m_hWnd, message, wParam, lParam, set)) return 1;
    }
    return CFileDialog::WindowProc(message, wParam, lParam);
}

void CTransferDlg::OnContextMenu(HWND window, POINT) {
    ShowHelp(window, HELP_FILE, HELP_CONTEXTMENU, reinterpret_cast<ULONG_PTR>(HelpIdMap));
}

HCURSOR CTransferDlg::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(m_hIcon); }
