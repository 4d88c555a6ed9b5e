// The program ending while a copy runs: by the user leaving the window, or by a printer error.
#include "CopyTest.h"

// The system menu's Close is disabled while a copy runs, but the keyboard still closes the
// standard dialog: Escape presses its (hidden) Cancel. The program must wind the copy up and
// end as it always ends, with no trace of the file it was reading.
TEST_F(CCopyTest, EscapeDuringACopyEndsTheProgramWithoutAPartialFile) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\A.JPG", 2000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\BIG.JPG", 40000));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--rate", "8000"}));
    ASSERT_TRUE(WaitForListing({"PICS"}));
    ASSERT_TRUE(Select({"PICS"}));

    ASSERT_TRUE(PressCopy());
    ASSERT_TRUE(WaitUntil([&] { return CountOpens("\\PICS\\BIG.JPG") > 0; }, COPY_TIMEOUT_MS));
    ASSERT_TRUE(WaitForCopying());
    ASSERT_TRUE(Succeeded(Ui().BringToFront()));
    ASSERT_TRUE(Succeeded(Ui().PressKey(VK_ESCAPE)));
    ASSERT_TRUE(Succeeded(m_session.WaitForExit(EXIT_TIMEOUT_MS)));

    const FolderTree copied = ReadFolderTree(Destination());
    EXPECT_EQ(copied.size(), 2u) << ::testing::PrintToString(ListFolder(Destination() + "\\PICS"));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\PICS\\A.JPG", "PICS\\A.JPG"));
    const std::vector<std::string> aPackets = Packets();
    ASSERT_FALSE(aPackets.empty());
    EXPECT_EQ(aPackets.back(), SR_FAREWELL);
}

// The printer refuses to open the second file of a folder's tree: the message says a card file
// cannot be opened, and after it the program ends as it always ends, saying farewell to the
// printer. What was copied before stays; the refused file and the rest of the tree do not appear.
TEST_F(CCopyTest, RefusedOpenInATreeShowsTheMessageAndEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\A.JPG", 3000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\B.JPG", 30000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\C.JPG", 3000));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--fo-status", "00,ff"}));
    ASSERT_TRUE(WaitForListing({"PICS"}));
    ASSERT_TRUE(Select({"PICS"}));

    ASSERT_TRUE(PressCopy());
    ASSERT_TRUE(AnswerMessage(Text(TEXT_CANNOT_OPEN_FILE), IDOK));
    ASSERT_TRUE(Succeeded(m_session.WaitForExit(EXIT_TIMEOUT_MS)));

    EXPECT_TRUE(HoldsCardFile(Destination() + "\\PICS\\A.JPG", "PICS\\A.JPG"));
    const FolderTree copied = ReadFolderTree(Destination());
    EXPECT_EQ(copied.size(), 2u) << ::testing::PrintToString(ListFolder(Destination() + "\\PICS"));
    EXPECT_EQ(OpenedCardFiles(), (std::vector<std::string>{"\\PICS\\A.JPG", "\\PICS\\B.JPG"}));
    const std::vector<std::string> aPackets = Packets();
    ASSERT_FALSE(aPackets.empty());
    EXPECT_EQ(aPackets.back(), SR_FAREWELL);
}
