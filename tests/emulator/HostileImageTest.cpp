// Damaged and hostile card images: cut short, chains that loop or leave the volume, boot
// sectors that lie, random corruption. The reader must refuse or serve consistently, never
// crash, hang or read outside the image.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "CardPath.h"
#include "FatImageCard.h"
#include "FatVolume.h"
#include "TestSupport.h"

namespace {

uint16_t Le16(const Bytes& aImage, size_t nOffset) {
    return static_cast<uint16_t>(aImage[nOffset] | aImage[nOffset + 1] << 8);
}

void PutLe16(Bytes& aImage, size_t nOffset, uint16_t nValue) {
    aImage[nOffset] = static_cast<uint8_t>(nValue);
    aImage[nOffset + 1] = static_cast<uint8_t>(nValue >> 8);
}

// Lists every folder (to a bounded depth, since a damaged tree may lead in circles) and reads
// every file. A file that opens must give exactly its size.
void WalkEverything(CFatImageCard& card, const CardFolder& folder, int nDepth, size_t& nFilesRead) {
    std::vector<CardRecord> aRecords;
    if (!card.ListFolder(folder, aRecords)) return;
    for (const CardRecord& record : aRecords) {
        const std::string strName = ShortNameText(record.m_name);
        if (strName.empty() || strName == "." || strName == ".." ||
            strName.find('\\') != std::string::npos) {
            continue;
        }
        CardFolder path = folder;
        path.push_back(strName);
        if (record.m_nAttributes & ATTR_DIRECTORY) {
            if (nDepth < 6) WalkEverything(card, path, nDepth + 1, nFilesRead);
            continue;
        }
        std::unique_ptr<CCardFile> pFile = card.OpenFile(path);
        if (!pFile) continue;
        Bytes aBuffer(65536);
        uint64_t nTotal = 0;
        while (nTotal < pFile->Size()) {
            const size_t nRead =
                pFile->Read(static_cast<uint32_t>(nTotal), aBuffer.data(), aBuffer.size());
            if (nRead == 0) break;
            nTotal += nRead;
        }
        EXPECT_EQ(nTotal, pFile->Size()) << strName;
        ++nFilesRead;
    }
}

class HostileImageTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* pszTool : {"mkfs.fat", "mmd", "mcopy"}) {
            if (!HaveTool(pszTool))
                GTEST_SKIP() << pszTool << " is not installed (dosfstools/mtools)";
        }
        setenv("MTOOLS_SKIP_CHECK", "1", 1);
        m_strImage = m_dir / "card.img";
        int nExit = 0;
        RunCommand("mkfs.fat -F 16 -s 1 -C '" + m_strImage + "' 4096 >/dev/null 2>&1", &nExit);
        ASSERT_EQ(nExit, 0);
        RunCommand("mmd -i '" + m_strImage + "' ::/DCIM ::/DCIM/SUB", &nExit);
        ASSERT_EQ(nExit, 0);
        WriteFileBytes(m_dir / "A.BIN", PatternBytes(3000, 1));
        WriteFileBytes(m_dir / "B.BIN", PatternBytes(2000000, 2));
        RunCommand("mcopy -i '" + m_strImage + "' '" + (m_dir / "A.BIN") + "' '" +
                       (m_dir / "B.BIN") + "' ::/DCIM/",
                   &nExit);
        ASSERT_EQ(nExit, 0);
        m_aImage = ReadFileBytes(m_strImage);
        m_nFatOffset = static_cast<size_t>(Le16(m_aImage, 14)) * Le16(m_aImage, 11);
    }

    // The directory entry of a name in the image, found by its 11 bytes.
    size_t EntryOffset(const char* pszName11) {
        auto it = std::search(m_aImage.begin(), m_aImage.end(), pszName11, pszName11 + 11);
        EXPECT_NE(it, m_aImage.end()) << pszName11;
        return static_cast<size_t>(it - m_aImage.begin());
    }

    uint16_t FirstCluster(const char* pszName11) {
        return Le16(m_aImage, EntryOffset(pszName11) + 26);
    }
    void SetFatEntry(uint16_t nCluster, uint16_t nValue) {
        PutLe16(m_aImage, m_nFatOffset + 2 * nCluster, nValue);
    }

    bool OpenImage(CFatImageCard& card) {
        WriteFileBytes(m_strImage, m_aImage);
        std::string strError;
        const bool bOpened = card.Open(m_strImage, strError);
        if (!bOpened) {
            EXPECT_FALSE(strError.empty());
        }
        return bOpened;
    }

    CTempDir m_dir;
    std::string m_strImage;
    Bytes m_aImage;
    size_t m_nFatOffset = 0;
};

