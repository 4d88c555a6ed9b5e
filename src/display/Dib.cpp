#include "display/Dib.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD FILE_HEADER_SIZE = 14;
constexpr DWORD INFO_HEADER_SIZE = 40;
constexpr WORD BITMAP_FILE_TYPE = 0x4D42;  // "BM"

// Closes the file on every way out of the reader.
class CDibFile {
public:
    explicit CDibFile(const char* name) {
        OFSTRUCT info;
        std::memset(&info, 0, sizeof info);
        m_hFile = OpenFile(name, &info, OF_READ);
    }
    ~CDibFile() {
        if (IsOpen()) _lclose(m_hFile);
    }
    CDibFile(const CDibFile&) = delete;
    CDibFile& operator=(const CDibFile&) = delete;

    bool IsOpen() const { return m_hFile != HFILE_ERROR; }
    bool Read(void* buffer, UINT size) { return _lread(m_hFile, buffer, size) == size; }
    bool SeekTo(LONG offset) { return _llseek(m_hFile, offset, FILE_BEGIN) == offset; }
    // Length of the file, the position left at the start; -1 when it cannot be told.
    int64_t Length() {
        LONG end = _llseek(m_hFile, 0, FILE_END);
        if (end < 0 || !SeekTo(0)) return -1;
        return end;
    }

private:
    HFILE m_hFile;
};

uint32_t ReadLe32(const BYTE* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool IsSupportedBitCount(WORD bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

}  // namespace

DWORD DibColorCount(const BITMAPINFOHEADER& header) {
    DWORD used = header.biClrUsed & 0xFFFF;
    if (used != 0) return used;
    if (header.biBitCount > 8) return 0;
    return DWORD(1) << header.biBitCount;
}

uint64_t DibBitsSizeFor(const BITMAPINFOHEADER& header) {
    if (header.biWidth <= 0 || header.biHeight <= 0) return 0;
    uint64_t rowBytes = (uint64_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    return rowBytes * uint64_t(header.biHeight);
}

PackedDib* LoadDibFile(const char* name) {
    CDibFile file(name);
    if (!file.IsOpen()) return nullptr;
    const int64_t fileLength = file.Length();
    if (fileLength < 0) return nullptr;

    BYTE fileHeader[FILE_HEADER_SIZE];
    if (!file.Read(fileHeader, FILE_HEADER_SIZE)) return nullptr;
    if ((fileHeader[0] | fileHeader[1] << 8) != BITMAP_FILE_TYPE) return nullptr;
    const uint32_t offBits = ReadLe32(fileHeader + 10);

    BITMAPINFOHEADER header;
    if (!file.Read(&header, INFO_HEADER_SIZE)) return nullptr;
    // Only the plain 40-byte header: the core header and the longer ones are refused.
    if (header.biSize != INFO_HEADER_SIZE) return nullptr;
    if (header.biCompression != BI_RGB || !IsSupportedBitCount(header.biBitCount)) return nullptr;
    if (header.biWidth <= 0 || header.biHeight <= 0 || header.biWidth > DIB_MAX_SIDE ||
        header.biHeight > DIB_MAX_SIDE)
        return nullptr;
    if (header.biClrUsed > DIB_MAX_COLORS) return nullptr;

    const DWORD colorCount = DibColorCount(header);
    if (header.biClrUsed == 0) header.biClrUsed = colorCount;

    // The drawing reads a full image's rows, so the bits must cover them whatever the file says.
    const uint64_t neededBits = DibBitsSizeFor(header);
    if (neededBits == 0 || neededBits > DIB_MAX_BITS_SIZE) return nullptr;
    if (header.biSizeImage == 0) header.biSizeImage = DWORD(neededBits);
    if (header.biSizeImage < neededBits || header.biSizeImage > DIB_MAX_BITS_SIZE) return nullptr;

    const uint64_t tableSize = uint64_t(colorCount) * 4;
    const uint64_t tableEnd = FILE_HEADER_SIZE + INFO_HEADER_SIZE + tableSize;
    const uint64_t bitsStart = offBits != 0 ? offBits : tableEnd;
    if (tableEnd > uint64_t(fileLength) || bitsStart + header.biSizeImage > uint64_t(fileLength))
        return nullptr;

    const uint64_t blockSize = INFO_HEADER_SIZE + tableSize + header.biSizeImage;
    auto* block = static_cast<BYTE*>(std::malloc(size_t(blockSize)));
    if (block == nullptr) return nullptr;
    std::memcpy(block, &header, INFO_HEADER_SIZE);

    bool complete = file.Read(block + INFO_HEADER_SIZE, UINT(tableSize));
    if (complete && offBits != 0) complete = file.SeekTo(LONG(offBits));
    if (complete) complete = file.Read(block + INFO_HEADER_SIZE + tableSize, header.biSizeImage);
    if (!complete) {
        std::free(block);
        return nullptr;
    }
    return reinterpret_cast<PackedDib*>(block);
}

void FreeDib(PackedDib* dib) { std::free(dib); }
