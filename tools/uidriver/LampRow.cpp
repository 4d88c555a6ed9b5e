#include "LampRow.h"

namespace {

constexpr int MAX_LAMP_READS = 10;

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
