#include "display/DibPalette.h"

#include <cstring>

HPALETTE CreateDibPalette(const PackedDib* dib) {
    const DWORD count = dib->header.biClrUsed & 0xFFFF;
    if (dib->header.biClrUsed == 0) return static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));

    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, 4 * count + 8);
    if (hBlock == nullptr) return nullptr;
    auto* palette = static_cast<LOGPALETTE*>(GlobalLock(hBlock));
    if (palette == nullptr) {
        GlobalFree(hBlock);
        return nullptr;
    }
    palette->palVersion = 0x300;
    palette->palNumEntries = WORD(count);
    const RGBQUAD* table = DibColorTable(dib);
    PALETTEENTRY* entries = palette->palPalEntry;
    for (DWORD i = 0; i < count; ++i) {
        entries[i].peRed = table[i].rgbRed;
        entries[i].peGreen = table[i].rgbGreen;
        entries[i].peBlue = table[i].rgbBlue;
        entries[i].peFlags = PC_NOCOLLAPSE;
    }
    HPALETTE hPalette = CreatePalette(palette);
    GlobalUnlock(hBlock);
    GlobalFree(hBlock);
    return hPalette;
}

HGLOBAL MakePalIndexHeader(const PackedDib* dib) {
    const DWORD count = dib->header.biClrUsed & 0xFFFF;
    if (dib->header.biClrUsed == 0) return nullptr;

    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE, dib->header.biSize + 2 * count);
    if (hBlock == nullptr) return nullptr;
    auto* bytes = static_cast<BYTE*>(GlobalLock(hBlock));
    if (bytes == nullptr) {
        GlobalFree(hBlock);
        return nullptr;
    }
    std::memcpy(bytes, &dib->header, sizeof(BITMAPINFOHEADER));
    auto* indexes = reinterpret_cast<WORD*>(bytes + dib->header.biSize);
    for (DWORD i = 0; i < count; ++i) indexes[i] = WORD(i);
    GlobalUnlock(hBlock);
    return hBlock;
}
