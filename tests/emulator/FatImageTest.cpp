// The FAT image reader checked against mtools as an outside reference: images made by
// mkfs.fat and filled by mcopy/mmd/mdel, listings compared with mdir, bytes with mcopy.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <cstring>
#include <ctime>
#include <sstream>

#include "CardPath.h"
#include "FatImageCard.h"
#include "TestSupport.h"

namespace {

struct MdirEntry {
    std::string m_strName;  // "NAME.EXT"
    bool m_bFolder = false;
    uint32_t m_nSize = 0;
    std::string m_strDate;  // "YYYY-MM-DD"
    std::string m_strTime;  // "H:MM"
};

std::string Trim(const std::string& strText) {
    const size_t nFirst = strText.find_first_not_of(' ');
    if (nFirst == std::string::npos) return "";
    return strText.substr(nFirst, strText.find_last_not_of(' ') - nFirst + 1);
}

// mdir prints "NAME     EXT       size YYYY-MM-DD  HH:MM [long name]", folders with <DIR>.
std::vector<MdirEntry> ParseMdir(const std::string& strOutput) {
    std::vector<MdirEntry> aEntries;
    std::istringstream lines(strOutput);
    std::string strLine;
    bool bInListing = false;
    while (std::getline(lines, strLine)) {
        if (strLine.rfind("Directory for", 0) == 0) {
            bInListing = true;
            continue;
        }
        if (!bInListing || strLine.empty()) continue;
        if (strLine[0] == ' ') break;  // the totals
        MdirEntry entry;
        const std::string strBase = Trim(strLine.substr(0, 8));
        const std::string strExtension = Trim(strLine.substr(9, 3));
        entry.m_strName = UpperAscii(strExtension.empty() ? strBase : strBase + "." + strExtension);
        std::istringstream rest(strLine.substr(12));
        std::string strSizeOrDir;
        rest >> strSizeOrDir >> entry.m_strDate >> entry.m_strTime;
        entry.m_bFolder = strSizeOrDir == "<DIR>";
        if (!entry.m_bFolder) entry.m_nSize = static_cast<uint32_t>(std::stoul(strSizeOrDir));
        aEntries.push_back(entry);
    }
    return aEntries;
}

std::string DateOf(uint32_t nOpaque) {
    const uint32_t nDate = nOpaque >> 16;
    char szText[16];
    std::snprintf(szText, sizeof szText, "%04u-%02u-%02u", 1980 + (nDate >> 9), (nDate >> 5) & 15,
                  nDate & 31);
    return szText;
}

// As mdir prints it: the hour without a leading zero.
std::string TimeOf(uint32_t nOpaque) {
    char szText[8];
    std::snprintf(szText, sizeof szText, "%u:%02u", (nOpaque >> 11) & 31, (nOpaque >> 5) & 63);
    return szText;
}

struct CardFile {
    std::string m_strCardPath;  // "DCIM/100PHOTO/F513.BIN"
    Bytes m_aContent;
};

class FatImageTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        for (const char* pszTool : {"mkfs.fat", "mmd", "mcopy", "mdir", "mdel"}) {
            if (!HaveTool(pszTool))
                GTEST_SKIP() << pszTool << " is not installed (dosfstools/mtools)";
        }
        setenv("MTOOLS_SKIP_CHECK", "1", 1);
        m_strImage = m_dir / "card.img";
        const int nBits = GetParam();
        const std::string strFormat = nBits == 12   ? "-F 12 -C '" + m_strImage + "' 2048"
                                      : nBits == 16 ? "-F 16 -s 1 -C '" + m_strImage + "' 4096"
                                                    : "-F 32 -s 1 -C '" + m_strImage + "' 34000";
        Run("mkfs.fat -n CARDLABEL " + strFormat);
        Run("mmd -i '" + m_strImage + "' ::/DCIM ::/DCIM/100PHOTO ::/DCIM/100PHOTO/SUB ::/EMPTY");

        const uint32_t aSizes[] = {0, 1, 511, 512, 513, 2049, 5000, 300000};
        uint32_t nSeed = 1;
        for (uint32_t nSize : aSizes) {
            const std::string strName = "F" + std::to_string(nSize) + ".BIN";
            AddFile("DCIM/100PHOTO/" + strName, PatternBytes(nSize, nSeed++));
        }
        AddFile("DCIM/100PHOTO/SUB/DEEP.TXT", PatternBytes(700, nSeed++));
        AddFile("long file name.txt", PatternBytes(10, nSeed++));
        m_aFiles.back().m_strCardPath = "LONGFI~1.TXT";
        // A deleted file leaves an 0xE5 entry behind.
        WriteFileBytes(m_dir / "GONE.BIN", PatternBytes(100, 99));
        Run("mcopy -i '" + m_strImage + "' '" + (m_dir / "GONE.BIN") + "' ::/DCIM/GONE.BIN");
        Run("mdel -i '" + m_strImage + "' ::/DCIM/GONE.BIN");

