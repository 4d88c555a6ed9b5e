#include "display/TransferPanelLayout.h"

#include "display/PanelIds.h"

namespace {

// The panel's controls in the order they receive the font.
constexpr int FONT_ORDER_HEAD[] = {PANEL_LAMP_FRAME,      PANEL_MODEL_LABEL,     PANEL_CARD_LIST,
                                   PANEL_COPY_FROM_LABEL, PANEL_COPY_TO_LABEL,   PANEL_SELECT_ALL,
                                   PANEL_COPY_BUTTON,     PANEL_EXIT_STOP_BUTTON};
constexpr int FONT_ORDER_TAIL[] = {PANEL_STATUS_LINE,  PANEL_PRINTER_PICTURE, PANEL_MONITOR_PICTURE,
                                   PANEL_LOGO_PICTURE, PANEL_CARD_PATH,       PANEL_PARENT_BUTTON};

SIZE WindowSize(HWND window) {
    RECT r = {0, 0, 0, 0};
    if (window != nullptr) GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

HFONT StandardFont(HWND standardDialog) {
    HWND fileList = GetDlgItem(standardDialog, STD_FILE_LIST);
    HWND source = fileList != nullptr ? fileList : standardDialog;
    return reinterpret_cast<HFONT>(SendMessageA(source, WM_GETFONT, 0, 0));
}

void SendFont(HWND window, HFONT font) {
    if (window != nullptr) SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void Move(HWND window, const ControlPlace& place, BOOL repaint) {
    if (window != nullptr) MoveWindow(window, place.x, place.y, place.width, place.height, repaint);
}

void MovePanelControl(HWND panel, int id, const ControlPlace& place) {
    Move(GetDlgItem(panel, id), place, FALSE);
}

}  // namespace

HWND FindStandardToolbar(HWND standardDialog) {
    HWND help = GetDlgItem(standardDialog, STD_HELP_BUTTON);
    return help != nullptr ? GetWindow(help, GW_HWNDNEXT) : nullptr;
}

LayoutMeasures ReadLayoutMeasures(HWND panel, HWND standardDialog) {
    LayoutMeasures m{};
    TEXTMETRICA metrics{};
    HWND fileList = GetDlgItem(standardDialog, STD_FILE_LIST);
    if (fileList != nullptr) {
        // Whatever a fresh device context of the control carries, not the font it was given.
        HDC hdc = GetDC(fileList);
        GetTextMetricsA(hdc, &metrics);
        ReleaseDC(fileList, hdc);
    } else {
        // No control 1120 to measure: the standard dialog's own font stands in for it.
        HDC hdc = GetDC(standardDialog);
        HGDIOBJ previous = SelectObject(hdc, StandardFont(standardDialog));
        GetTextMetricsA(hdc, &metrics);
        SelectObject(hdc, previous);
        ReleaseDC(standardDialog, hdc);
    }
    m.c = metrics.tmAveCharWidth;
    m.h = metrics.tmHeight;
    m.cyCaption = GetSystemMetrics(SM_CYCAPTION);
    const SIZE parent = WindowSize(GetDlgItem(panel, PANEL_PARENT_BUTTON));
    m.parentW = parent.cx;
    m.parentH = parent.cy;
    m.cyBorder = GetSystemMetrics(SM_CYBORDER);
    const SIZE frame = WindowSize(GetDlgItem(panel, PANEL_LAMP_FRAME));
    m.frameW = frame.cx;
    m.frameH = frame.cy;
    const SIZE lamp = WindowSize(GetDlgItem(panel, PANEL_LAMP_LIT_FIRST));
    m.lampW = lamp.cx;
    m.lampH = lamp.cy;
    return m;
}

void ApplyPanelLayout(HWND panel, HWND standardDialog, const PanelLayout& layout) {
    SetWindowPos(standardDialog, nullptr, 0, 0, layout.width, layout.height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(panel, nullptr, 0, 0, layout.panelWidth, layout.panelHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    MovePanelControl(panel, PANEL_COPY_FROM_LABEL, layout.copyFromLabel);
    MovePanelControl(panel, PANEL_MODEL_LABEL, layout.modelLabel);
    MovePanelControl(panel, PANEL_CARD_PATH, layout.cardPath);
    MovePanelControl(panel, PANEL_PARENT_BUTTON, layout.parentButton);
    MovePanelControl(panel, PANEL_CARD_LIST, layout.cardList);
    MovePanelControl(panel, PANEL_COPY_BUTTON, layout.copyButton);
    MovePanelControl(panel, PANEL_EXIT_STOP_BUTTON, layout.exitStopButton);
    MovePanelControl(panel, PANEL_COPY_TO_LABEL, layout.copyToLabel);
    Move(GetDlgItem(standardDialog, STD_FOLDER_COMBO), layout.folderCombo, FALSE);
    Move(FindStandardToolbar(standardDialog), layout.toolbar, TRUE);
    Move(GetDlgItem(standardDialog, STD_FILE_LIST), layout.fileList, TRUE);
    Move(GetDlgItem(standardDialog, STD_FOLDER_VIEW), layout.folderView, TRUE);
    MovePanelControl(panel, PANEL_SELECT_ALL, layout.selectAll);
    MovePanelControl(panel, PANEL_PRINTER_PICTURE, layout.printerPicture);
    MovePanelControl(panel, PANEL_MONITOR_PICTURE, layout.monitorPicture);
    MovePanelControl(panel, PANEL_STATUS_LINE, layout.statusLine);
    MovePanelControl(panel, PANEL_LOGO_PICTURE, layout.logo);
    MovePanelControl(panel, PANEL_LAMP_FRAME, layout.lampFrame);
    for (int k = 0; k < LAYOUT_LAMP_COUNT; ++k) {
        MovePanelControl(panel, PANEL_LAMP_LIT_FIRST + k, layout.lamps[k]);
        MovePanelControl(panel, PANEL_LAMP_DARK_FIRST + k, layout.lamps[k]);
    }
}

int LayoutTransferPanel(HWND panel, HWND standardDialog) {
    HFONT font = StandardFont(standardDialog);
    SendFont(panel, font);
    for (int id : FONT_ORDER_HEAD) SendFont(GetDlgItem(panel, id), font);
    for (int k = 0; k < 2 * PANEL_LAMP_COUNT; ++k)
        SendFont(GetDlgItem(panel, PANEL_LAMP_DARK_FIRST + k), font);
    for (int id : FONT_ORDER_TAIL) SendFont(GetDlgItem(panel, id), font);

    ApplyPanelLayout(panel, standardDialog,
                     ComputePanelLayout(ReadLayoutMeasures(panel, standardDialog)));
    return 1;
}
