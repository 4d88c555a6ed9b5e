#include "LaidOutControls.h"

#include <cstdio>

#include "display/PanelIds.h"

namespace {

constexpr DWORD SEND_TIMEOUT_MS = 5000;

bool IsDropDownComboBox(HWND hWnd) {
    char className[32] = "";
    GetClassNameA(hWnd, className, sizeof(className));
    return lstrcmpiA(className, "ComboBox") == 0 &&
           (GetWindowLongA(hWnd, GWL_STYLE) & 3) != CBS_SIMPLE;
}

// A drop-down combo box keeps its closed height whatever height it is given; the rest of that
// height goes to the list that drops down. Wine reports that list's extent without the closed
// box (CB_GETDROPPEDCONTROLRECT), so the two together make the height that was given.
int GivenComboHeight(HWND hCombo, int nClosedHeight) {
    RECT dropped = {0, 0, 0, 0};  // the message is carried across processes with its rectangle
    DWORD_PTR nResult = 0;
    if (!SendMessageTimeoutA(hCombo, CB_GETDROPPEDCONTROLRECT, 0,
                             reinterpret_cast<LPARAM>(&dropped), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                             SEND_TIMEOUT_MS, &nResult)) {
        return -1;
    }
    return nClosedHeight + (dropped.bottom - dropped.top);
}

bool SamePlace(const ControlPlace& a, const ControlPlace& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

}  // namespace

ControlPlace PlaceInClient(HWND hWnd, HWND hClientOf) {
    RECT rect = {0, 0, 0, 0};
    if (!hWnd || !GetWindowRect(hWnd, &rect)) return {-1, -1, -1, -1};
    MapWindowPoints(nullptr, hClientOf, reinterpret_cast<POINT*>(&rect), 2);
    ControlPlace place = {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    if (IsDropDownComboBox(hWnd)) place.height = GivenComboHeight(hWnd, place.height);
    return place;
}

std::string DescribePlace(const ControlPlace& place) {
    char text[64];
    std::snprintf(text, sizeof(text), "(%d, %d) %d x %d", place.x, place.y, place.width,
                  place.height);
    return text;
}

HWND StandardToolbar(HWND hStandardDialog) {
    HWND hHelp = GetDlgItem(hStandardDialog, STD_HELP_BUTTON);
    return hHelp ? GetWindow(hHelp, GW_HWNDNEXT) : nullptr;
}

std::vector<LaidOutControl> LaidOutControls(HWND hPanel, HWND hStandardDialog,
                                            const PanelLayout& layout) {
    auto inPanel = [&](const char* pszName, int nId, const ControlPlace& place) {
        return LaidOutControl{pszName, GetDlgItem(hPanel, nId), hPanel, place};
    };
    auto inDialog = [&](const char* pszName, HWND hWnd, const ControlPlace& place) {
        return LaidOutControl{pszName, hWnd, hStandardDialog, place};
    };
    std::vector<LaidOutControl> aControls = {
        inDialog("panel", hPanel, {0, 0, layout.panelWidth, layout.panelHeight}),
        inPanel("1006 \"Copy from\" label", PANEL_COPY_FROM_LABEL, layout.copyFromLabel),
        inPanel("1011 model label", PANEL_MODEL_LABEL, layout.modelLabel),
        inPanel("1017 card path", PANEL_CARD_PATH, layout.cardPath),
        inPanel("1010 PARENT", PANEL_PARENT_BUTTON, layout.parentButton),
        inPanel("1000 card list", PANEL_CARD_LIST, layout.cardList),
        inPanel("1002 COPY", PANEL_COPY_BUTTON, layout.copyButton),
        inPanel("1008 EXIT/STOP", PANEL_EXIT_STOP_BUTTON, layout.exitStopButton),
        inPanel("1007 \"copy to\" label", PANEL_COPY_TO_LABEL, layout.copyToLabel),
        inDialog("standard 1137 folder combo box", GetDlgItem(hStandardDialog, STD_FOLDER_COMBO),
                 layout.folderCombo),
        inDialog("standard toolbar", StandardToolbar(hStandardDialog), layout.toolbar),
        inDialog("standard 1120", GetDlgItem(hStandardDialog, STD_FILE_LIST), layout.fileList),
        inDialog("standard 1121 folder view", GetDlgItem(hStandardDialog, STD_FOLDER_VIEW),
                 layout.folderView),
        inPanel("1001 \"Select ALL\"", PANEL_SELECT_ALL, layout.selectAll),
        inPanel("1012 printer picture", PANEL_PRINTER_PICTURE, layout.printerPicture),
        inPanel("1013 monitor picture", PANEL_MONITOR_PICTURE, layout.monitorPicture),
        inPanel("1009 status line", PANEL_STATUS_LINE, layout.statusLine),
        inPanel("1015 logo", PANEL_LOGO_PICTURE, layout.logo),
        inPanel("3400 lamp-strip frame", PANEL_LAMP_FRAME, layout.lampFrame),
    };
    for (int k = 0; k < LAYOUT_LAMP_COUNT; ++k) {
        const std::string strLit = "lamp " + std::to_string(PANEL_LAMP_LIT_FIRST + k);
        const std::string strDark = "lamp " + std::to_string(PANEL_LAMP_DARK_FIRST + k);
        aControls.push_back(
            {strLit, GetDlgItem(hPanel, PANEL_LAMP_LIT_FIRST + k), hPanel, layout.lamps[k]});
        aControls.push_back(
            {strDark, GetDlgItem(hPanel, PANEL_LAMP_DARK_FIRST + k), hPanel, layout.lamps[k]});
    }
    return aControls;
}

::testing::AssertionResult AllAtTheirPlaces(const std::vector<LaidOutControl>& aControls) {
    std::string strWrong;
    for (const LaidOutControl& control : aControls) {
        if (!control.hWnd || !IsWindow(control.hWnd)) {
            strWrong += "\n  " + control.strName + ": not found";
            continue;
        }
        const ControlPlace actual = PlaceInClient(control.hWnd, control.hClientOf);
        if (!SamePlace(actual, control.expected)) {
            strWrong += "\n  " + control.strName + " is at " + DescribePlace(actual) +
                        ", expected " + DescribePlace(control.expected);
        }
    }
    if (strWrong.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "controls away from their places:" << strWrong;
}
