// CListCtrl: the common controls' list view, attached to an existing control (SubclassDlgItem).
// Item records cross the call as plain values; reading an item from another thread is a sent
// message like any other.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "framework/Wnd.h"

class CListCtrl : public CWnd {
public:
    int GetItemCount() const;
    UINT GetSelectedCount() const;
    UINT GetItemState(int nItem, UINT nMask) const;
    std::string GetItemText(int nItem, int nSubItem) const;
    // Inserts at nItem (a sorted list places it itself); returns the index it got, or -1.
    int InsertItem(int nItem, const char* lpszItem, int nImage);
    BOOL DeleteAllItems();
    // Places the items of an icon view in their index order.
    BOOL Arrange(UINT nCode);
    HIMAGELIST SetImageList(HIMAGELIST hImageList, int nImageListType);
};
