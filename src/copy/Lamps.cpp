#include "app/TransferDlg.h"

namespace {
constexpr DWORD LAMP_STEP_MS = 600;
}

// Runs on the lamp worker: one lamp lit at a time, left to right, while a copy runs.
void CTransferDlg::AnimateLamps() {
    int k = 0;
    do {
        ::ShowWindow(Item(PANEL_LAMP_DARK_FIRST + k), SW_HIDE);
        HWND lit = Item(PANEL_LAMP_LIT_FIRST + k);
        ::ShowWindow(lit, SW_SHOW);
        ::UpdateWindow(lit);
        Sleep(LAMP_STEP_MS);
        ::ShowWindow(lit, SW_HIDE);
        HWND dark = Item(PANEL_LAMP_DARK_FIRST + k);
        ::ShowWindow(dark, SW_SHOW);
        ::UpdateWindow(dark);
        k = (k + 1) % PANEL_LAMP_COUNT;
    } while (m_bCopying != 0);
}
