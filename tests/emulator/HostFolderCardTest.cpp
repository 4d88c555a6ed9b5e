// A host folder served as a card: the 8.3 names a camera card would show, attributes,
// sizes, order, "." and "..", the DOS date/time of the mtime, and paths that stay inside.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>

#include <ctime>

#include "CardPath.h"
#include "DosDateTime.h"
#include "HostFolderCard.h"
#include "TestSupport.h"

namespace {

time_t LocalTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond) {
    struct tm when {};
    when.tm_year = nYear - 1900;
    when.tm_mon = nMonth - 1;
    when.tm_mday = nDay;
    when.tm_hour = nHour;
    when.tm_min = nMinute;
    when.tm_sec = nSecond;
    when.tm_isdst = -1;
    return mktime(&when);
}

void SetModified(const std::string& strPath, time_t nTime) {
    const struct timeval times[2] = {{nTime, 0}, {nTime, 0}};
    ASSERT_EQ(utimes(strPath.c_str(), times), 0) << strPath;
}

std::vector<std::string> Names(const std::vector<CardRecord>& aRecords) {
    std::vector<std::string> aNames;
    for (const CardRecord& record : aRecords) aNames.push_back(ShortNameText(record.m_name));
    return aNames;
}

class HostFolderCardTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mkdir((m_dir / "card").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((m_dir / "card/DCIM").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((m_dir / "card/DCIM/100photo").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((m_dir / "secret").c_str(), 0755), 0);
        WriteFileBytes(m_dir / "secret/KEY.TXT", PatternBytes(5, 9));
    }

    std::string Card(const std::string& strRelative) { return m_dir / ("card/" + strRelative); }

    std::vector<CardRecord> List(const std::string& strCardPath) {
        CHostFolderCard card(m_dir / "card");
        std::vector<CardRecord> aRecords;
        EXPECT_TRUE(card.ListFolder(SplitCardPath(strCardPath), aRecords)) << strCardPath;
        return aRecords;
    }

    CTempDir m_dir;
};

TEST_F(HostFolderCardTest, NamesAreMappedToUniqueShortNames) {
    for (const char* pszName :
         {"img_0001.jpg", "My Photo.jpeg", "My Photo 2.jpeg", ".hidden", "a.b.c", "UPPER.TXT",
          "upper.txt", "caf\xc3\xa9.jpg", "toolongname.txt", "NOEXT", "x+y=z.t;t", "Readme."}) {
        WriteFileBytes(Card(std::string("DCIM/100photo/") + pszName), PatternBytes(1, 1));
    }
    std::vector<std::string> aNames = Names(List("\\DCIM\\100PHOTO"));
    ASSERT_GE(aNames.size(), 2u);
    EXPECT_EQ(aNames[0], ".");
    EXPECT_EQ(aNames[1], "..");
    aNames.erase(aNames.begin(), aNames.begin() + 2);
    // Sorted by the 8.3 bytes; names that already fit are only upper-cased.
    const std::vector<std::string> aExpected = {
        "AB~1.C", "CAF_~1.JPG", "HIDDEN~1",     "IMG_0001.JPG", "MYPHOT~1.JPE", "MYPHOT~2.JPE",
        "NOEXT",  "README~1",   "TOOLON~1.TXT", "UPPER.TXT",    "UPPER~1.TXT",  "X_Y_Z~1.T_T"};
    EXPECT_EQ(aNames, aExpected);
}

TEST_F(HostFolderCardTest, RecordsCarryAttributesSizesAndModificationTime) {
    WriteFileBytes(Card("DCIM/100photo/IMG0001.JPG"), PatternBytes(12345, 1));
    const time_t nFileTime = LocalTime(2021, 7, 4, 13, 45, 31);
    const time_t nFolderTime = LocalTime(2019, 12, 31, 23, 59, 58);
    const time_t nParentTime = LocalTime(2003, 2, 1, 0, 0, 2);
    SetModified(Card("DCIM/100photo/IMG0001.JPG"), nFileTime);
    SetModified(Card("DCIM/100photo"), nFolderTime);
    SetModified(Card("DCIM"), nParentTime);

    const std::vector<CardRecord> aRoot = List("\\");
    ASSERT_EQ(Names(aRoot), std::vector<std::string>{"DCIM"});  // no "." or ".." in the root
    EXPECT_EQ(aRoot[0].m_nAttributes, ATTR_DIRECTORY);
    EXPECT_EQ(aRoot[0].m_nSize, 0u);
    EXPECT_EQ(aRoot[0].m_nOpaque, (0u << 11 | 0u << 5 | 1u) | (23u << 9 | 2u << 5 | 1u) << 16);

    const std::vector<CardRecord> aPhotos = List("\\DCIM\\100PHOTO");
    ASSERT_EQ(Names(aPhotos), (std::vector<std::string>{".", "..", "IMG0001.JPG"}));
    EXPECT_EQ(aPhotos[0].m_nAttributes, ATTR_DIRECTORY);
    EXPECT_EQ(aPhotos[0].m_nOpaque, (23u << 11 | 59u << 5 | 29u) | (39u << 9 | 12u << 5 | 31u)
                                                                       << 16);
    EXPECT_EQ(aPhotos[1].m_nAttributes, ATTR_DIRECTORY);
    EXPECT_EQ(aPhotos[1].m_nOpaque, aRoot[0].m_nOpaque);  // ".." is the parent
    EXPECT_EQ(aPhotos[2].m_nAttributes, ATTR_ARCHIVE);
    EXPECT_EQ(aPhotos[2].m_nSize, 12345u);
    // 13:45:31 keeps two-second steps: 15 in the seconds field.
    EXPECT_EQ(aPhotos[2].m_nOpaque, (13u << 11 | 45u << 5 | 15u) | (41u << 9 | 7u << 5 | 4u) << 16);
}

