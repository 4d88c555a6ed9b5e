#include "UiDriver.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>

#include "RemoteMemory.h"

namespace {

constexpr size_t PATH_SIZE = 1024;
constexpr int SHELL_VIEW_LIST = 1;  // the list view inside the shell's folder view

}  // namespace

std::string CUiDriver::StandardFolderPath() const {
    CRemoteMemory remote(m_hProcess, PATH_SIZE);
    char text[PATH_SIZE] = "";
    LRESULT nLength = 0;
    if (!Send(m_hMainDialog, CDM_GETFOLDERPATH, PATH_SIZE, remote.AddressAt(0), &nLength) ||
        nLength <= 0 || !remote.Read(text, sizeof(text))) {
        return "";
    }
    text[PATH_SIZE - 1] = 0;
    return text;
}

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
