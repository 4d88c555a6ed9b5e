#pragma once

#include <windows.h>

#include <cstdint>

// One picture in memory: a single block from the general heap holding the 40-byte info header,
// DibColorCount colour-table entries and biSizeImage bytes of bottom-up pixel rows.
struct PackedDib {
    BITMAPINFOHEADER header;
    // colour table and pixel bits follow in the same block
};

// Limits that keep a hostile file from making us allocate or read absurd amounts.
constexpr uint64_t DIB_MAX_BITS_SIZE = 64ull << 20;
constexpr LONG DIB_MAX_SIDE = 16384;
constexpr DWORD DIB_MAX_COLORS = 256;

// Colour-table entries of a header: biClrUsed (low 16 bits) when set, otherwise a full table
// for 1 to 8 bits per pixel and none above.
DWORD DibColorCount(const BITMAPINFOHEADER& header);

// Bytes of pixel data for the header's width, bit count and height, rows padded to 4 bytes;
// 0 when the product is out of range.
uint64_t DibBitsSizeFor(const BITMAPINFOHEADER& header);

inline const BITMAPINFO* DibInfo(const PackedDib* dib) {
    return reinterpret_cast<const BITMAPINFO*>(dib);
}
inline const RGBQUAD* DibColorTable(const PackedDib* dib) {
    return reinterpret_cast<const RGBQUAD*>(reinterpret_cast<const BYTE*>(dib) +
                                            dib->header.biSize);
}
// With biSize fixed at 40 and at most 256 colours this offset never nears 65536.
inline const BYTE* DibBits(const PackedDib* dib) {
    return reinterpret_cast<const BYTE*>(dib) + dib->header.biSize + 4 * DibColorCount(dib->header);
}

// Reads an uncompressed bitmap file with the 40-byte info header (OpenFile and the _l calls, so a
// bare name is searched for as the platform does). Returns nothing for a file that is missing,
// short, of another type or whose fields do not describe what it holds.
PackedDib* LoadDibFile(const char* name);

void FreeDib(PackedDib* dib);
