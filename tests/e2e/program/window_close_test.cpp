// Closing the window while the printer link is at work.
#include <algorithm>
#include <cstdio>
#include <set>

#include "WindowTest.h"

TEST_F(CWindowTest, ClosingDuringAListingWaitsForItThenReleasesThePrinterOnce) {
    // 300 records at 3000 bytes a second keep the root listing under way for about two seconds.
    for (int i = 0; i < 300; ++i) {
        char name[16];
        std::snprintf(name, sizeof(name), "P%07d.JPG", i);
        ASSERT_NO_FATAL_FAILURE(AddCardFile(name, 8));
    }
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--rate", "3000"}));
    ASSERT_TRUE(
        WaitUntil([&] { return CountPacketsStartingWith(IR_PREFIX) > 0; }, LISTING_TIMEOUT_MS));
    ASSERT_EQ(Ui().ControlText(PANEL_STATUS_LINE), Slot(TEXT_LISTING))
        << "the listing is no longer under way";

    ASSERT_TRUE(Succeeded(Ui().RequestClose()));
    ASSERT_TRUE(Succeeded(m_session.WaitForExit(EXIT_TIMEOUT_MS)));

    const std::vector<std::string> aPackets = Packets();
    EXPECT_EQ(std::count(aPackets.begin(), aPackets.end(), SR_FAREWELL), 1);
    ASSERT_FALSE(aPackets.empty());
    EXPECT_EQ(aPackets.back(), SR_FAREWELL) << "the farewell comes after the listing";
    EXPECT_EQ(CountPacketsStartingWith(IR_PREFIX), 2u) << "the listing was not carried to its end";
    // A packet that arrives while a reply is still going out cuts that reply short.
    for (const std::string& strLine : m_emulator.Log()) {
        EXPECT_EQ(strLine.find("dropped"), std::string::npos) << strLine;
    }
}

TEST_F(CWindowTest, ClosingWhileTheGreetingFailsSendsNoFarewell) {
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--sr-status", "01,01"}));
    ASSERT_TRUE(WaitUntil([&] { return CountPackets(SR_GREETING) > 0; }, MESSAGE_TIMEOUT_MS));
    ASSERT_TRUE(Succeeded(Ui().RequestClose()));

    // Whatever the program still says about the failed greeting is answered.
    std::set<HWND> answered;
    const bool bEnded = WaitUntil(
        [&] {
            for (HWND hBox : Ui().MessageBoxes()) {
                if (!answered.count(hBox) && Ui().PressMessageBoxButton(hBox, IDOK))
                    answered.insert(hBox);
            }
            return !m_session.Process().IsRunning();
        },
        EXIT_TIMEOUT_MS);
    ASSERT_TRUE(bEnded);
    EXPECT_EQ(CountPackets(SR_FAREWELL), 0u);
    EXPECT_LE(CountPackets(SR_GREETING), 2u);
}