        std::string strError;
        ASSERT_TRUE(m_card.Open(m_strImage, strError)) << strError;
    }

    void Run(const std::string& strCommand) {
        int nExit = 0;
        RunCommand(strCommand + " >/dev/null 2>&1", &nExit);
        ASSERT_EQ(nExit, 0) << strCommand;
    }

    void AddFile(const std::string& strCardPath, const Bytes& aContent) {
        const std::string strHost = m_dir / ("src" + std::to_string(m_aFiles.size()));
        WriteFileBytes(strHost, aContent);
        Run("mcopy -i '" + m_strImage + "' '" + strHost + "' '::/" + strCardPath + "'");
        m_aFiles.push_back(CardFile{strCardPath, aContent});
    }

    std::vector<MdirEntry> Mdir(const std::string& strFolder) {
        return ParseMdir(
            RunCommand("mdir -i '" + m_strImage + "' -a '::/" + strFolder + "' 2>/dev/null"));
    }

    std::vector<CardRecord> List(const std::string& strCardPath) {
        std::vector<CardRecord> aRecords;
        EXPECT_TRUE(m_card.ListFolder(SplitCardPath(strCardPath), aRecords)) << strCardPath;
        return aRecords;
    }

    Bytes ReadWhole(const std::string& strCardPath, size_t nChunk) {
        std::unique_ptr<CCardFile> pFile = m_card.OpenFile(SplitCardPath(strCardPath));
        if (!pFile) return {};
        Bytes aContent;
        uint8_t buffer[4096];
        while (aContent.size() < pFile->Size()) {
            const size_t nRead =
                pFile->Read(static_cast<uint32_t>(aContent.size()), buffer, nChunk);
            if (nRead == 0) break;
            aContent.insert(aContent.end(), buffer, buffer + nRead);
        }
        return aContent;
    }

    CTempDir m_dir;
    std::string m_strImage;
    std::vector<CardFile> m_aFiles;
    CFatImageCard m_card;
};

TEST_P(FatImageTest, ListingsMatchMdirInDirectoryOrder) {
    for (const char* pszFolder : {"", "DCIM", "DCIM/100PHOTO", "DCIM/100PHOTO/SUB", "EMPTY"}) {
        const std::string strFolder = pszFolder;
        SCOPED_TRACE("folder /" + strFolder);
        std::string strCardPath = "\\" + strFolder;
        for (char& c : strCardPath) {
            if (c == '/') c = '\\';
        }
        const std::vector<CardRecord> aRecords = List(strCardPath);
        const std::vector<MdirEntry> aExpected = Mdir(strFolder);
        ASSERT_FALSE(aExpected.empty());
        ASSERT_EQ(aRecords.size(), aExpected.size());
        for (size_t i = 0; i < aRecords.size(); ++i) {
            SCOPED_TRACE(aExpected[i].m_strName);
            EXPECT_EQ(ShortNameText(aRecords[i].m_name), aExpected[i].m_strName);
            EXPECT_EQ((aRecords[i].m_nAttributes & ATTR_DIRECTORY) != 0, aExpected[i].m_bFolder);
            EXPECT_EQ(aRecords[i].m_nSize, aExpected[i].m_nSize);
            EXPECT_EQ(DateOf(aRecords[i].m_nOpaque), aExpected[i].m_strDate);
            EXPECT_EQ(TimeOf(aRecords[i].m_nOpaque), aExpected[i].m_strTime);
        }
    }
}

TEST_P(FatImageTest, LeavesOutLabelLongNamePartsAndDeletedEntries) {
    for (const CardRecord& record : List("\\")) {
        EXPECT_EQ(record.m_nAttributes & ATTR_VOLUME_LABEL, 0);
        EXPECT_NE(ShortNameText(record.m_name), "CARDLABEL");
    }
    const std::vector<CardRecord> aDcim = List("\\DCIM");
    ASSERT_EQ(aDcim.size(), 3u);
    EXPECT_EQ(ShortNameText(aDcim[0].m_name), ".");
    EXPECT_EQ(ShortNameText(aDcim[1].m_name), "..");
    EXPECT_EQ(ShortNameText(aDcim[2].m_name), "100PHOTO");
    EXPECT_EQ(aDcim[2].m_nAttributes, ATTR_DIRECTORY);
}

TEST_P(FatImageTest, FileBytesMatchMcopyInAnyChunkSize) {
    for (const CardFile& file : m_aFiles) {
        SCOPED_TRACE(file.m_strCardPath);
        std::string strCardPath = "\\" + file.m_strCardPath;
        for (char& c : strCardPath) {
            if (c == '/') c = '\\';
        }
        const std::string strReference = RunCommand("mcopy -n -i '" + m_strImage + "' '::/" +
                                                    file.m_strCardPath + "' - 2>/dev/null");
        const Bytes aMcopy(strReference.begin(), strReference.end());
        EXPECT_EQ(aMcopy, file.m_aContent);
        EXPECT_EQ(ReadWhole(strCardPath, 4096), aMcopy);
        EXPECT_EQ(ReadWhole(strCardPath, 777), aMcopy);
    }
}

