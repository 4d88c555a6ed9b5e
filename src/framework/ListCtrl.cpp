#include "framework/ListCtrl.h"

#include <vector>

int CListCtrl::GetItemCount() const {
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

UINT CListCtrl::GetSelectedCount() const {
    return static_cast<UINT>(::SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0));
}

UINT CListCtrl::GetItemState(int nItem, UINT nMask) const {
    return static_cast<UINT>(::SendMessageA(m_hWnd, LVM_GETITEMSTATE, nItem, nMask));
}

std::string CListCtrl::GetItemText(int nItem, int nSubItem) const {
    // The control copies at most the buffer's size less one and says how much it copied.
    std::vector<char> text(64);
    for (;;) {
        LVITEMA item = {};
        item.iSubItem = nSubItem;
        item.pszText = text.data();
        item.cchTextMax = static_cast<int>(text.size());
        const LRESULT n = ::SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nItem, reinterpret_cast<LPARAM>(&item));
        if (n < static_cast<LRESULT>(text.size()) - 1) return std::string(text.data(), static_cast<size_t>(n));
        text.resize(text.size() * 2);
    }
}

int CListCtrl::InsertItem(int nItem, const char* lpszItem, int nImage) {
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE;
    item.iItem = nItem;
    item.pszText = const_cast<char*>(lpszItem);
    item.iImage = nImage;
    return static_cast<int>(::SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

BOOL CListCtrl::DeleteAllItems() { return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0)); }

BOOL CListCtrl::Arrange(UINT nCode) { return static_cast<BOOL>(::SendMessageA(m_hWnd, LVM_ARRANGE, nCode, 0)); }

HIMAGELIST CListCtrl::SetImageList(HIMAGELIST hImageList, int nImageListType) {
    return reinterpret_cast<HIMAGELIST>(
        ::SendMessageA(m_hWnd, LVM_SETIMAGELIST, nImageListType, reinterpret_cast<LPARAM>(hImageList)));
}
