// The program ends by itself, as it always ends: after a fatal report during a copy, and when
// the window is closed while the printer holds back its answer.
#include "WindowStory.h"

TEST_F(CWindowStory, RefusedOpenInATreeIsToldAndEndsTheProgram) {
    for (const char* pFile : {"PICS\\A.JPG", "PICS\\B.JPG", "PICS\\C.JPG"}) {
        ASSERT_NO_FATAL_FAILURE(AddCardFile(pFile, 30000));
    }
    ASSERT_NO_FATAL_FAILURE(Start({"--fo-status", "00,ff"}));
    ASSERT_TRUE(WaitForListing({"PICS"}));
    ASSERT_TRUE(Succeeded(Ui().SelectItems({"PICS"})));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
    ASSERT_TRUE(Answer(Text(TEXT_CANNOT_OPEN_FILE), IDOK));
    ASSERT_TRUE(WaitForOwnEnd());

    // What was copied before stays; nothing of the refused file or after it appears.
    FolderTree expected;
    expected["PICS"].bFolder = true;
    expected["PICS\\A.JPG"].aBytes = m_card.Bytes("PICS\\A.JPG");
    EXPECT_TRUE(Succeeded(SameTree(ReadFolderTree(Destination()), expected)));
    EXPECT_EQ(Packets(FO_PREFIX),
              (std::vector<std::string>{OpenPacket("\\PICS\\A.JPG"), OpenPacket("\\PICS\\B.JPG")}));
    EXPECT_EQ(Packets().back(), SR_FAREWELL);
}

TEST_F(CWindowStory, ClosingWhileThePrinterHoldsItsStatusEndsOnceItHasAnswered) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    // The status reply comes after three seconds.
    ASSERT_NO_FATAL_FAILURE(Start({"--split", "2:1:3000"}));
    ASSERT_TRUE(WaitUntil([&] { return !Packets(SC_PACKET).empty(); }, WAIT_MS));
    ASSERT_TRUE(Succeeded(Ui().RequestClose()));
    ASSERT_TRUE(WaitForOwnEnd());
    EXPECT_EQ(Packets(), (std::vector<std::string>{SR_GREETING, SC_PACKET, SR_FAREWELL}));
}
