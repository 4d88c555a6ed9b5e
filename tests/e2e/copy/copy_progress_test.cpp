// What the window shows while a copy runs: the progress lamps and the standard dialog's Close
// item.
#include "CopyTest.h"

// A copy of about seven seconds (35000 bytes at 5000 a second) runs past all nine lamps. Sampled
// as fast as the driver reads: never two lamps lit, never a lamp showing both pictures, lamps
// lit in order and round again, the Close item disabled whenever the status says the copy runs.
TEST_F(CCopyTest, LampsRunOneAtATimeAndCloseIsDisabledWhileCopying) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("SLOW.JPG", 35000));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--rate", "5000"}));
    ASSERT_TRUE(WaitForListing({"SLOW.JPG"}));
    EXPECT_TRUE(Succeeded(LampPicturesShareTheirPlaces(Ui())));
    EXPECT_TRUE(ReadLampRow(Ui()).AllDark());
    ASSERT_EQ(CloseItemState(), static_cast<DWORD>(CLOSE_ITEM_ENABLED));
    ASSERT_TRUE(Select({"SLOW.JPG"}));

    ASSERT_TRUE(PressCopy());
    EXPECT_EQ(CloseItemState(), static_cast<DWORD>(CLOSE_ITEM_DISABLED)) << "right after COPY";
    std::vector<int> aLitOrder;
    size_t nSamples = 0, nRunningSamples = 0;
    for (;;) {
        // The Close item first: the status read that follows waits for any reset in progress.
        const DWORD dwClose = CloseItemState();
        const LampRowView lamps = ReadLampRow(Ui());
        const bool bRunning = Ui().ControlText(PANEL_STATUS_LINE) == Slot(TEXT_COPYING);
        if (!bRunning) break;
        ++nSamples;
        EXPECT_EQ(dwClose, static_cast<DWORD>(CLOSE_ITEM_DISABLED)) << "at sample " << nSamples;
        EXPECT_LE(lamps.aLit.size(), 1u) << "at sample " << nSamples;
        EXPECT_EQ(lamps.aDoubled, std::vector<int>{}) << "at sample " << nSamples;
        EXPECT_GE(lamps.nDarkShown, PANEL_LAMP_COUNT - 1) << "at sample " << nSamples;
        if (lamps.aLit.size() == 1) {
            ++nRunningSamples;
            if (aLitOrder.empty() || aLitOrder.back() != lamps.aLit[0]) {
                aLitOrder.push_back(lamps.aLit[0]);
                HWND hLit = Ui().Control(PANEL_LAMP_LIT_FIRST + lamps.aLit[0]);
                EXPECT_TRUE(WaitUntil([&] { return LampPainted(hLit); }, 300))
                    << "lit lamp " << lamps.aLit[0] << " is not on the screen";
            }
        }
        if (HasFailure()) break;
    }
    ASSERT_TRUE(WaitForCopyEnd());

    EXPECT_GT(nRunningSamples, nSamples / 2) << "a lamp was lit in too few samples";
    ASSERT_GE(aLitOrder.size(), 10u)
        << "the copy ended before the lamps went round: " << ::testing::PrintToString(aLitOrder);
    EXPECT_EQ(aLitOrder[0], 0);
    for (size_t i = 1; i < aLitOrder.size(); ++i) {
        EXPECT_EQ(aLitOrder[i], (aLitOrder[i - 1] + 1) % PANEL_LAMP_COUNT)
            << ::testing::PrintToString(aLitOrder);
    }
    EXPECT_TRUE(WaitUntil([&] { return ReadLampRow(Ui()).AllDark(); }, 2000)) << "a lamp stays lit";
    // Shown is not enough: the panel's own paint must not have wiped a lamp it had just uncovered.
    for (int k = 0; k < PANEL_LAMP_COUNT; ++k) {
        HWND hDark = Ui().Control(PANEL_LAMP_DARK_FIRST + k);
        EXPECT_TRUE(WaitUntil([&] { return LampPainted(hDark); }, 2000)) << "lamp " << k << " is not on the screen";
    }
    EXPECT_EQ(CloseItemState(), static_cast<DWORD>(CLOSE_ITEM_ENABLED));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\SLOW.JPG", "SLOW.JPG"));
    EXPECT_EQ(TemporaryLeftovers(ReadFolderTree(Destination())), std::vector<std::string>{});
}
