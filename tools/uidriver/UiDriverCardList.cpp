#include "UiDriver.h"

#include <commctrl.h>

#include <algorithm>

#include "RemoteMemory.h"
#include "Waiting.h"

namespace {

constexpr size_t ITEM_TEXT_SIZE = 260;
constexpr DWORD SELECTION_TIMEOUT_MS = 5000;

std::string Quoted(const std::vector<std::string>& aNames) {
    std::string strList;
    for (const std::string& strName : aNames) strList += " \"" + strName + "\"";
    return strList.empty() ? " nothing" : strList;
}

}  // namespace

std::ostream& operator<<(std::ostream& stream, const CardListItem& item) {
    return stream << "{\"" << item.strText << "\", image " << item.nImage << "}";
}

int CUiDriver::ItemCount() const {
    return static_cast<int>(SendOrZero(Control(PANEL_CARD_LIST), LVM_GETITEMCOUNT, 0, 0));
}

std::string CUiDriver::ListItemText(HWND hList, int nIndex) const {
    CRemoteMemory remote(m_hProcess, sizeof(LVITEMA) + ITEM_TEXT_SIZE);
    LVITEMA item = {};
    item.pszText = remote.Address() + sizeof(LVITEMA);
    item.cchTextMax = ITEM_TEXT_SIZE;
    char text[ITEM_TEXT_SIZE] = "";
    if (!remote.Write(&item, sizeof(item)) ||
        !Send(hList, LVM_GETITEMTEXTA, nIndex, remote.AddressAt(0), nullptr) ||
        !remote.Read(text, sizeof(text), sizeof(LVITEMA))) {
        return "";
    }
    text[ITEM_TEXT_SIZE - 1] = 0;
    return text;
}

std::string CUiDriver::ItemText(int nIndex) const {
    return ListItemText(Control(PANEL_CARD_LIST), nIndex);
}

int CUiDriver::ItemImage(int nIndex) const {
    CRemoteMemory remote(m_hProcess, sizeof(LVITEMA));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nIndex;
    item.iImage = -1;
    LRESULT nDone = 0;
    if (!remote.Write(&item, sizeof(item)) ||
        !Send(Control(PANEL_CARD_LIST), LVM_GETITEMA, 0, remote.AddressAt(0), &nDone) || !nDone ||
        !remote.Read(&item, sizeof(item))) {
        return -1;
    }
    return item.iImage;
}

std::vector<std::string> CUiDriver::ItemTexts() const {
    std::vector<std::string> aTexts;
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) aTexts.push_back(ItemText(i));
    return aTexts;
}

std::vector<CardListItem> CUiDriver::Items() const {
    std::vector<CardListItem> aItems;
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) aItems.push_back({ItemText(i), ItemImage(i)});
    return aItems;
}

int CUiDriver::FindItem(const std::string& strText) const {
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) {
        if (ItemText(i) == strText) return i;
    }
    return -1;
}

std::vector<std::string> CUiDriver::ItemTextsInReadingOrder() const {
    HWND hList = Control(PANEL_CARD_LIST);
    std::vector<std::pair<std::pair<LONG, LONG>, std::string>> aPlaced;
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) {
        RECT rect = {};
        ItemRect(hList, i, &rect);
        aPlaced.push_back({{rect.top, rect.left}, ItemText(i)});
    }
    std::sort(aPlaced.begin(), aPlaced.end());
    std::vector<std::string> aTexts;
    for (const auto& placed : aPlaced) aTexts.push_back(placed.second);
    return aTexts;
}

std::vector<std::string> CUiDriver::SelectedItems() const {
    std::vector<std::string> aSelected;
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) {
        if (SendOrZero(Control(PANEL_CARD_LIST), LVM_GETITEMSTATE, i, LVIS_SELECTED) &
            LVIS_SELECTED) {
            aSelected.push_back(ItemText(i));
        }
    }
    return aSelected;
}

bool CUiDriver::ItemRect(HWND hList, int nIndex, RECT* pRect) const {
    // The whole row may be wider than what the list hit-tests; the icon always counts.
    *pRect = {LVIR_ICON, 0, 0, 0};
    CRemoteMemory remote(m_hProcess, sizeof(RECT));
    LRESULT nDone = 0;
    return remote.Write(pRect, sizeof(RECT)) &&
           Send(hList, LVM_GETITEMRECT, nIndex, remote.AddressAt(0), &nDone) && nDone &&
           remote.Read(pRect, sizeof(RECT));
}

