#include <windows.h>

#include <commctrl.h>
#include <dlgs.h>

#include "app/Environment.h"
#include "app/TransferDlg.h"
#include "app/WorkerThreads.h"
#include "copy/CardPaths.h"
#include "display/TransferPanelLayout.h"
#include "framework/AfxWin.h"

namespace {
// The two job records, reused by every copy.
CopyJob g_lampJob;
CopyJob g_copyJob;

void SetSystemCloseItem(HWND standardDialog, UINT state) {
    ::EnableMenuItem(::GetSystemMenu(standardDialog, FALSE), SC_CLOSE, MF_BYCOMMAND | state);
}
}  // namespace

UINT CopyWorkerProc(void* param) {
    CopyJob* job = static_cast<CopyJob*>(param);
    switch (job->code) {
        case COPY_JOB_LAMPS:
            job->owner->AnimateLamps();
            break;
        case COPY_JOB_RUN:
            job->owner->m_pCopy->Run();
            break;
        default:
            break;
    }
    return 1;
}

void CTransferDlg::OnCopy() {
    if (m_bBusy == 1 && m_bSelectAll == 0) return;  // a folder opened by double click is listed
    if (m_bCopying == 1) return;
    const std::vector<CardEntry> selection = SelectedEntries();
    if (selection.empty() && m_bSelectAll == 0) return;
    // Nothing else may be on the port: not a listing (status step, PARENT), not a stopping copy.
    if (!ReservePort(PORT_COPY)) return;
    // The lamps of the previous copy finish their last step before the new ones start.
    WaitForWorker(m_pLampWorker);

    m_bBusy = 1;
    m_bCopying = 1;
    SetItemText(PANEL_STATUS_LINE, m_uiText[6]);
    const int keyboard = KeyboardClass();
    TransferChunkSize = ChooseTransferChunkSize(keyboard, keyboard == 0 ? OsVersionClass() : 1);

    BitmapButtonSet* set = GetBitmapButtonSet(m_hWnd);
    if (!set) {
        FreePort();
        return;
    }
    SetBitmapButtonImages(set, PANEL_EXIT_STOP_BUTTON, StopPictures(DisplayMode));
    RepaintBitmapButton(m_hWnd, PANEL_EXIT_STOP_BUTTON);

    EnableItem(PANEL_CARD_LIST, FALSE);
    EnableItem(PANEL_PARENT_BUTTON, FALSE);
    EnableItem(PANEL_SELECT_ALL, FALSE);
    HWND standard = StandardDialog();
    ::EnableWindow(::GetDlgItem(standard, lst2), FALSE);
    ::EnableWindow(::GetDlgItem(standard, cmb2), FALSE);
    ::EnableWindow(FindStandardToolbar(standard), FALSE);

    g_lampJob.owner = this;
    g_lampJob.code = COPY_JOB_LAMPS;
    m_pLampWorker = StartKeptWorker(CopyWorkerProc, &g_lampJob);

    SetSystemCloseItem(standard, MF_DISABLED | MF_GRAYED);

    // The copy takes its items, their folder and the destination as they are now: the controls
    // that could change them are disabled until it ends. A whole-card copy takes the card, not
    // items still selected in the list.
    const std::string pathName = GetPathName();
    CopyOrder order;
    order.wholeCard = m_bSelectAll == 1;
    for (const CardEntry& entry : selection) order.items.push_back({m_strCardPath, entry});
    order.destination = order.wholeCard ? CutToParent(pathName) : CutLastComponent(pathName);
    m_bStopped = false;
    m_pCopy->Start(order);
    StartProgress();
    g_copyJob.owner = this;
    g_copyJob.code = COPY_JOB_RUN;
    if (!StartPortWorker(CopyWorkerProc, &g_copyJob)) OnCopyDone(CMD_COPY_DONE);
}

void CTransferDlg::OnStop() {
    if (m_bCopying != 1) {
        Close();
        return;
    }
    BitmapButtonSet* set = GetBitmapButtonSet(m_hWnd);
    if (!set) return;
    SetBitmapButtonImages(set, PANEL_EXIT_STOP_BUTTON, StopPictures(DisplayMode));
    RepaintBitmapButton(m_hWnd, PANEL_EXIT_STOP_BUTTON);
    EnableItem(PANEL_EXIT_STOP_BUTTON, FALSE);
    m_bCopying = 0;
    m_pCopy->Stop();
}

BOOL CTransferDlg::OnCopyDone(UINT) {
    if (m_bClosing) return TRUE;
    // Sending this was the copy worker's last act on the port.
    FreePort();
    EndProgress(m_bStopped);
    m_bBusy = 0;
    m_bCopying = 0;
    BitmapButtonSet* set = GetBitmapButtonSet(m_hWnd);
    if (!set) return FALSE;
    SetBitmapButtonImages(set, PANEL_EXIT_STOP_BUTTON, ExitPictures(DisplayMode));
    RepaintBitmapButton(m_hWnd, PANEL_EXIT_STOP_BUTTON);
    EnableItem(PANEL_EXIT_STOP_BUTTON, TRUE);
    HWND standard = StandardDialog();
    SetSystemCloseItem(standard, MF_ENABLED);
    EnableItem(PANEL_PARENT_BUTTON, !GetFolderLabel(m_strCardPath).empty());
    EnableItem(PANEL_CARD_LIST, TRUE);
    EnableItem(PANEL_SELECT_ALL, TRUE);
    ::EnableWindow(::GetDlgItem(standard, lst2), TRUE);
    ::EnableWindow(::GetDlgItem(standard, cmb2), TRUE);

    // A file appearing and going again in the shown folder makes its view refresh. A folder
    // that refuses the file (read-only) simply is not refreshed.
    // Made only where no file of that name exists, so a user's own is never emptied or removed.
    HANDLE marker = ::CreateFileA("~~tmp~", GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) {
        ::CloseHandle(marker);
        ::DeleteFileA("~~tmp~");
    }
    // A shell view that does not watch its folder (Wine's) refreshes on F5, as the user would.
    HWND view = ::GetDlgItem(::GetDlgItem(standard, lst2), 1);
    ::SendMessageA(view, WM_KEYDOWN, VK_F5, 0);
    ::SendMessageA(view, WM_KEYUP, VK_F5, 0);
    ::EnableWindow(FindStandardToolbar(standard), TRUE);
    return TRUE;
}
