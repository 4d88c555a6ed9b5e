#pragma once
#include <vector>

#include "UiDriver.h"

// The row of progress lamps: lamp k is a dark picture and a lit one at the same place, one of
// them shown.
struct LampRowView {
    std::vector<int> aLit;      // indexes of the lamps whose lit picture shows
    int nDarkShown = 0;         // lamps whose dark picture shows
    std::vector<int> aDoubled;  // lamps showing both pictures at once
    bool AllDark() const { return aLit.empty() && nDarkShown == PANEL_LAMP_COUNT; }
    bool operator==(const LampRowView& other) const {
        return aLit == other.aLit && nDarkShown == other.nDarkShown && aDoubled == other.aDoubled;
    }
};

// The lamps are read one after another while the lamp worker may switch them; a row read the
// same twice in a row was not caught half-switched.
LampRowView ReadLampRow(const CUiDriver& ui);
