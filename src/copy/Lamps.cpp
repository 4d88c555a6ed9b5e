#include "app/TransferDlg.h"

namespace {
constexpr DWORD LAMP_STEP_MS = 600;
}

// Shows one picture of a lamp in place of the other. The panel paints over its children (it has
// no WS_CLIPCHILDREN), so the place the hidden picture leaves is painted first; otherwise that
// late paint would wipe the picture just shown.
void CTransferDlg::SwapLampPicture(int hideId, int showId) {
    ::ShowWindow(Item(hideId), SW_HIDE);
    ::UpdateWindow(m_hWnd);
    HWND shown = Item(showId);
    ::ShowWindow(shown, SW_SHOW);
    ::UpdateWindow(shown);
}

// Runs on the lamp worker: one lamp lit at a time, left to right, while a copy runs.
void CTransferDlg::AnimateLamps() {
    int k = 0;
    do {
        SwapLampPicture(PANEL_LAMP_DARK_FIRST + k, PANEL_LAMP_LIT_FIRST + k);
        Sleep(LAMP_STEP_MS);
        SwapLampPicture(PANEL_LAMP_LIT_FIRST + k, PANEL_LAMP_DARK_FIRST + k);
        k = (k + 1) % PANEL_LAMP_COUNT;
    } while (m_bCopying != 0);
}
