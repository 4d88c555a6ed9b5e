// The program ends by itself, as it always ends: after a fatal report during a copy, and when
// the window is closed while a worker is on the port.
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

// Closed at a moment when a worker is on the port, the window waits for it (answering a question
// it shows), then says goodbye to the printer once and ends.
struct ClosingMoment {
    const char* pName;
    std::vector<std::string> aFaults;  // holds the moment open
    std::vector<std::string> aAwaited;  // the packets sent when the window is closed
    bool bEscape;                       // Esc, else a close request to the window
    bool bQuestion;                     // the worker asks the user then
    std::vector<std::string> aPackets;  // every packet of the run
};

class CClosingStory : public CWindowStory, public ::testing::WithParamInterface<ClosingMoment> {};

TEST_P(CClosingStory, EndsOnceTheWorkerOnThePortIsDone) {
    const ClosingMoment& moment = GetParam();
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(Start(moment.aFaults));
    ASSERT_TRUE(WaitUntil([&] { return Packets() == moment.aAwaited; }, WAIT_MS));
    if (moment.bQuestion) {
        ASSERT_TRUE(Ui().WaitForMessageBox(WAIT_MS));
    }
    if (moment.bEscape) {
        ASSERT_TRUE(Succeeded(Ui().BringToFront()));
        ASSERT_TRUE(Succeeded(Ui().PressKey(VK_ESCAPE)));
    } else {
        ASSERT_TRUE(PostMessageA(Ui().MainDialog(), WM_CLOSE, 0, 0));
    }
    ASSERT_TRUE(WaitUntil([&] { return Ui().MessageBoxes().empty(); }, WAIT_MS));
    ASSERT_TRUE(WaitForOwnEnd());
    EXPECT_EQ(Packets(), moment.aPackets);
}

const std::string ROOT_LISTING = ListingPacket("\\*.*");
INSTANTIATE_TEST_SUITE_P(
    Moments, CClosingStory,
    ::testing::Values(
        ClosingMoment{"WhileTheStatusIsHeld", {"--split", "2:1:3000"}, {SR_GREETING, SC_PACKET}, false, false,
                      {SR_GREETING, SC_PACKET, SR_FAREWELL}},
        // "Not ready" asks whether to try again; the close answers Cancel for the user.
        ClosingMoment{"WhileNotReadyIsAsked", {"--sc-status", "10"}, {SR_GREETING, SC_PACKET}, false, true,
                      {SR_GREETING, SC_PACKET, SR_FAREWELL}},
        ClosingMoment{"WhileAListingIsHeld", {"--split", "4:1:3000"},
                      {SR_GREETING, SC_PACKET, ROOT_LISTING, ROOT_LISTING}, true, false,
                      {SR_GREETING, SC_PACKET, ROOT_LISTING, ROOT_LISTING, SR_FAREWELL}}),
    [](const ::testing::TestParamInfo<ClosingMoment>& info) { return info.param.pName; });
