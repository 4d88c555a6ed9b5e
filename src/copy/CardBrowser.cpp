#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "app/TransferDlg.h"
#include "copy/CardPaths.h"
#include "link/InstanceFlags.h"

namespace {
void StartLinkWorker(LinkJob* job, LONG code) {
    job->code = code;
    AfxBeginThread(LinkWorkerProc, job, THREAD_PRIORITY_NORMAL, 0, 0, nullptr);
}
}  // namespace

std::vector<CardEntry> CTransferDlg::TakeEntries() const {
    std::vector<CardEntry> entries(m_pLink->GetEntryCount());
    m_pLink->CopyEntries(entries.data());
    return entries;
}

BOOL CTransferDlg::OnConnect(UINT) {
    StartLinkWorker(&m_linkJob, LINK_JOB_CONNECT);
    return TRUE;
}

BOOL CTransferDlg::OnListFolder(UINT) {
    if (m_bClosing) return TRUE;
    EnableItem(PANEL_PARENT_BUTTON, FALSE);
    // COPY must take its items and their folder from one listing, and the port carries one
    // exchange at a time: COPY waits for the listing to arrive.
    EnableItem(PANEL_COPY_BUTTON, FALSE);
    SetItemText(PANEL_CARD_PATH, GetFolderLabel(m_strCardPath).c_str());
    SetItemText(PANEL_STATUS_LINE, m_uiText[7]);
    StartLinkWorker(&m_linkJob, LINK_JOB_LIST);
    return TRUE;
}

BOOL CTransferDlg::OnListingArrived(UINT) {
    if (m_bClosing) return TRUE;
    m_bBusy = 0;
    FillCardList(TakeEntries());
    return TRUE;
}

void CTransferDlg::FillCardList(const std::vector<CardEntry>& entries) {
    HWND list = Item(PANEL_CARD_LIST);
    ::SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    for (const CardEntry& entry : entries) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = 0;
        item.pszText = const_cast<char*>(entry.name);
        item.iImage = entry.IsFolder() ? 1 : 0;
        ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    SetItemText(PANEL_STATUS_LINE, "");
    EnableItem(PANEL_COPY_BUTTON, TRUE);
    EnableItem(PANEL_EXIT_STOP_BUTTON, TRUE);
    EnableItem(PANEL_PARENT_BUTTON, !GetFolderLabel(m_strCardPath).empty());
}

void CTransferDlg::OnDblclkCardList(NMHDR*, LRESULT* result) {
    HWND list = Item(PANEL_CARD_LIST);
    if (::SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0) != 1 || m_bBusy == 1) return;
    m_bBusy = 1;
    *result = 0;

    const std::vector<CardEntry> entries = TakeEntries();
    const int count = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    int selected = 0;
    while (selected < count && !::SendMessageA(list, LVM_GETITEMSTATE, selected, LVIS_SELECTED)) ++selected;
    char text[16] = {};
    LVITEMA item = {};
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(list, LVM_GETITEMTEXTA, selected, reinterpret_cast<LPARAM>(&item));

    const CardEntry* match = nullptr;
    for (const CardEntry& entry : entries) {
        if (std::strcmp(entry.name, text) == 0) {
            match = &entry;
            break;
        }
    }
    const std::string path = match ? JoinCardPath(m_strCardPath, match->name) : "";
    if (!match || !match->IsFolder() || !m_pLink->SetCardPath(path.c_str())) {
        m_bBusy = 0;  // a file, or a path the printer could not be asked for
        return;
    }
    m_strCardPath = path;
    ::PostMessageA(m_hWnd, WM_COMMAND, CMD_LIST_FOLDER, 0);
}

void CTransferDlg::OnCardListQuiet(NMHDR*, LRESULT*) {}

void CTransferDlg::OnParent() {
    m_strCardPath = CutToParent(m_strCardPath);
    SetItemText(PANEL_CARD_PATH, GetFolderLabel(m_strCardPath).c_str());
    m_pLink->SetCardPath(m_strCardPath.c_str());
    ::PostMessageA(m_hWnd, WM_COMMAND, CMD_LIST_FOLDER, 0);
}

void CTransferDlg::OnSelectAll() {
    m_bSelectAll = ::SendMessageA(Item(PANEL_SELECT_ALL), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

BOOL CTransferDlg::OnLinkError(UINT) {
    if (m_bClosing) return FALSE;
    m_bClosing = 1;
    if (m_nErrorTextId != 0) ShowMessage(m_nErrorTextId);
    // The sender (a link or copy worker) waits for this handler; the window closes once it has
    // been answered, and a copy in flight stops first.
    m_bBusy = 0;
    m_bCopying = 0;
    ::PostMessageA(m_hWnd, WM_APP_CLOSE, 0, 0);
    return FALSE;
}

LRESULT CTransferDlg::OnCloseRequest(WPARAM, LPARAM) {
    DestroyWindow();
    return 0;
}
