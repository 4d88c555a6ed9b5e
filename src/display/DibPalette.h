#pragma once

#include "display/Dib.h"

// A logical palette from the picture's colour table (PC_NOCOLLAPSE entries), the stock default
// palette when the picture has no table, nothing when memory runs out.
HPALETTE CreateDibPalette(const PackedDib* dib);

// A movable global block holding the picture's header followed by the 16-bit indexes 0..n-1, so
// that colour i is drawn with entry i of the selected logical palette (DIB_PAL_COLORS). Nothing
// when the picture has no colour table or memory runs out. The caller frees it with GlobalFree.
HGLOBAL MakePalIndexHeader(const PackedDib* dib);
