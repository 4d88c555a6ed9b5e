// STOP while a copy runs: what was written stays, the file in flight never shows up, and the
// panel goes through "stopping" back to idle.
#include <cstdio>

#include "CopyTest.h"

class CCopyStopTest : public CCopyTest {
protected:
    // FR packets sent after the FO of this card file.
    size_t ReadsOf(const std::string& strCardPath) {
        const std::vector<std::string> aPackets = Packets();
        size_t nReads = 0;
        bool bOpened = false;
        for (const std::string& strPacket : aPackets) {
            if (strPacket.rfind(FO_PREFIX, 0) == 0) bOpened = strPacket == OpenPacket(strCardPath);
            if (bOpened && strPacket.rfind(FR_PREFIX, 0) == 0) ++nReads;
        }
        return nReads;
    }

    // Presses STOP once the file is being read, checks the stopping state, waits for the reset.
    void StopWhileReading(const std::string& strCardPath) {
        ASSERT_TRUE(WaitUntil([&] { return ReadsOf(strCardPath) >= 2; }, COPY_TIMEOUT_MS));
        ASSERT_TRUE(WaitForCopying());
        ASSERT_TRUE(PressStop());
        // Stopping: the STOP face stays, the button is disabled until the copy has wound up.
        const CopyPanelView view = ReadPanel();
        const bool bStillRunning = !view.strStatus.empty();
        if (bStillRunning) {
            EXPECT_FALSE(view.bExitStop) << view;
            EXPECT_EQ(view.face, ButtonFace::STOP) << view;
        }
        ASSERT_TRUE(WaitForCopyEnd());
        RecordProperty("stopping_state_seen", bStillRunning ? 1 : 0);
    }
};

// A slow link (8000 bytes a second, under a second per chunk) keeps each large file in flight
// for seconds. First a folder's tree is stopped in its second file, then a selected file.
TEST_F(CCopyStopTest, StopDuringALargeFileLeavesNoTraceOfIt) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\A.JPG", 2000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\BIG.JPG", 40000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\C.JPG", 2000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("LARGE.JPG", 40000));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--rate", "8000"}));
    ASSERT_TRUE(WaitForListing({"LARGE.JPG", "PICS"}));

    ASSERT_TRUE(Select({"PICS"}));
    ASSERT_TRUE(PressCopy());
    ASSERT_NO_FATAL_FAILURE(StopWhileReading("\\PICS\\BIG.JPG"));
    EXPECT_LT(ReadsOf("\\PICS\\BIG.JPG"), 8u) << "the whole file was read";
    EXPECT_EQ(CountOpens("\\PICS\\C.JPG"), 0u);
    FolderTree copied = ReadFolderTree(Destination());
    EXPECT_EQ(copied.size(), 2u) << ::testing::PrintToString(ListFolder(Destination() + "\\PICS"));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\PICS\\A.JPG", "PICS\\A.JPG"));

    ASSERT_TRUE(Select({"LARGE.JPG"}));
    ASSERT_TRUE(PressCopy());
    ASSERT_NO_FATAL_FAILURE(StopWhileReading("\\LARGE.JPG"));
    EXPECT_LT(ReadsOf("\\LARGE.JPG"), 8u) << "the whole file was read";
    copied = ReadFolderTree(Destination());
    EXPECT_EQ(copied.size(), 2u) << ::testing::PrintToString(ListFolder(Destination()));
    EXPECT_FALSE(FileExists(Destination() + "\\LARGE.JPG"));
}

// STOP while the folders of a tree are still being found: nothing of that tree reaches the PC
// and no file is opened. Twelve sub-folders listed at 500 bytes a second take seconds to find.
TEST_F(CCopyStopTest, StopDuringDiscoveryCreatesNothingOfTheTree) {
    for (int i = 0; i < 12; ++i) {
        char path[32];
        std::snprintf(path, sizeof(path), "TREE\\F%02d\\P.JPG", i);
        ASSERT_NO_FATAL_FAILURE(AddCardFile(path, 100));
    }
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--rate", "500"}));
    ASSERT_TRUE(WaitForListing({"TREE"}));
    ASSERT_TRUE(Select({"TREE"}));

    ASSERT_TRUE(PressCopy());
    ASSERT_TRUE(WaitUntil([&] { return CountPackets(ListingPacket("\\TREE\\F01\\*.*")) > 0; },
                          COPY_TIMEOUT_MS));
    ASSERT_EQ(CountPacketsStartingWith(FO_PREFIX), 0u);
    ASSERT_TRUE(PressStop());
    EXPECT_FALSE(Ui().IsEnabled(PANEL_EXIT_STOP_BUTTON));
    ASSERT_TRUE(WaitForCopyEnd());

    EXPECT_EQ(CountPacketsStartingWith(FO_PREFIX), 0u);
    EXPECT_EQ(ListFolder(Destination()), std::vector<std::string>{});
}