TEST_P(FatImageTest, PathsIgnoreCaseAndDoubledSeparators) {
    std::vector<CardRecord> aPlain;
    std::vector<CardRecord> aOdd;
    ASSERT_TRUE(m_card.ListFolder(SplitCardPath("\\DCIM\\100PHOTO"), aPlain));
    ASSERT_TRUE(m_card.ListFolder(SplitCardPath("\\\\dcim\\\\100Photo\\"), aOdd));
    ASSERT_EQ(aPlain.size(), aOdd.size());
    EXPECT_EQ(ReadWhole("\\dcim\\100photo\\f513.bin", 4096), m_aFiles[4].m_aContent);
    // ".." leads back up through the real entries.
    EXPECT_EQ(ReadWhole("\\DCIM\\100PHOTO\\SUB\\..\\F1.BIN", 4096), m_aFiles[1].m_aContent);
}

TEST_P(FatImageTest, OpensOnlyFilesThatExist) {
    EXPECT_EQ(m_card.OpenFile(SplitCardPath("\\DCIM")), nullptr);
    EXPECT_EQ(m_card.OpenFile(SplitCardPath("\\DCIM\\100PHOTO\\NOPE.BIN")), nullptr);
    EXPECT_EQ(m_card.OpenFile(SplitCardPath("\\NOPE\\F1.BIN")), nullptr);
    EXPECT_EQ(m_card.OpenFile(SplitCardPath("\\DCIM\\GONE.BIN")), nullptr);
    EXPECT_EQ(m_card.OpenFile(SplitCardPath("\\")), nullptr);
    std::vector<CardRecord> aRecords;
    EXPECT_FALSE(m_card.ListFolder(SplitCardPath("\\NOPE"), aRecords));
    EXPECT_FALSE(m_card.ListFolder(SplitCardPath("\\LONGFI~1.TXT"), aRecords));
}

INSTANTIATE_TEST_SUITE_P(FatTypes, FatImageTest, ::testing::Values(12, 16, 32),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Fat" + std::to_string(info.param);
                         });

// The write time and date are carried as stored, and a 0x05 lead byte stands for 0xE5.
TEST(FatImageEntries, OpaqueIsTheStoredWriteTimeAndKanjiLeadByteIsRestored) {
    for (const char* pszTool : {"mkfs.fat", "mcopy"}) {
        if (!HaveTool(pszTool)) GTEST_SKIP() << pszTool << " is not installed (dosfstools/mtools)";
    }
    setenv("MTOOLS_SKIP_CHECK", "1", 1);
    CTempDir dir;
    const std::string strImage = dir / "card.img";
    RunCommand("mkfs.fat -F 12 -C '" + strImage + "' 1024 >/dev/null 2>&1");
    const std::string strSource = dir / "XNAME.TXT";
    WriteFileBytes(strSource, PatternBytes(3, 5));
    // 2021-07-04 13:45:30 local time, kept by mcopy -m.
    struct tm when {};
    when.tm_year = 121;
    when.tm_mon = 6;
    when.tm_mday = 4;
    when.tm_hour = 13;
    when.tm_min = 45;
    when.tm_sec = 30;
    when.tm_isdst = -1;
    const time_t nTime = mktime(&when);
    const struct timeval times[2] = {{nTime, 0}, {nTime, 0}};
    ASSERT_EQ(utimes(strSource.c_str(), times), 0);
    int nExit = 0;
    RunCommand("mcopy -m -i '" + strImage + "' '" + strSource + "' ::/XNAME.TXT", &nExit);
    ASSERT_EQ(nExit, 0);

    Bytes aImage = ReadFileBytes(strImage);
    const char* pszEntry = "XNAME   TXT";
    auto it = std::search(aImage.begin(), aImage.end(), pszEntry, pszEntry + 11);
    ASSERT_NE(it, aImage.end());
    *it = 0x05;
    WriteFileBytes(strImage, aImage);

    CFatImageCard card;
    std::string strError;
    ASSERT_TRUE(card.Open(strImage, strError)) << strError;
    std::vector<CardRecord> aRecords;
    ASSERT_TRUE(card.ListFolder({}, aRecords));
    ASSERT_EQ(aRecords.size(), 1u);
    EXPECT_EQ(aRecords[0].m_name[0], 0xE5);
    EXPECT_EQ(std::memcmp(aRecords[0].m_name.data() + 1, "NAME   TXT", 10), 0);
    const uint32_t nExpectedTime = 13u << 11 | 45u << 5 | 15u;
    const uint32_t nExpectedDate = 41u << 9 | 7u << 5 | 4u;
    EXPECT_EQ(aRecords[0].m_nOpaque, nExpectedTime | nExpectedDate << 16);
}

}  // namespace