TEST_F(HostFolderCardTest, DosTimeIsClampedToWhatFatCanHold) {
    EXPECT_EQ(DosDateTimeFromUnix(LocalTime(1975, 6, 1, 12, 0, 0)), (1u << 5 | 1u) << 16);
    EXPECT_EQ(DosDateTimeFromUnix(LocalTime(2120, 6, 1, 12, 0, 0)),
              (23u << 11 | 59u << 5 | 29u) | (127u << 9 | 12u << 5 | 31u) << 16);
}

TEST_F(HostFolderCardTest, FilesOpenThroughTheirShortNamesOnly) {
    const Bytes aContent = PatternBytes(70000, 4);
    WriteFileBytes(Card("DCIM/100photo/My Photo.jpeg"), aContent);
    CHostFolderCard card(m_dir / "card");
    std::unique_ptr<CCardFile> pFile =
        card.OpenFile(SplitCardPath("\\\\dcim\\100PHOTO\\myphot~1.jpe"));
    ASSERT_NE(pFile, nullptr);
    ASSERT_EQ(pFile->Size(), aContent.size());
    Bytes aRead(aContent.size());
    EXPECT_EQ(pFile->Read(0, aRead.data(), 1000), 1000u);
    EXPECT_EQ(pFile->Read(1000, aRead.data() + 1000, 100000), aContent.size() - 1000);
    EXPECT_EQ(aRead, aContent);

    EXPECT_EQ(card.OpenFile(SplitCardPath("\\DCIM\\100PHOTO\\My Photo.jpeg")), nullptr);
    EXPECT_EQ(card.OpenFile(SplitCardPath("\\DCIM\\100PHOTO")), nullptr);
    EXPECT_EQ(card.OpenFile(SplitCardPath("\\DCIM\\..\\..\\secret\\KEY.TXT")), nullptr);
    EXPECT_EQ(card.OpenFile(SplitCardPath("\\..\\secret\\KEY.TXT")), nullptr);
    std::vector<CardRecord> aRecords;
    EXPECT_FALSE(card.ListFolder(SplitCardPath("\\.."), aRecords));
    EXPECT_FALSE(card.ListFolder(SplitCardPath("\\DCIM\\..\\.."), aRecords));
    EXPECT_TRUE(card.ListFolder(SplitCardPath("\\DCIM\\100PHOTO\\..\\."), aRecords));
    EXPECT_EQ(Names(aRecords), (std::vector<std::string>{".", "..", "100PHOTO"}));
}

TEST_F(HostFolderCardTest, ThingsThatAreNeitherFileNorFolderAreLeftOut) {
    ASSERT_EQ(mkfifo(Card("DCIM/pipe").c_str(), 0644), 0);
    ASSERT_EQ(symlink("/nonexistent/target", Card("DCIM/dangling").c_str()), 0);
    EXPECT_EQ(Names(List("\\DCIM")), (std::vector<std::string>{".", "..", "100PHOTO"}));
}

// Through the pty: what the PC sees of a host folder.
TEST_F(HostFolderCardTest, PcSeesShortNamesAndReadsTheBytes) {
    const Bytes aContent = PatternBytes(9000, 6);
    WriteFileBytes(Card("DCIM/100photo/holiday picture.jpeg"), aContent);
    SetModified(Card("DCIM/100photo/holiday picture.jpeg"), LocalTime(2022, 3, 15, 8, 30, 0));
    CEmulatorProcess emulator;
    ASSERT_TRUE(emulator.Start({"--card-dir", m_dir / "card"}));
    CPcPort port;
    ASSERT_TRUE(port.Open(emulator.LinkPath()));
    const std::vector<WireRecord> aRecords = port.List("\\DCIM\\100PHOTO\\*.*");
    ASSERT_EQ(aRecords.size(), 3u);
    EXPECT_EQ(std::string(aRecords[2].m_name.begin(), aRecords[2].m_name.end()), "HOLIDA~1JPE");
    EXPECT_EQ(aRecords[2].m_nAttributes, 0x20);
    EXPECT_EQ(aRecords[2].m_nSize, 9000u);
    EXPECT_EQ(aRecords[2].m_nOpaque, (8u << 11 | 30u << 5) | (42u << 9 | 3u << 5 | 15u) << 16);

    EXPECT_EQ(port.Exchange(PacketFo("\\DCIM\\100PHOTO\\HOLIDA~1.JPE"), 5),
              (Bytes{0, 0, 0, 0x23, 0x28}));
    const Bytes aReply = port.Exchange(PacketFr(9000), 9001);
    ASSERT_EQ(aReply.size(), 9001u);
    EXPECT_EQ(Bytes(aReply.begin() + 1, aReply.end()), aContent);
}

}  // namespace
