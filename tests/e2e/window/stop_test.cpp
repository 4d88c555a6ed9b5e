// Files the user chooses to leave on the card: STOP, pressed while the folders of a tree are
// still being found and while a large file is read, leaves nothing of what was in flight on the
// PC and asks the printer for nothing more; "No" to replacing a file leaves it as it was, and the end counts it as already on the PC. The
// status line alone tells of them, and never as if all had arrived.
#include <cstdio>

#include "WindowStory.h"

TEST_F(CWindowStory, StopAndNoLeaveFilesOnTheCardAndOnlyTheStatusLineSaysSo) {
    for (int i = 0; i < 12; ++i) {
        char path[32];
        std::snprintf(path, sizeof(path), "TREE\\F%02d\\P.JPG", i);
        ASSERT_NO_FATAL_FAILURE(AddCardFile(path, 100));
    }
    ASSERT_NO_FATAL_FAILURE(AddCardFile("LARGE.JPG", 40000));
    // At 500 bytes a second the twelve folders take seconds to find.
    ASSERT_NO_FATAL_FAILURE(Start({"--rate", "500"}));
    ASSERT_TRUE(WaitForListing({"LARGE.JPG", "TREE"}));
    // "0 of N files copied", N no more than the files found ("of at least N" when STOP came
    // before the tree was found whole).
    const auto copiedNone = [&](const std::string& strStatus, int nMaxFiles) {
        for (int n = 0; n <= nMaxFiles; ++n) {
            for (UINT nText : {TEXT_COPIED_SOME, TEXT_COPIED_OF_AT_LEAST}) {
                if (strStatus == Fill(Text(nText), {"0", std::to_string(n)})) return true;
            }
        }
        return false;
    };
    const auto endsQuietly = [&](int nMaxFiles) {
        ASSERT_TRUE(WaitForCopyEnd());
        ASSERT_TRUE(Ui().WaitForWindowThread());  // after the end report, had there been one
        EXPECT_TRUE(Ui().MessageBoxes().empty());
        EXPECT_PRED2(copiedNone, Ui().ControlText(PANEL_STATUS_LINE), nMaxFiles);
    };
    // Stopping: 1008 shows STOP, disabled, until the copy has wound up.
    const auto stopped = [&](int nMaxFiles, const std::vector<std::string>& aOpened) {
        ASSERT_TRUE(Ui().WaitForWindowThread());
        const PanelView stopping = ReadPanel();
        if (!copiedNone(stopping.strStatus, nMaxFiles)) {
            EXPECT_FALSE(stopping.bExitStop) << stopping;
            EXPECT_EQ(stopping.face, ButtonFace::STOP) << stopping;
        }
        ASSERT_NO_FATAL_FAILURE(endsQuietly(nMaxFiles));
        EXPECT_EQ(Packets(FO_PREFIX), aOpened) << "a file was opened after STOP";
        EXPECT_EQ(ListFolder(Destination()), std::vector<std::string>{});
    };

    ASSERT_TRUE(Succeeded(Ui().SelectItems({"TREE"})));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
    ASSERT_TRUE(
        WaitUntil([&] { return !Packets(ListingPacket("\\TREE\\F01\\*.*")).empty(); }, WAIT_MS));
    ASSERT_TRUE(Packets(FO_PREFIX).empty());
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_EXIT_STOP_BUTTON)));
    const size_t nListingsAtStop = Packets(IR_PREFIX).size();
    ASSERT_NO_FATAL_FAILURE(stopped(11, {}));
    // The listing on the port when STOP came may finish its pair; no folder is asked for after it.
    EXPECT_LE(Packets(IR_PREFIX).size(), nListingsAtStop + 1) << "the tree was still being found";

    // At 8000 bytes a second the large file takes five seconds; STOP is held down a while.
    ASSERT_TRUE(Succeeded(m_emulator.Serve(m_card.Path(), {"--rate", "8000"})));
    ASSERT_TRUE(Succeeded(Ui().SelectItems({"LARGE.JPG"})));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
    ASSERT_TRUE(WaitUntil([&] { return Packets(FR_PREFIX).size() >= 2; }, WAIT_MS));
    ASSERT_TRUE(Succeeded(Ui().HoldButton(PANEL_EXIT_STOP_BUTTON)));
    EXPECT_TRUE(WaitUntil([&] { return ReadPanel().face == ButtonFace::STOP_PRESSED; }, WAIT_MS));
    ASSERT_TRUE(Succeeded(Ui().ReleaseButton(PANEL_EXIT_STOP_BUTTON)));
    ASSERT_NO_FATAL_FAILURE(stopped(1, {OpenPacket("\\LARGE.JPG")}));
    EXPECT_LT(Packets(FR_PREFIX).size(), 8u) << "the whole file was read";

    const std::vector<unsigned char> aOld = {'o', 'l', 'd'};
    ASSERT_TRUE(WriteBytes(Destination() + "\\LARGE.JPG", aOld));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
    ASSERT_TRUE(AnswerOverwrite(Destination() + "\\LARGE.JPG", IDNO));
    ASSERT_TRUE(WaitForCopyEnd());
    ASSERT_TRUE(Ui().WaitForWindowThread());
    EXPECT_TRUE(Ui().MessageBoxes().empty());
    EXPECT_EQ(Ui().ControlText(PANEL_STATUS_LINE), Fill(Text(TEXT_COPIED_SOME_ALREADY_THERE), {"0", "1", "1"}));
    std::vector<unsigned char> aBytes;
    EXPECT_TRUE(ReadBytes(Destination() + "\\LARGE.JPG", &aBytes) && aBytes == aOld);
}
