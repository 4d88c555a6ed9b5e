// Bitmap files read by the palette-mode picture path: real files in a temporary folder, read
// through the same OpenFile/_lread calls the program uses.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Files.h"
#include "display/Dib.h"
#include "display/DibPalette.h"
#include "display/PictureDibs.h"

namespace {

// What goes into a test file; the defaults make a valid 8-bit 5 x 3 picture.
struct BmpFields {
    char type[2] = {'B', 'M'};
    uint32_t offBits = 0xFFFFFFFF;  // all ones: the real offset of the bits
    uint32_t infoSize = 40;
    int32_t width = 5;
    int32_t height = 3;
    uint16_t planes = 1;
    uint16_t bitCount = 8;
    uint32_t compression = BI_RGB;
    uint32_t sizeImage = 0;
    uint32_t clrUsed = 0;
    int tableEntries = -1;  // -1: as many as the header implies
    int bitsBytes = -1;     // -1: exactly the rows the header implies
    int gapBeforeBits = 0;  // bytes between table and bits
    int truncateTo = -1;    // cut the file to this many bytes
};

void PutLe(std::vector<unsigned char>& s, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s.push_back(char((v >> (8 * i)) & 0xFF));
}

uint32_t RowsBytes(const BmpFields& fields) {
    return (uint32_t(fields.width) * fields.bitCount + 31) / 32 * 4 * uint32_t(fields.height);
}

// Colour i of the table is (i, 255 - i, 2i) as red, green, blue; pixel byte k is k mod 251.
std::vector<unsigned char> MakeBmp(const BmpFields& fields) {
    int entries = fields.tableEntries;
    if (entries < 0)
        entries = fields.clrUsed ? int(fields.clrUsed) : (fields.bitCount <= 8 ? 1 << fields.bitCount : 0);
    int bits = fields.bitsBytes >= 0 ? fields.bitsBytes : int(RowsBytes(fields));
    const uint32_t realOff = 14 + 40 + 4 * entries + fields.gapBeforeBits;
    std::vector<unsigned char> s;
    s.push_back(fields.type[0]);
    s.push_back(fields.type[1]);
    PutLe(s, realOff + bits, 4);
    PutLe(s, 0, 4);
    PutLe(s, fields.offBits == 0xFFFFFFFF ? realOff : fields.offBits, 4);
    PutLe(s, fields.infoSize, 4);
    PutLe(s, uint32_t(fields.width), 4);
    PutLe(s, uint32_t(fields.height), 4);
    PutLe(s, fields.planes, 2);
    PutLe(s, fields.bitCount, 2);
    PutLe(s, fields.compression, 4);
    PutLe(s, fields.sizeImage, 4);
    PutLe(s, 2835, 4);
    PutLe(s, 2835, 4);
    PutLe(s, fields.clrUsed, 4);
    PutLe(s, 0, 4);
    for (int i = 0; i < entries; ++i) {
        s.push_back(char((2 * i) & 0xFF));  // blue
        s.push_back(char(255 - (i & 0xFF)));
        s.push_back(char(i & 0xFF));
        s.push_back(0);
    }
    s.insert(s.end(), size_t(fields.gapBeforeBits), 0xEE);
    for (int k = 0; k < bits; ++k) s.push_back(char(k % 251));
    if (fields.truncateTo >= 0) s.resize(size_t(fields.truncateTo));
    return s;
}

struct DibDeleter {
    void operator()(PackedDib* d) const { FreeDib(d); }
};
using DibPtr = std::unique_ptr<PackedDib, DibDeleter>;

class DisplayDibFileTest : public ::testing::Test {
protected:
    DibPtr Load(const BmpFields& fields) {
        const std::string path = m_folder / ("t" + std::to_string(++m_count) + ".bmp");
        WriteBytes(path, MakeBmp(fields));
        return DibPtr(LoadDibFile(path.c_str()));
    }
    TempFolder m_folder;
    int m_count = 0;
};

TEST(DisplayDibColorCountTest, FollowsClrUsedThenBitCount) {
    BITMAPINFOHEADER h{};
    h.biBitCount = 1;
    EXPECT_EQ(DibColorCount(h), 2u);
    h.biBitCount = 4;
    EXPECT_EQ(DibColorCount(h), 16u);
    h.biBitCount = 8;
    EXPECT_EQ(DibColorCount(h), 256u);
    for (WORD bits : {16, 24, 32}) {
        h.biBitCount = bits;
        EXPECT_EQ(DibColorCount(h), 0u) << bits;
    }
    h.biBitCount = 8;
    h.biClrUsed = 20;
    EXPECT_EQ(DibColorCount(h), 20u);
    h.biClrUsed = 0x10005;  // only the low 16 bits count
    EXPECT_EQ(DibColorCount(h), 5u);
}

TEST_F(DisplayDibFileTest, EightBitWithoutClrUsedGetsFullTableAndComputedSize) {
    BmpFields fields;
    DibPtr dib = Load(fields);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->header.biClrUsed, 256u);
    EXPECT_EQ(DibColorCount(dib->header), 256u);
    EXPECT_EQ(dib->header.biSizeImage, 8u * 3);  // rows of 5 bytes padded to 8
    const RGBQUAD* table = DibColorTable(dib.get());
    EXPECT_EQ(reinterpret_cast<const BYTE*>(table), reinterpret_cast<const BYTE*>(dib.get()) + 40);
    EXPECT_EQ(table[0].rgbRed, 0);
    EXPECT_EQ(table[0].rgbGreen, 255);
    EXPECT_EQ(table[255].rgbRed, 255);
    EXPECT_EQ(table[255].rgbBlue, (2 * 255) & 0xFF);
    const BYTE* bits = DibBits(dib.get());
    EXPECT_EQ(bits, reinterpret_cast<const BYTE*>(dib.get()) + 40 + 1024);
    for (int k = 0; k < 24; ++k) EXPECT_EQ(bits[k], k % 251) << k;
}

