#include "DisplayColours.h"

#include <cstdio>
#include <cstdlib>

bool IsShownAs(COLORREF clrShown, COLORREF clrRequested) {
    if (clrShown == CLR_INVALID) return false;
    const int nBits = DisplayColourBits();
    if (nBits < 16) {
        HDC hScreen = GetDC(nullptr);
        const COLORREF clrNearest = GetNearestColor(hScreen, clrRequested);
        ReleaseDC(nullptr, hScreen);
        return clrShown == clrNearest;
    }
    // Five bits keep a channel within 4 of what was asked (6 bits within 2).
    const int nTolerance = nBits < 24 ? 4 : 0;
    return std::abs(GetRValue(clrShown) - GetRValue(clrRequested)) <= nTolerance &&
           std::abs(GetGValue(clrShown) - GetGValue(clrRequested)) <= nTolerance &&
           std::abs(GetBValue(clrShown) - GetBValue(clrRequested)) <= nTolerance;
}

std::string DescribeColour(COLORREF clr) {
    if (clr == CLR_INVALID) return "no colour";
    char text[32];
    std::snprintf(text, sizeof(text), "RGB(%d, %d, %d)", GetRValue(clr), GetGValue(clr),
                  GetBValue(clr));
    return text;
}
