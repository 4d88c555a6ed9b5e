#pragma once

// Card names come from the printer and are untrusted. A name is safe as a PC file or folder
// name when it cannot leave its folder, is not a device, has a base name (no leading dot) and
// has no character the PC refuses.
bool IsSafePcName(const char* name);

// The PC name of a wire record: base name up to the first space, then a dot and the extension
// up to its first space when there is one. Returns false (and an empty name) for unsafe names.
bool PcNameFromWire(const unsigned char* wire, char name[13]);
