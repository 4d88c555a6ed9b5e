// Connecting to the printer as the window shows it: a printer that does not answer the greeting,
// one that is not ready, one that reports an error.
#include "WindowTest.h"

TEST_F(CWindowTest, GreetingRefusedTwiceIsToldAndEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--sr-status", "01,01"}));
    ASSERT_TRUE(AnswerMessage(Text(TEXT_NO_GREETING), IDOK));
    ASSERT_TRUE(Succeeded(m_session.WaitForExit(EXIT_TIMEOUT_MS)));
    // Two tries, and no farewell to a printer that never answered.
    EXPECT_EQ(Packets(), (std::vector<std::string>{SR_GREETING, SR_GREETING}));
}

TEST_F(CWindowTest, NotReadyAnsweredWithOkIsAskedAgainUntilTheRootIsListed) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--sc-status", "10,10,10"}));
    for (int nQuestion = 1; nQuestion <= 3; ++nQuestion) {
        ASSERT_TRUE(AnswerMessage(Text(TEXT_NOT_READY), IDOK, {IDOK, IDCANCEL}))
            << "question " << nQuestion;
    }
    ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
    EXPECT_EQ(CountPackets(SC_PACKET), 4u);
    EXPECT_GE(CountPackets(ListingPacket("\\*.*")), 1u);
    EXPECT_TRUE(Ui().MessageBoxes().empty());
}

TEST_F(CWindowTest, NotReadyCancelledEndsWithoutAnotherMessage) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--sc-status", "10"}));
    ASSERT_TRUE(AnswerMessage(Text(TEXT_NOT_READY), IDCANCEL, {IDOK, IDCANCEL}));

    bool bAnotherMessage = false;
    const bool bEnded = WaitUntil(
        [&] {
            bAnotherMessage |= !Ui().MessageBoxes().empty();
            return !m_session.Process().IsRunning();
        },
        EXIT_TIMEOUT_MS);
    EXPECT_TRUE(bEnded);
    EXPECT_FALSE(bAnotherMessage);
    EXPECT_EQ(CountPacketsStartingWith(IR_PREFIX), 0u);
    // The printer had answered the greeting, so it is released on the way out.
    EXPECT_EQ(CountPackets(SR_FAREWELL), 1u);
}

TEST_F(CWindowTest, PrinterErrorIsToldWithItsCodeAndEndsTheProgram) {
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--sc-status", "21"}));
    ASSERT_TRUE(AnswerMessage(Text(TEXT_PRINTER_ERROR) + " \"0x21\"", IDOK));
    ASSERT_TRUE(Succeeded(m_session.WaitForExit(EXIT_TIMEOUT_MS)));
    EXPECT_EQ(CountPacketsStartingWith(IR_PREFIX), 0u);
    EXPECT_EQ(CountPackets(SR_FAREWELL), 1u);
}