TEST_F(HostileImageTest, FileWithLoopingChainIsRefused) {
    const uint16_t nFirst = FirstCluster("A       BIN");
    SetFatEntry(static_cast<uint16_t>(nFirst + 2), nFirst);  // third cluster back to the first
    CFatImageCard card;
    ASSERT_TRUE(OpenImage(card));
    EXPECT_EQ(card.OpenFile(SplitCardPath("\\DCIM\\A.BIN")), nullptr);
    EXPECT_NE(card.OpenFile(SplitCardPath("\\DCIM\\B.BIN")), nullptr);
}

TEST_F(HostileImageTest, ChainsLeavingTheVolumeOrEndingEarlyAreRefused) {
    struct Damage {
        const char* m_pszWhat;
        std::function<void()> m_apply;
    };
    const uint16_t nFirst = FirstCluster("A       BIN");
    const size_t nEntry = EntryOffset("A       BIN");
    const Bytes aClean = m_aImage;
    const Damage aDamages[] = {
        {"first cluster beyond the volume", [&] { PutLe16(m_aImage, nEntry + 26, 0xFFF0); }},
        {"first cluster 1", [&] { PutLe16(m_aImage, nEntry + 26, 1); }},
        {"next cluster beyond the volume", [&] { SetFatEntry(nFirst, 0xFFF0); }},
        {"free cluster inside the chain", [&] { SetFatEntry(nFirst, 0); }},
        {"bad cluster mark inside the chain", [&] { SetFatEntry(nFirst, 0xFFF7); }},
        {"end mark before the size is covered", [&] { SetFatEntry(nFirst, 0xFFFF); }},
    };
    for (const Damage& damage : aDamages) {
        SCOPED_TRACE(damage.m_pszWhat);
        m_aImage = aClean;
        damage.m_apply();
        CFatImageCard card;
        ASSERT_TRUE(OpenImage(card));
        EXPECT_EQ(card.OpenFile(SplitCardPath("\\DCIM\\A.BIN")), nullptr);
    }
}

TEST_F(HostileImageTest, FolderWithLoopingOrStrayChainListsAsMissing) {
    const uint16_t nSub = FirstCluster("SUB        ");
    SetFatEntry(nSub, nSub);
    CFatImageCard card;
    ASSERT_TRUE(OpenImage(card));
    std::vector<CardRecord> aRecords;
    EXPECT_FALSE(card.ListFolder(SplitCardPath("\\DCIM\\SUB"), aRecords));
    EXPECT_TRUE(card.ListFolder(SplitCardPath("\\DCIM"), aRecords));

    PutLe16(m_aImage, EntryOffset("SUB        ") + 26, 0xFFF0);
    CFatImageCard card2;
    ASSERT_TRUE(OpenImage(card2));
    EXPECT_FALSE(card2.ListFolder(SplitCardPath("\\DCIM\\SUB"), aRecords));
}

TEST_F(HostileImageTest, TruncatedImagesAreRefusedOrServedWhole) {
    const Bytes aWhole = m_aImage;
    for (size_t nLength : {size_t{0}, size_t{100}, size_t{511}, size_t{512}, size_t{4096},
                           aWhole.size() / 4, aWhole.size() / 2, aWhole.size() - 1}) {
        SCOPED_TRACE("length " + std::to_string(nLength));
        m_aImage.assign(aWhole.begin(), aWhole.begin() + static_cast<std::ptrdiff_t>(nLength));
        CFatImageCard card;
        if (!OpenImage(card)) continue;
        size_t nFilesRead = 0;
        WalkEverything(card, {}, 0, nFilesRead);
        // What is served is served whole and right; B.BIN runs from near the start to
        // just short of the middle of the image.
        std::unique_ptr<CCardFile> pFile = card.OpenFile(SplitCardPath("\\DCIM\\B.BIN"));
        if (nLength <= aWhole.size() / 4) {
            EXPECT_EQ(pFile, nullptr);
        } else {
            ASSERT_NE(pFile, nullptr);
            Bytes aContent(pFile->Size());
            EXPECT_EQ(pFile->Read(0, aContent.data(), aContent.size()), aContent.size());
            EXPECT_EQ(aContent, PatternBytes(2000000, 2));
        }
    }
}

