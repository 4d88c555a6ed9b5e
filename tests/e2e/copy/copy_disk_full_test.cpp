// A full destination disk: the 64 KiB tmpfs of the test environment, with the program started
// in a folder on it.
#include <memory>

#include "CopyTest.h"

class CCopyDiskFullTest : public CCopyTest {
protected:
    // The destination outlives the program, which runs in it until the test's end.
    std::unique_ptr<TempFolder> m_pSmallFolder;
};

// Selected in list order: folder A (A1 fits, A2 does not, A3 would fit), folder B, the file
// BIG.BIN (does not fit) and the file Z.TXT. The tree of A ends at A2 with one message, B and
// Z.TXT are still copied, and BIG.BIN gets its own message.
TEST_F(CCopyDiskFullTest, DiskFullEndsThatTreeOrFileAndTheSelectionGoesOn) {
    const std::string strSmallDisk = EnvironmentValue("SMALL_DISK");
    if (strSmallDisk.empty())
        GTEST_SKIP() << "no small disk (SMALL_DISK is set by scripts/test-env.sh as root)";
    m_pSmallFolder = std::make_unique<TempFolder>(FromUnixPath(strSmallDisk));
    const TempFolder& destination = *m_pSmallFolder;
    ASSERT_TRUE(FileExists(destination.Path()));

    ASSERT_NO_FATAL_FAILURE(AddCardFile("A\\A1.BIN", 8000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("A\\A2.BIN", 80000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("A\\A3.BIN", 1000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("B\\B1.BIN", 2000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("BIG.BIN", 70000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("Z.TXT", 500));
    ASSERT_NO_FATAL_FAILURE(StartProgramIn(destination.Path()));
    ASSERT_TRUE(WaitForListing({"A", "B", "BIG.BIN", "Z.TXT"}));
    ASSERT_TRUE(Select({"A", "B", "BIG.BIN", "Z.TXT"}));

    ASSERT_TRUE(PressCopy());
    const std::string strDiskFull = Text(TEXT_DISK_FULL);
    ASSERT_TRUE(AnswerMessage(strDiskFull, IDOK)) << "for A\\A2.BIN";
    ASSERT_TRUE(AnswerMessage(strDiskFull, IDOK)) << "for BIG.BIN";
    ASSERT_TRUE(WaitForCopyEnd());

    const FolderTree copied = ReadFolderTree(destination.Path());
    EXPECT_EQ(copied.size(), 5u) << ::testing::PrintToString(ListFolder(destination.Path()))
                                 << " and in A "
                                 << ::testing::PrintToString(ListFolder(destination / "A"));
    EXPECT_TRUE(HoldsCardFile(destination / "A\\A1.BIN", "A\\A1.BIN"));
    EXPECT_TRUE(HoldsCardFile(destination / "B\\B1.BIN", "B\\B1.BIN"));
    EXPECT_TRUE(HoldsCardFile(destination / "Z.TXT", "Z.TXT"));
    EXPECT_FALSE(FileExists(destination / "A\\A2.BIN"));
    EXPECT_FALSE(FileExists(destination / "BIG.BIN"));
    EXPECT_EQ(CountOpens("\\A\\A3.BIN"), 0u) << "the tree of A went on after the disk was full";
    EXPECT_EQ(TemporaryLeftovers(copied), std::vector<std::string>{});
}