TEST_F(DisplayDibFileTest, TwentyFourBitHasNoTableAndBitsFollowHeader) {
    BmpFields fields;
    fields.bitCount = 24;
    fields.width = 3;
    fields.height = 2;
    DibPtr dib = Load(fields);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->header.biClrUsed, 0u);
    EXPECT_EQ(DibColorCount(dib->header), 0u);
    EXPECT_EQ(dib->header.biSizeImage, 12u * 2);
    EXPECT_EQ(DibBits(dib.get()), reinterpret_cast<const BYTE*>(dib.get()) + 40);
    EXPECT_EQ(DibBits(dib.get())[23], 23);
}

TEST_F(DisplayDibFileTest, BitsAreTakenFromOffBitsOrRightAfterTheTable) {
    BmpFields gap;
    gap.clrUsed = 4;
    gap.gapBeforeBits = 16;  // the offset points past a gap: the gap is not pixel data
    DibPtr withOffset = Load(gap);
    ASSERT_TRUE(withOffset);
    EXPECT_EQ(DibBits(withOffset.get())[0], 0);
    EXPECT_EQ(DibBits(withOffset.get())[5], 5);

    BmpFields zero;
    zero.clrUsed = 4;
    zero.offBits = 0;  // bits follow the table directly
    DibPtr direct = Load(zero);
    ASSERT_TRUE(direct);
    EXPECT_EQ(direct->header.biClrUsed, 4u);
    EXPECT_EQ(DibBits(direct.get()), reinterpret_cast<const BYTE*>(direct.get()) + 40 + 16);
    for (int k = 0; k < 24; ++k) EXPECT_EQ(DibBits(direct.get())[k], k % 251);
}

TEST_F(DisplayDibFileTest, ComputedImageSizeMustBeInTheFile) {
    BmpFields complete;
    complete.width = 7;
    complete.height = 4;
    DibPtr dib = Load(complete);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->header.biSizeImage, 32u);

    BmpFields shortFile = complete;
    shortFile.bitsBytes = 31;
    EXPECT_FALSE(Load(shortFile));
}

TEST_F(DisplayDibFileTest, StatedImageSizeIsReadWhenTheFileHoldsIt) {
    BmpFields padded;
    padded.sizeImage = 30;  // two bytes beyond the rows, as some writers do
    padded.bitsBytes = 30;
    DibPtr dib = Load(padded);
    ASSERT_TRUE(dib);
    EXPECT_EQ(dib->header.biSizeImage, 30u);
    EXPECT_EQ(DibBits(dib.get())[29], 29);

    BmpFields beyondFile;
    beyondFile.sizeImage = 1000;  // the file holds only 24 bytes of bits
    EXPECT_FALSE(Load(beyondFile));

    BmpFields tooSmall;
    tooSmall.sizeImage = 10;  // fewer than the rows a drawing reads
    EXPECT_FALSE(Load(tooSmall));
}

