// Damaged card images: chains that loop, leave the volume or end early, folders that loop, images
// cut short, boot sectors that lie, random corruption. The emulator refuses the image (reset says
// error), a folder (lists as unknown) or a file (FO answers FF), or serves every file it opens in
// its whole size; and it goes on answering.
#include <algorithm>
#include <cstdlib>

#include "TestSupport.h"

namespace {

const char *const FAT16 = "-F 16 -s 1 4096", *const FAT32 = "-F 32 -s 1 34000";
// Boot sector, FAT, root and the folders DCIM and SUB in the first 3.5 KiB.
const char* const SMALL_FAT12 = "-F 12 -f 1 -r 16 -s 1 512";
const std::string A = "A       BIN", SUB = "SUB        ";

// An image as mkfs.fat and mtools make it, holding \DCIM\SUB, \DCIM\A.BIN and \DCIM\B.BIN.
struct Image {
    Bytes m_a;

    uint32_t Le16(size_t nAt) const { return m_a.at(nAt) | m_a.at(nAt + 1) << 8; }
    void Put(size_t nAt, uint32_t nValue, int nBytes) {
        for (int i = 0; i < nBytes; ++i) m_a.at(nAt + i) = static_cast<uint8_t>(nValue >> 8 * i);
    }
    size_t Entry(const std::string& strName) const {
        return std::search(m_a.begin(), m_a.end(), strName.begin(), strName.end()) - m_a.begin();
    }
    // The low word of an entry's first cluster, all these cards need.
    uint32_t First(const std::string& strName) const { return Le16(Entry(strName) + 26); }
    void SetNext(uint32_t nCluster, uint32_t nNext) {  // FAT16, or FAT32 (no 16-bit FAT size)
        const int nWidth = Le16(22) ? 2 : 4;
        Put(Le16(14) * Le16(11) + nCluster * nWidth, nNext, nWidth);
    }
};

struct Damage {
    std::string m_strWhat;
    const char* m_pszFormat;
    std::function<void(Image&)> m_apply;
};
void PrintTo(const Damage& damage, std::ostream* pOut) { *pOut << damage.m_strWhat; }

std::vector<Damage> Damages() {
    std::vector<Damage> aDamages = {
        {"file chain loops", FAT16, [](Image& i) { i.SetNext(i.First(A) + 2, i.First(A)); }},
        {"file chain leaves the volume", FAT32, [](Image& i) { i.SetNext(i.First(A), 1 << 27); }},
        {"file chain ends early", FAT16, [](Image& i) { i.SetNext(i.First(A), 0xFFFF); }},
        {"folder chain loops", FAT16, [](Image& i) { i.SetNext(i.First(SUB), i.First(SUB)); }},
        {"vast volume and FAT", FAT32, [](Image& i) { i.Put(32, ~0u, 4), i.Put(36, 1 << 24, 4); }},
        {"sector size 0", FAT16, [](Image& i) { i.Put(11, 0, 2); }},
        {"no sectors per cluster", FAT16, [](Image& i) { i.Put(13, 0, 1); }},
        {"cut inside the FAT", FAT16, [](Image& i) { i.m_a.resize(4096); }},
        {"cut inside a file", FAT16, [](Image& i) { i.m_a.resize(100000); }},
    };
    for (uint32_t nSeed = 1; nSeed <= 24; ++nSeed)
        aDamages.push_back(
            {"random bytes " + std::to_string(nSeed), SMALL_FAT12, [nSeed](Image& i) {
                 const Bytes aNoise = PatternBytes(48, nSeed);
                 for (size_t n = 0; n < aNoise.size(); n += 3)
                     i.m_a[(aNoise[n] << 8 | aNoise[n + 1]) % 3584] = aNoise[n + 2];
             }});
    return aDamages;
}

class DamagedImageTest : public EmulatorTest, public ::testing::WithParamInterface<Damage> {};

TEST_P(DamagedImageTest, IsRefusedOrServedWhole) {
    const std::string strImage = Dir("card.img"), strOn = " -i " + strImage + " ";
    const std::string strMake = "mkfs.fat -C " + strImage + " " + GetParam().m_pszFormat +
                                " >/dev/null && export MTOOLS_SKIP_CHECK=1 && mmd" + strOn +
                                "::/DCIM ::/DCIM/SUB && mcopy" + strOn + Dir("?.BIN") + " ::/DCIM";
    WriteFileBytes(Dir("A.BIN"), PatternBytes(3000, 1));
    WriteFileBytes(Dir("B.BIN"), PatternBytes(200000, 2));
    ASSERT_EQ(std::system(strMake.c_str()), 0);
    std::ifstream file(strImage, std::ios::binary);
    Image image{Bytes(std::istreambuf_iterator<char>(file), {})};
    GetParam().m_apply(image);
    WriteFileBytes(strImage, image.m_a);

    Start({});
    const std::string strAnswer = Reset({"--card-image", strImage});
    EXPECT_TRUE(strAnswer == "ok" || strAnswer.rfind("error ", 0) == 0) << strAnswer;
    // A damaged tree may lead in circles: so far down and so many entries, no more.
    int nEntriesLeft = 500;
    std::function<void(const std::string&, int)> walk = [&](const std::string& strFolder,
                                                            int nDepth) {
        for (const CardRecord& record : List(m_port, strFolder + "\\*.*")) {
            const std::string strPath = strFolder + "\\" + ShortNameText(record.m_name);
            if (record.m_name[0] == '.' || --nEntriesLeft < 0) continue;
            if (record.m_nAttributes & ATTR_DIRECTORY) {
                if (nDepth < 3) walk(strPath, nDepth + 1);
                continue;
            }
            const Bytes aRead = Fetch(m_port, strPath);  // the content, or the refusal
            EXPECT_TRUE(aRead == Bytes({0xFF, 0, 0, 0, 0}) || aRead.size() == record.m_nSize)
                << strPath;
        }
    };
    if (strAnswer == "ok") walk("", 0);
    EXPECT_EQ(m_port.Exchange(PacketSr(0), 1), Bytes{0x00});  // still answering
}

INSTANTIATE_TEST_SUITE_P(Damaged, DamagedImageTest, ::testing::ValuesIn(Damages()));

}  // namespace
