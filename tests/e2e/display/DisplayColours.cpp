#include "DisplayColours.h"

#include <cstdio>

int DisplayColourBits() {
    HWND hDesktop = GetDesktopWindow();
    HDC hDc = GetDC(hDesktop);
    const int nBits = GetDeviceCaps(hDc, PLANES) * GetDeviceCaps(hDc, BITSPIXEL);
    ReleaseDC(hDesktop, hDc);
    return nBits;
}

bool IsPaletteDisplay() { return DisplayColourBits() < 16; }

COLORREF RequestedDialogBackground() {
    return IsPaletteDisplay() ? PALETTE_DIALOG_BACKGROUND : HIGH_COLOUR_DIALOG_BACKGROUND;
}

COLORREF ShownColour(COLORREF clrRequested) {
    HDC hScreen = GetDC(nullptr);
    const COLORREF clrShown = GetNearestColor(hScreen, clrRequested);
    ReleaseDC(nullptr, hScreen);
    return clrShown;
}

std::string DescribeColour(COLORREF clr) {
    if (clr == CLR_INVALID) return "no colour";
    char text[32];
    std::snprintf(text, sizeof(text), "RGB(%d, %d, %d)", GetRValue(clr), GetGValue(clr),
                  GetBValue(clr));
    return text;
}