Outcome CUiDriver::ItemPoint(HWND hList, int nIndex, POINT* pPoint) {
    const Outcome reachable = Reachable(hList, "the list");
    if (!reachable) return reachable;
    if (nIndex < 0 || nIndex >= static_cast<int>(SendOrZero(hList, LVM_GETITEMCOUNT, 0, 0)))
        return Outcome::Failed("the list has no item " + std::to_string(nIndex));
    // A user scrolls an item into view before clicking it.
    SendOrZero(hList, LVM_ENSUREVISIBLE, nIndex, FALSE);
    RECT rect;
    if (!ItemRect(hList, nIndex, &rect))
        return Outcome::Failed("the place of item " + std::to_string(nIndex) + " is unknown");
    pPoint->x = (rect.left + rect.right) / 2;
    pPoint->y = (rect.top + rect.bottom) / 2;
    return Outcome::Done();
}

Outcome CUiDriver::PostClicks(HWND hList, POINT point, bool bDouble, WPARAM nKeys) {
    const LPARAM nWhere = MAKELPARAM(point.x, point.y);
    bool bPosted = PostMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON | nKeys, nWhere) &&
                   PostMessageA(hList, WM_LBUTTONUP, nKeys, nWhere);
    if (bDouble) {
        bPosted = bPosted && PostMessageA(hList, WM_LBUTTONDBLCLK, MK_LBUTTON | nKeys, nWhere) &&
                  PostMessageA(hList, WM_LBUTTONUP, nKeys, nWhere);
    }
    return bPosted ? Outcome::Done() : Outcome::Failed("the mouse messages could not be posted");
}

Outcome CUiDriver::ClickItem(int nIndex) {
    POINT point;
    const Outcome found = ItemPoint(Control(PANEL_CARD_LIST), nIndex, &point);
    return found ? PostClicks(Control(PANEL_CARD_LIST), point, false) : found;
}

Outcome CUiDriver::DoubleClickItem(int nIndex) {
    POINT point;
    const Outcome found = ItemPoint(Control(PANEL_CARD_LIST), nIndex, &point);
    return found ? PostClicks(Control(PANEL_CARD_LIST), point, true) : found;
}

Outcome CUiDriver::DoubleClickItem(const std::string& strText) {
    const int nIndex = FindItem(strText);
    if (nIndex < 0) return Outcome::Failed("the card list shows no \"" + strText + "\"");
    return DoubleClickItem(nIndex);
}

Outcome CUiDriver::SelectItems(const std::vector<std::string>& aNames) {
    for (size_t i = 0; i < aNames.size(); ++i) {
        const int nIndex = FindItem(aNames[i]);
        if (nIndex < 0) return Outcome::Failed("the card list shows no \"" + aNames[i] + "\"");
        POINT point;
        const Outcome found = ItemPoint(Control(PANEL_CARD_LIST), nIndex, &point);
        if (!found) return found;
        const Outcome clicked =
            PostClicks(Control(PANEL_CARD_LIST), point, false, i == 0 ? 0 : MK_CONTROL);
        if (!clicked) return clicked;
    }
    std::vector<std::string> aWanted = aNames;
    std::sort(aWanted.begin(), aWanted.end());
    std::vector<std::string> aSelected;
    const bool bSelected = WaitUntil(
        [&] {
            aSelected = SelectedItems();
            std::sort(aSelected.begin(), aSelected.end());
            return aSelected == aWanted;
        },
        SELECTION_TIMEOUT_MS);
    return bSelected ? Outcome::Done()
                     : Outcome::Failed("the list has selected" + Quoted(aSelected));
}

Outcome CUiDriver::WaitForListing(const std::vector<std::string>& aNames, DWORD dwTimeoutMs) {
    // The list is filled, then the status line cleared, in one handler of the window thread.
    std::vector<std::string> aShown;
    std::string strStatus;
    const bool bShown = WaitUntil(
        [&] {
            aShown = ItemTexts();
            strStatus = ControlText(PANEL_STATUS_LINE);
            return aShown == aNames && strStatus.empty();
        },
        dwTimeoutMs);
    if (bShown) return Outcome::Done();
    return Outcome::Failed("the card list shows" + Quoted(aShown) + ", the status line \"" +
                           strStatus + "\"");
}

Outcome CUiDriver::WaitForRootListed(DWORD dwTimeoutMs) {
    // Before the listing has begun the status line is empty too; the listed items tell.
    if (WaitUntil(
            [&] {
                return ItemCount() > 0 && !IsEnabled(PANEL_PARENT_BUTTON) &&
                       IsEnabled(PANEL_COPY_BUTTON) && ControlText(PANEL_STATUS_LINE).empty();
            },
            dwTimeoutMs)) {
        return Outcome::Done();
    }
    return Outcome::Failed("the card's root was not listed; the status line says \"" +
                           ControlText(PANEL_STATUS_LINE) + "\"");
}
