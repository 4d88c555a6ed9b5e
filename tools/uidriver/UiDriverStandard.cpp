#include "UiDriver.h"

#include <commctrl.h>

#include <algorithm>


namespace {

constexpr int SHELL_VIEW_LIST = 1;  // the list view inside the shell's folder view

}  // namespace

std::vector<std::string> CUiDriver::FolderViewNames() const {
    HWND hList = GetDlgItem(StandardControl(STD_FOLDER_VIEW), SHELL_VIEW_LIST);
    std::vector<std::string> aNames;
    const int nCount = static_cast<int>(SendOrZero(hList, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < nCount; ++i) aNames.push_back(ListItemText(hList, i));
    return aNames;
}

Outcome CUiDriver::DoubleClickFolderViewItem(const std::string& strName) {
    HWND hList = GetDlgItem(StandardControl(STD_FOLDER_VIEW), SHELL_VIEW_LIST);
    const std::vector<std::string> aNames = FolderViewNames();
    const auto found = std::find(aNames.begin(), aNames.end(), strName);
    if (found == aNames.end())
        return Outcome::Failed("the folder view shows no \"" + strName + "\"");
    POINT point;
    const Outcome placed = ItemPoint(hList, static_cast<int>(found - aNames.begin()), &point);
    return placed ? PostClicks(hList, point, true) : placed;
}
