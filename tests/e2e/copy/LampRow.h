#pragma once
#include <string>
#include <vector>

#include "UiDriver.h"

// The row of nine progress lamps: lamp k is a dark picture (519 + k) and a lit one (528 + k)
// at the same place, one of them shown.
constexpr int LAMP_COUNT = 9;
constexpr int LAMP_DARK_FIRST = 519;
constexpr int LAMP_LIT_FIRST = 528;

struct LampRowView {
    std::vector<int> aLit;      // indexes of the lamps whose lit picture shows
    int nDarkShown = 0;         // lamps whose dark picture shows
    std::vector<int> aDoubled;  // lamps showing both pictures at once
    bool AllDark() const { return aLit.empty() && nDarkShown == LAMP_COUNT; }
    bool operator==(const LampRowView& other) const {
        return aLit == other.aLit && nDarkShown == other.nDarkShown && aDoubled == other.aDoubled;
    }
};

// The lamps are read one after another while the lamp worker may switch them; a row read the
// same twice in a row was not caught half-switched.
LampRowView ReadLampRow(const CUiDriver& ui);
// Whether every lamp's two pictures exist and cover the same rectangle; the failure names one.
bool LampPicturesShareTheirPlaces(const CUiDriver& ui, std::string* pWhy);
