// A host folder served as a card: the 8.3 names a camera card would show, paths that stay
// inside, and the order of every folder's entries.
#include <sys/stat.h>

#include <algorithm>

#include "TestSupport.h"

namespace {

class HostFolderCardTest : public EmulatorTest {};

TEST_F(HostFolderCardTest, NamesAreUniqueShortNamesThatOpenTheirOwnFilesOnly) {
    const char* aHostNames[] = {"img_0001.jpg", "My Photo.jpeg", "My Photo 2.jpeg", ".hidden",
                                "UPPER.TXT",    "upper.txt",     "caf\xc3\xa9.jpg", "a.b.c"};
    for (uint32_t i = 0; i < 8; ++i)
        WriteFileBytes(Card() + "/DCIM/" + aHostNames[i], PatternBytes(10 + i, i));
    WriteFileBytes(Dir("secret/KEY.TXT"), PatternBytes(5, 9));
    ASSERT_EQ(mkfifo((Card() + "/DCIM/pipe").c_str(), 0644), 0);  // no file, no folder: left out
    Start({"--card-dir", Card()});
    EXPECT_EQ(NamesOf(List(m_port, "\\DCIM\\*.*")),
              (Names{".", "..", "AB~1.C", "CAF_~1.JPG", "HIDDEN~1", "IMG_0001.JPG", "MYPHOT~1.JPE",
                     "MYPHOT~2.JPE", "UPPER.TXT", "UPPER~1.TXT"}));
    // Names that fit claim theirs first; the others are numbered in the host names' byte order.
    const std::pair<const char*, uint32_t> aOpens[] = {
        {"\\dcim\\upper.txt", 4}, {"\\DCIM\\UPPER~1.TXT", 5}, {"\\DCIM\\MYPHOT~1.JPE", 2}};
    for (const auto& [pszPath, nSeed] : aOpens)
        EXPECT_EQ(Fetch(m_port, pszPath), PatternBytes(10 + nSeed, nSeed)) << pszPath;
    for (const char* pszPath : {"\\DCIM\\My Photo.jpeg", "\\DCIM\\pipe",
                                "\\DCIM\\..\\..\\secret\\KEY.TXT", "\\..\\secret\\KEY.TXT"})
        EXPECT_EQ(Fetch(m_port, pszPath), (Bytes{0xFF, 0, 0, 0, 0})) << pszPath;
    EXPECT_TRUE(List(m_port, "\\..\\*.*").empty());
}

TEST_F(HostFolderCardTest, OrderOptionOrdersEveryFolderTheSameInEveryListing) {
    const Names aSorted = {".", "..", "F1.JPG", "F2.JPG", "F3.JPG", "F4.JPG", "F5.JPG", "F6.JPG"};
    for (const char* pszFolder : {"A", "B"}) {
        for (size_t i = 2; i < aSorted.size(); ++i)
            WriteFileBytes(Card() + "/" + pszFolder + "/" + aSorted[i], {});
    }
    const Names aSortedThree(aSorted.begin(), aSorted.begin() + 5);
    for (size_t i = 2; i < 5; ++i) WriteFileBytes(Card() + "/C/" + aSorted[i], {});
    Start({"--card-dir", Card()});
    EXPECT_EQ(NamesOf(List(m_port, "\\A\\*.*")), aSorted);

    ASSERT_EQ(Reset({"--card-dir", Card(), "--order", "reversed"}), "ok");
    EXPECT_EQ(NamesOf(List(m_port, "\\\\*.*")), (Names{"C", "B", "A"}));
    EXPECT_EQ(NamesOf(List(m_port, "\\A\\*.*")),
              (Names{".", "..", "F6.JPG", "F5.JPG", "F4.JPG", "F3.JPG", "F2.JPG", "F1.JPG"}));

    ASSERT_EQ(Reset({"--card-dir", Card(), "--order", "shuffled:7"}), "ok");
    const Names aShuffled = NamesOf(List(m_port, "\\A\\*.*"));
    EXPECT_NE(aShuffled, aSorted);
    EXPECT_TRUE(std::is_permutation(aShuffled.begin(), aShuffled.end(), aSorted.begin()));
    EXPECT_EQ(Names(aShuffled.begin(), aShuffled.begin() + 2), (Names{".", ".."}));
    // However the PC spells the folder, and whenever it lists it, the order is the same.
    EXPECT_EQ(NamesOf(List(m_port, "\\\\a\\\\*.*")), aShuffled);
    EXPECT_EQ(NamesOf(List(m_port, "\\B\\..\\A\\*.*")), aShuffled);
    EXPECT_NE(NamesOf(List(m_port, "\\B\\*.*")), aShuffled);
    ASSERT_EQ(Reset({"--card-dir", Card(), "--order", "shuffled:7"}), "ok");
    EXPECT_EQ(NamesOf(List(m_port, "\\A\\*.*")), aShuffled);
    // No seed leaves a folder of three in sorted order.
    for (int nSeed = 0; nSeed < 20; ++nSeed) {
        ASSERT_EQ(Reset({"--card-dir", Card(), "--order", "shuffled:" + std::to_string(nSeed)}),
                  "ok");
        EXPECT_NE(NamesOf(List(m_port, "\\C\\*.*")), aSortedThree) << nSeed;
    }
}

}  // namespace
