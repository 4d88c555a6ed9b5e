#pragma once

// Card names come from the printer and are untrusted. A name is safe as a PC file or folder
// name when it cannot leave its folder, is not a device, has a base name (no leading dot) and
// has no character the PC refuses.
bool IsSafePcName(const char* name);

// The name of a wire record, by the printer's own rule, the one the card list, the walks and the
// printer's requests all use: the base name without its trailing spaces, then a dot and the
// extension without its trailing spaces when there is one. A NUL byte, which would cut the name
// short, becomes a control character, so that the name is never safe.
void CardNameFromWire(const unsigned char* wire, char name[13]);

// The card name of a wire record when it is safe as a PC name; false (and an empty name) if not.
bool PcNameFromWire(const unsigned char* wire, char name[13]);
