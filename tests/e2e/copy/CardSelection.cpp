#include "CardSelection.h"

#include <commctrl.h>

#include <algorithm>

#include "TestSupport.h"

namespace {

constexpr DWORD SELECTION_TIMEOUT_MS = 5000;

::testing::AssertionResult ControlClickItem(CUiDriver& ui, int nIndex) {
    HWND hList = ui.Control(CARD_LIST);
    if (!hList || !IsWindowVisible(hList) || !IsWindowEnabled(hList) ||
        !IsWindowEnabled(GetAncestor(hList, GA_ROOT))) {
        return ::testing::AssertionFailure() << "the card list cannot be reached";
    }
    RECT rect;
    if (!ui.ItemIconRect(nIndex, &rect)) {
        return ::testing::AssertionFailure() << "the place of item " << nIndex << " is unknown";
    }
    const LPARAM nWhere = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    if (!PostMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, nWhere) ||
        !PostMessageA(hList, WM_LBUTTONUP, MK_CONTROL, nWhere)) {
        return ::testing::AssertionFailure() << "the mouse messages could not be posted";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

std::vector<std::string> SelectedCardItems(const CUiDriver& ui) {
    std::vector<std::string> aSelected;
    const int nCount = ui.ItemCount();
    for (int i = 0; i < nCount; ++i) {
        if (ui.ItemState(i, LVIS_SELECTED) & LVIS_SELECTED) aSelected.push_back(ui.ItemText(i));
    }
    return aSelected;
}

::testing::AssertionResult SelectCardItems(CUiDriver& ui, const std::vector<std::string>& aNames) {
    std::vector<int> aIndexes;
    for (const std::string& strName : aNames) {
        const int nIndex = ui.FindItem(strName);
        if (nIndex < 0)
            return ::testing::AssertionFailure() << "the card list shows no \"" << strName << "\"";
        aIndexes.push_back(nIndex);
    }
    for (size_t i = 0; i < aIndexes.size(); ++i) {
        ::testing::AssertionResult clicked =
            i == 0 ? ui.ClickItem(aIndexes[i]) : ControlClickItem(ui, aIndexes[i]);
        if (!clicked) return clicked;
    }
    std::vector<std::string> aWanted = aNames;
    std::sort(aWanted.begin(), aWanted.end());
    std::vector<std::string> aSelected;
    if (WaitUntil(
            [&] {
                aSelected = SelectedCardItems(ui);
                std::sort(aSelected.begin(), aSelected.end());
                return aSelected == aWanted;
            },
            SELECTION_TIMEOUT_MS)) {
        return ::testing::AssertionSuccess();
    }
    std::string strSelected;
    for (const std::string& strName : aSelected) strSelected += " \"" + strName + "\"";
    return ::testing::AssertionFailure()
           << "the list has selected" << (strSelected.empty() ? " nothing" : strSelected);
}
