#pragma once
#include <string>

#include "copy/CopyUser.h"
#include "link/CardEntry.h"

// One line of a card listing, as the platform's dir writes it: date and time of the last write,
// "<DIR>" or the size, the name. A value that is no date leaves the date blank.
std::string ListingLine(const CardEntry& entry);

// A button of the overwrite question at the console: its label without the "&", and the letter
// after the "&" that answers it.
struct ButtonKey {
    std::string label;
    char key;
    OverwriteAnswer answer;
};
ButtonKey ButtonKeyOf(const std::string& label, OverwriteAnswer answer);