TEST_F(DisplayDibFileTest, OnlyThePlainInfoHeaderIsAccepted) {
    BmpFields core;
    core.infoSize = 12;
    EXPECT_FALSE(Load(core));
    BmpFields v4;
    v4.infoSize = 108;
    EXPECT_FALSE(Load(v4));
    BmpFields rle;
    rle.compression = BI_RLE8;
    EXPECT_FALSE(Load(rle));
    BmpFields oddBits;
    oddBits.bitCount = 7;
    EXPECT_FALSE(Load(oddBits));
    BmpFields noBits;
    noBits.bitCount = 0;
    EXPECT_FALSE(Load(noBits));
}

TEST_F(DisplayDibFileTest, MissingWrongTypeAndTruncatedFilesFail) {
    EXPECT_EQ(LoadDibFile((m_folder.Path() + "\\absent.bmp").c_str()), nullptr);
    BmpFields type;
    type.type[1] = 'A';
    EXPECT_FALSE(Load(type));
    for (int cut : {0, 10, 14, 30, 53}) {
        BmpFields truncated;
        truncated.truncateTo = cut;
        EXPECT_FALSE(Load(truncated)) << cut;
    }
    BmpFields tableCut;  // 256 entries promised, the file ends inside the table
    tableCut.truncateTo = 54 + 100;
    EXPECT_FALSE(Load(tableCut));
}

TEST_F(DisplayDibFileTest, HostileSizesFailWithoutHugeAllocations) {
    struct Case {
        const char* what;
        int32_t width, height;
        uint16_t bits;
        uint32_t sizeImage;
    } cases[] = {
        {"zero width", 0, 3, 8, 0},
        {"negative width", -5, 3, 8, 0},
        {"zero height", 5, 0, 8, 0},
        {"top-down rows", 5, -3, 8, 0},
        {"huge width", 100000, 1, 8, 0},
        {"huge height", 1, 0x7FFFFFFF, 8, 0},
        {"32-bit product wraps to zero", 65536, 65536, 8, 0},
        {"32-bit product wraps with stated size", 65536, 65537, 8, 64},
        {"within sides but beyond the size limit", 16384, 16384, 32, 0},
        {"enormous stated size", 5, 3, 8, 0xFFFFFFF0},
    };
    for (const Case& c : cases) {
        BmpFields fields;
        fields.width = c.width;
        fields.height = c.height;
        fields.bitCount = c.bits;
        fields.sizeImage = c.sizeImage;
        fields.bitsBytes = 64;
        EXPECT_FALSE(Load(fields)) << c.what;
    }
}

TEST_F(DisplayDibFileTest, HostileColourCountsAndOffsetsFail) {
    for (uint32_t used : {257u, 0x10001u, 0xFFFFFFFFu}) {
        BmpFields fields;
        fields.clrUsed = used;
        fields.tableEntries = 4;
        EXPECT_FALSE(Load(fields)) << used;
    }
    BmpFields rgbWithHugeTable;
    rgbWithHugeTable.bitCount = 24;
    rgbWithHugeTable.clrUsed = 300;
    rgbWithHugeTable.tableEntries = 0;
    EXPECT_FALSE(Load(rgbWithHugeTable));

    for (uint32_t off : {0xFFFFFFF0u, 0x80000000u, 54u + 1024 + 1}) {
        BmpFields fields;
        fields.offBits = off;  // past the end, or so close to it that the rows cannot fit
        EXPECT_FALSE(Load(fields)) << off;
    }
}

TEST_F(DisplayDibFileTest, PaletteCopiesTheColourTable) {
    BmpFields fields;
    fields.clrUsed = 3;
    DibPtr dib = Load(fields);
    ASSERT_TRUE(dib);
    HPALETTE palette = CreateDibPalette(dib.get());
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 3u);
    PALETTEENTRY entries[3];
    ASSERT_EQ(GetPaletteEntries(palette, 0, 3, entries), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(entries[i].peRed, i);
        EXPECT_EQ(entries[i].peGreen, 255 - i);
        EXPECT_EQ(entries[i].peBlue, 2 * i);
        EXPECT_EQ(entries[i].peFlags, PC_NOCOLLAPSE);
    }
    DeleteObject(palette);

    BmpFields rgb;
    rgb.bitCount = 24;
    DibPtr plain = Load(rgb);
    ASSERT_TRUE(plain);
    EXPECT_EQ(CreateDibPalette(plain.get()), GetStockObject(DEFAULT_PALETTE));
}

