#include "LampRow.h"

namespace {

constexpr int MAX_LAMP_READS = 10;

LampRowView ReadLampsOnce(const CUiDriver& ui) {
    LampRowView view;
    for (int k = 0; k < LAMP_COUNT; ++k) {
        const bool bLit = ui.IsVisible(LAMP_LIT_FIRST + k);
        const bool bDark = ui.IsVisible(LAMP_DARK_FIRST + k);
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

bool LampPicturesShareTheirPlaces(const CUiDriver& ui, std::string* pWhy) {
    for (int k = 0; k < LAMP_COUNT; ++k) {
        HWND hDark = ui.Control(LAMP_DARK_FIRST + k);
        HWND hLit = ui.Control(LAMP_LIT_FIRST + k);
        RECT dark, lit;
        if (!hDark || !hLit || !GetWindowRect(hDark, &dark) || !GetWindowRect(hLit, &lit)) {
            *pWhy = "lamp " + std::to_string(k) + " lacks a picture";
            return false;
        }
        if (!EqualRect(&dark, &lit)) {
            *pWhy = "lamp " + std::to_string(k) + " has its pictures in different places";
            return false;
        }
    }
    return true;
}
