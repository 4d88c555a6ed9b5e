#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "Files.h"
#include "display/Dib.h"

namespace {
void Put(std::vector<unsigned char>& f, size_t offset, uint32_t value, int bytes = 4) {
    for (int i = 0; i < bytes; ++i) f[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

// An 8-bit picture file of 5 x 3 pixels (rows padded to 8 bytes) with a table of `colours`
// entries, colour i being red i, green 255 - i, blue 2i; pixel byte k is 7k.
std::vector<unsigned char> EightBitFile(uint32_t colours = 256) {
    std::vector<unsigned char> f(14 + 40 + 4 * colours + 24);
    f[0] = 'B';
    f[1] = 'M';
    Put(f, 2, static_cast<uint32_t>(f.size()));
    Put(f, 10, 54 + 4 * colours);  // bfOffBits
    Put(f, 14, 40);                // biSize
    Put(f, 18, 5);                 // biWidth
    Put(f, 22, 3);                 // biHeight
    Put(f, 26, 1, 2);              // biPlanes
    Put(f, 28, 8, 2);              // biBitCount; compression, image size and colours used stay 0
    for (uint32_t i = 0; i < colours; ++i) Put(f, 54 + 4 * i, (2 * i & 0xFF) | (255 - i % 256) << 8 | (i % 256) << 16);
    for (size_t k = 0; k < 24; ++k) f[54 + 4 * colours + k] = static_cast<unsigned char>(7 * k);
    return f;
}

struct Loaded {
    PackedDib* dib;
    ~Loaded() { FreeDib(dib); }
};
}  // namespace

class PictureFile : public ::testing::Test {
protected:
    PackedDib* Load(const std::vector<unsigned char>& bytes) {
        const std::string path = folder / "picture.bmp";
        EXPECT_TRUE(WriteBytes(path, bytes));
        return LoadDibFile(path.c_str());
    }
    TempFolder folder;
};

TEST_F(PictureFile, HostileFilesAreRefused) {
    using Spoil = std::function<void(std::vector<unsigned char>&)>;
    const struct {
        const char* what;
        uint32_t colours;
        Spoil spoil;
    } rows[] = {
        {"type other than BM", 256, [](auto& f) { f[0] = 'X'; }},
        {"core header", 256, [](auto& f) { Put(f, 14, 12); }},
        {"longer header", 256, [](auto& f) { Put(f, 14, 108); }},
        {"compressed", 256, [](auto& f) { Put(f, 30, BI_RLE8); }},
        {"bit count 3", 256, [](auto& f) { Put(f, 28, 3, 2); }},
        {"no width", 256, [](auto& f) { Put(f, 18, 0); }},
        {"top-down rows", 256, [](auto& f) { Put(f, 22, static_cast<uint32_t>(-3)); }},
        {"side beyond any picture", 256, [](auto& f) { Put(f, 18, 40000); }},
        {"257 colours, all in the file", 257, [](auto& f) { Put(f, 46, 257); }},
        {"image size below the rows", 256, [](auto& f) { Put(f, 34, 16); }},
        {"bits beyond the file", 256, [](auto& f) { Put(f, 10, static_cast<uint32_t>(f.size()) - 8); }},
        {"truncated", 256, [](auto& f) { f.pop_back(); }},
    };
    for (const auto& row : rows) {
        std::vector<unsigned char> file = EightBitFile(row.colours);
        row.spoil(file);
        Loaded loaded{Load(file)};
        EXPECT_EQ(loaded.dib, nullptr) << row.what;
    }
}

TEST_F(PictureFile, EightBitFileLoadsWithItsPalette) {
    Loaded loaded{Load(EightBitFile())};
    const PackedDib* dib = loaded.dib;
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(dib->header.biClrUsed, 256u) << "a full table when the file leaves the count at 0";
    EXPECT_EQ(dib->header.biSizeImage, 24u) << "three rows of 5 pixels padded to 8 bytes";
    const RGBQUAD* table = DibColorTable(dib);
    for (int i : {0, 1, 128, 255}) {
        EXPECT_EQ(table[i].rgbRed, i);
        EXPECT_EQ(table[i].rgbGreen, 255 - i);
        EXPECT_EQ(table[i].rgbBlue, 2 * i & 0xFF);
    }
    const std::vector<unsigned char> file = EightBitFile();
    EXPECT_EQ(std::memcmp(DibBits(dib), file.data() + 54 + 1024, 24), 0);
}
