#include "LampRow.h"

#include "ScreenCapture.h"

namespace {

constexpr int MAX_LAMP_READS = 10;
constexpr int PANEL_ROWS_ABOVE = 3;

LampRowView ReadLampsOnce(const CUiDriver& ui) {
    LampRowView view;
    for (int k = 0; k < PANEL_LAMP_COUNT; ++k) {
        const bool bLit = ui.IsVisible(PANEL_LAMP_LIT_FIRST + k);
        const bool bDark = ui.IsVisible(PANEL_LAMP_DARK_FIRST + k);
        if (bLit) view.aLit.push_back(k);
        view.nDarkShown += bDark;
        if (bLit && bDark) view.aDoubled.push_back(k);
    }
    return view;
}

}  // namespace

LampRowView ReadLampRow(const CUiDriver& ui) {
    LampRowView view = ReadLampsOnce(ui);
    for (int i = 1; i < MAX_LAMP_READS; ++i) {
        const LampRowView again = ReadLampsOnce(ui);
        if (again == view) break;
        view = again;
    }
    return view;
}

Outcome LampPicturesShareTheirPlaces(const CUiDriver& ui) {
    for (int k = 0; k < PANEL_LAMP_COUNT; ++k) {
        HWND hDark = ui.Control(PANEL_LAMP_DARK_FIRST + k);
        HWND hLit = ui.Control(PANEL_LAMP_LIT_FIRST + k);
        RECT dark, lit;
        if (!hDark || !hLit || !GetWindowRect(hDark, &dark) || !GetWindowRect(hLit, &lit))
            return Outcome::Failed("lamp " + std::to_string(k) + " lacks a picture");
        if (!EqualRect(&dark, &lit))
            return Outcome::Failed("lamp " + std::to_string(k) +
                                   " has its pictures in different places");
    }
    return Outcome::Done();
}

bool LampPainted(HWND hLamp) {
    RECT rect;
    if (!GetWindowRect(hLamp, &rect)) return false;
    const LONG x = (rect.left + rect.right) / 2;
    const CScreenCapture shown({x, rect.top - PANEL_ROWS_ABOVE, x + 1, rect.bottom});
    return shown.Pixel({x, (rect.top + rect.bottom) / 2}) !=
           shown.Pixel({x, rect.top - PANEL_ROWS_ABOVE});
}
