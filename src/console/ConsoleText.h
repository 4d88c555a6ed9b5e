#pragma once
#include <cstdio>
#include <string>
#include <vector>

#include "link/CardEntry.h"

// One line of a card listing, as the platform's dir writes it: date and time of the last write,
// "<DIR>" or the size, the name. A value that is no date leaves the date blank.
std::string ListingLine(const CardEntry& entry);

// A button of a question at the console: its label without the "&", the letter after the "&"
// that answers it, and the answer it stands for.
struct ButtonKey {
    std::string label;
    char key;
    int answer;
};
ButtonKey ButtonKeyOf(const std::string& label, int answer);
// "[Y] Yes  [A] Yes to all: "
std::string KeysPrompt(const std::vector<ButtonKey>& keys);

// Writes text in the program's code page to stdout or stderr. A console shows its own code page,
// not the program's (an OEM one beside an ANSI one): there the text goes as Unicode.
void Say(FILE* stream, const std::string& text);