TEST_F(DisplayDibFileTest, IndexHeaderIsTheHeaderWithAnIdentityTable) {
    BmpFields fields;
    DibPtr dib = Load(fields);
    ASSERT_TRUE(dib);
    HGLOBAL block = MakePalIndexHeader(dib.get());
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalFlags(block) & GMEM_LOCKCOUNT, 0u);  // handed over unlocked
    EXPECT_GE(GlobalSize(block), 40u + 2 * 256);
    const auto* bytes = static_cast<const BYTE*>(GlobalLock(block));
    EXPECT_EQ(std::memcmp(bytes, &dib->header, 40), 0);
    const auto* indexes = reinterpret_cast<const WORD*>(bytes + 40);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(indexes[i], i);
    GlobalUnlock(block);
    GlobalFree(block);

    BmpFields rgb;
    rgb.bitCount = 24;
    DibPtr plain = Load(rgb);
    ASSERT_TRUE(plain);
    EXPECT_EQ(MakePalIndexHeader(plain.get()), nullptr);
}

// The committed artwork itself must pass the reader with the sizes the windows expect.
TEST(DisplayDibArtworkTest, PictureFilesLoadAsEightBitWithTheirOwnPalettes) {
    std::string source = __FILE__;
    const size_t cut = source.rfind("/tests/unit/");
    if (source.empty() || source[0] != '/' || cut == std::string::npos)
        GTEST_SKIP() << "source tree not reachable from here";
    const std::string art = "Z:" + source.substr(0, cut) + "/src/res/art/";
    struct Expected {
        const char* name;
        LONG width, height;
    } files[] = {{"printer_8bit.bmp", 150, 136},
                 {"monitor_8bit.bmp", 194, 175},
                 {"kestrel_8bit.bmp", 144, 23}};
    for (const Expected& e : files) {
        DibPtr dib(LoadDibFile((art + e.name).c_str()));
        ASSERT_TRUE(dib) << e.name;
        EXPECT_EQ(dib->header.biWidth, e.width) << e.name;
        EXPECT_EQ(dib->header.biHeight, e.height) << e.name;
        EXPECT_EQ(dib->header.biBitCount, 8) << e.name;
        EXPECT_GT(dib->header.biClrUsed, 16u) << e.name;
        EXPECT_LE(dib->header.biClrUsed, 256u) << e.name;
    }
}

// The three picture files are found by bare name; the current folder is on the search path.
class DisplayPictureFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        char exe[MAX_PATH];
        GetModuleFileNameA(nullptr, exe, MAX_PATH);
        std::string dir(exe);
        dir.resize(dir.rfind('\\') + 1);
        for (const char* name : PICTURE_FILE_NAMES) {
            if (GetFileAttributesA((dir + name).c_str()) != INVALID_FILE_ATTRIBUTES)
                GTEST_SKIP() << name << " lies beside the test program and would be found first";
        }
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        SetCurrentDirectoryA(m_folder.Path().c_str());
    }
    void TearDown() override {
        FreePictureDibs(m_slots);
        if (m_previous[0] != 0) SetCurrentDirectoryA(m_previous);
    }
    void WritePicture(int slot) {
        BmpFields fields;
        fields.width = 4 + slot;
        WriteBytes(m_folder / PICTURE_FILE_NAMES[slot], MakeBmp(fields));
    }
    TempFolder m_folder;
    char m_previous[MAX_PATH] = {};
    PackedDib* m_slots[PICTURE_COUNT] = {};
};

TEST_F(DisplayPictureFilesTest, AllThreeLoadInSlotOrder) {
    for (int k = 0; k < PICTURE_COUNT; ++k) WritePicture(k);
    EXPECT_EQ(LoadPictureDibs(m_slots), 1);
    for (int k = 0; k < PICTURE_COUNT; ++k) {
        ASSERT_NE(m_slots[k], nullptr) << k;
        EXPECT_EQ(m_slots[k]->header.biWidth, 4 + k);
    }
    // Loading again replaces the images; freeing empties every slot.
    EXPECT_EQ(LoadPictureDibs(m_slots), 1);
    FreePictureDibs(m_slots);
    for (PackedDib* slot : m_slots) EXPECT_EQ(slot, nullptr);
}

TEST_F(DisplayPictureFilesTest, MissingPrinterLoadsNothing) {
    WritePicture(1);
    WritePicture(2);
    EXPECT_EQ(LoadPictureDibs(m_slots), 0);
    for (PackedDib* slot : m_slots) EXPECT_EQ(slot, nullptr);
}

TEST_F(DisplayPictureFilesTest, MissingLogoKeepsPrinterAndMonitor) {
    WritePicture(0);
    WritePicture(1);
    EXPECT_EQ(LoadPictureDibs(m_slots), 0);
    EXPECT_NE(m_slots[0], nullptr);
    EXPECT_NE(m_slots[1], nullptr);
    EXPECT_EQ(m_slots[2], nullptr);
}

}  // namespace
