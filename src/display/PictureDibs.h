#pragma once

#include "display/Dib.h"
#include "display/PanelIds.h"

// The picture files of palette mode, by bare name, in slot order (printer, monitor, logo).
inline constexpr const char* PICTURE_FILE_NAMES[PICTURE_COUNT] = {
    "printer_8bit.bmp", "monitor_8bit.bmp", "kestrel_8bit.bmp"};

// Empties the slots (freeing what they held), then loads them in order; stops at the first file
// that fails, leaving it and the later slots empty. Returns 1 when all three loaded, else 0.
int LoadPictureDibs(PackedDib* slots[PICTURE_COUNT]);

// Frees every slot and leaves it empty.
void FreePictureDibs(PackedDib* slots[PICTURE_COUNT]);