TEST_F(HostileImageTest, LyingBootSectorsAreRefusedWithAReason) {
    struct Lie {
        const char* m_pszWhat;
        size_t m_nOffset;
        uint16_t m_nValue;
        bool m_bWord;
    };
    const Lie aLies[] = {
        {"sector size 0", 11, 0, true},
        {"sector size 100", 11, 100, true},
        {"sectors per cluster 0", 13, 0, false},
        {"sectors per cluster 3", 13, 3, false},
        {"no reserved sectors", 14, 0, true},
        {"no FATs", 16, 0, false},
        {"no root entries", 17, 0, true},
        {"FAT size 0", 22, 0, true},
        {"total sectors too small", 19, 20, true},
        {"FAT beyond the image", 14, 60000, true},
    };
    const Bytes aClean = m_aImage;
    for (const Lie& lie : aLies) {
        SCOPED_TRACE(lie.m_pszWhat);
        m_aImage = aClean;
        if (lie.m_bWord) {
            PutLe16(m_aImage, lie.m_nOffset, lie.m_nValue);
        } else {
            m_aImage[lie.m_nOffset] = static_cast<uint8_t>(lie.m_nValue);
        }
        CFatImageCard card;
        EXPECT_FALSE(OpenImage(card));
    }
    m_aImage.assign(aClean.size(), 0);
    CFatImageCard zeros;
    EXPECT_FALSE(OpenImage(zeros));
}

TEST_F(HostileImageTest, RandomCorruptionNeverBreaksTheReader) {
    const Bytes aClean = m_aImage;
    uint32_t nState = 20240601;
    auto next = [&] {
        nState = nState * 1103515245u + 12345u;
        return nState >> 8;
    };
    for (int nRound = 0; nRound < 60; ++nRound) {
        m_aImage = aClean;
        // The boot sector, the FATs and the folders all live in the first 64 KiB here.
        for (int i = 0; i < 40; ++i) m_aImage[next() % 65536] = static_cast<uint8_t>(next());
        CFatImageCard card;
        if (!OpenImage(card)) continue;
        size_t nFilesRead = 0;
        WalkEverything(card, {}, 0, nFilesRead);
    }
}

// The emulator keeps answering when the card it serves is damaged.
TEST_F(HostileImageTest, EmulatorRefusesDamagedFileAndKeepsServing) {
    SetFatEntry(FirstCluster("A       BIN"), FirstCluster("A       BIN"));
    WriteFileBytes(m_strImage, m_aImage);
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({"--card-image", m_strImage}));
    CPcPort port;
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    EXPECT_EQ(port.Exchange(PacketFo("\\DCIM\\A.BIN"), 5), (Bytes{0xFF, 0, 0, 0, 0}));
    const Bytes aOpen = port.Exchange(PacketFo("\\DCIM\\B.BIN"), 5);
    ASSERT_EQ(aOpen.size(), 5u);
    EXPECT_EQ(aOpen[0], 0x00);
    EXPECT_EQ(BigEndian32(&aOpen[1]), 2000000u);
}

TEST(HostileImageStart, GarbageImageIsRejectedOnStartAndOnReset) {
    CTempDir dir;
    WriteFileBytes(dir / "junk.img", PatternBytes(100000, 3));
    int nExit = 0;
    const std::string strOutput =
        RunCommand(std::string(EMULATOR_PROGRAM) + " --link '" + (dir / "lpt1") +
                       "' --card-image '" + (dir / "junk.img") + "' 2>&1",
                   &nExit);
    EXPECT_EQ(nExit, 1);
    EXPECT_NE(strOutput.find("junk.img"), std::string::npos) << strOutput;

    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({}));
    const std::string strAnswer = emulator.Reset({"--card-image", dir / "junk.img"});
    EXPECT_EQ(strAnswer.rfind("error ", 0), 0u) << strAnswer;
    EXPECT_EQ(emulator.Reset({"--card-image", dir / "missing.img"}).rfind("error ", 0), 0u);
}

}  // namespace
