#include <windows.h>

#include <commctrl.h>

#include "app/TransferDlg.h"
#include "app/WorkerThreads.h"
#include "copy/CardPaths.h"

BOOL CTransferDlg::OnConnect(UINT) {
    if (!ReservePort(PORT_CONNECT)) return TRUE;
    m_linkJob.code = LINK_JOB_CONNECT;
    StartPortWorker(LinkWorkerProc, &m_linkJob);
    return TRUE;
}

// The folder to list was reserved by whoever asked: the connect step (its last act is this
// command), a double click or PARENT.
BOOL CTransferDlg::OnListFolder(UINT) {
    if (m_portUse == PORT_CONNECT) m_portUse = PORT_LIST;
    if (m_portUse != PORT_LIST || m_bClosing) return TRUE;
    EnableItem(PANEL_PARENT_BUTTON, FALSE);
    // COPY must take its items and their folder from one listing: it waits for the listing.
    EnableItem(PANEL_COPY_BUTTON, FALSE);
    SetItemText(PANEL_CARD_PATH, GetFolderLabel(m_strCardPath).c_str());
    SetItemText(PANEL_STATUS_LINE, m_uiText[7]);
    m_linkJob.code = LINK_JOB_LIST;
    if (!StartPortWorker(LinkWorkerProc, &m_linkJob)) {
        m_bBusy = 0;  // as after a listing that found nothing: the old folder's items are not in this one
        m_cardEntries.clear();
        FillCardList(m_cardEntries);
    }
    return TRUE;
}

BOOL CTransferDlg::OnListingArrived(UINT) {
    if (m_bClosing || m_portUse != PORT_LIST) return TRUE;
    // The listing's last act was this report: once its worker is gone the entries are whole.
    WaitForWorker(m_pPortWorker);
    m_cardEntries = m_pLink->TakeEntries();
    FreePort();
    m_bBusy = 0;
    FillCardList(m_cardEntries);
    return TRUE;
}

void CTransferDlg::FillCardList(const std::vector<CardEntry>& entries) {
    m_cardList.DeleteAllItems();
    for (const CardEntry& entry : entries) m_cardList.InsertItem(0, entry.name, entry.IsFolder() ? 1 : 0);
    // The control sorts its items but places each at the next free spot as it comes, which is
    // the card's own order: arranging shows them in the order they are held.
    m_cardList.Arrange(LVA_DEFAULT);
    SetItemText(PANEL_STATUS_LINE, "");
    EnableItem(PANEL_COPY_BUTTON, TRUE);
    EnableItem(PANEL_EXIT_STOP_BUTTON, TRUE);
    EnableItem(PANEL_PARENT_BUTTON, !GetFolderLabel(m_strCardPath).empty());
}

std::vector<CardEntry> CTransferDlg::SelectedEntries() const {
    std::vector<CardEntry> chosen;
    const int count = m_cardList.GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (!m_cardList.GetItemState(i, LVIS_SELECTED)) continue;
        const std::string text = m_cardList.GetItemText(i, 0);
        for (const CardEntry& entry : m_cardEntries) {
            if (text == entry.name) {
                chosen.push_back(entry);
                break;
            }
        }
    }
    return chosen;
}

void CTransferDlg::OnDblclkCardList(NMHDR*, LRESULT* result) {
    if (m_cardList.GetSelectedCount() != 1 || m_bBusy == 1) return;
    *result = 0;
    const std::vector<CardEntry> chosen = SelectedEntries();
    if (chosen.size() != 1 || !chosen[0].IsFolder()) return;  // a double click on a file does nothing
    const std::string path = JoinCardPath(m_strCardPath, chosen[0].name);
    if (!ReservePort(PORT_LIST)) return;
    if (!m_pLink->SetCardPath(path.c_str())) {  // a path the printer could not be asked for
        FreePort();
        return;
    }
    m_bBusy = 1;
    m_strCardPath = path;
    ::PostMessageA(m_hWnd, WM_COMMAND, CMD_LIST_FOLDER, 0);
}

void CTransferDlg::OnCardListQuiet(NMHDR*, LRESULT*) {}

void CTransferDlg::OnParent() {
    if (!ReservePort(PORT_LIST)) return;
    m_strCardPath = CutToParent(m_strCardPath);
    m_pLink->SetCardPath(m_strCardPath.c_str());
    SetItemText(PANEL_CARD_PATH, GetFolderLabel(m_strCardPath).c_str());
    ::PostMessageA(m_hWnd, WM_COMMAND, CMD_LIST_FOLDER, 0);
}

void CTransferDlg::OnSelectAll() {
    m_bSelectAll = ::SendMessageA(Item(PANEL_SELECT_ALL), BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

BOOL CTransferDlg::OnLinkError(UINT) {
    // The sender waits for this handler; the window goes once it has been answered and is gone.
    if (!m_bClosing && m_nErrorTextId != 0) ShowMessage(m_nErrorTextId);
    Close();
    return FALSE;
}
