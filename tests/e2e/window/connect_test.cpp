// Connecting to the printer as the window shows it, one start per way the printer can answer.
#include "WindowStory.h"

namespace {

struct ConnectCase {
    const char* pName;
    std::vector<std::string> aFaults;
    UINT nMessage;        // 0: none
    const char* pSuffix;  // after the message's text
    std::vector<int> aButtons;
    int nAnswer;
    bool bListed;  // the root is listed; otherwise the program ends by itself
    std::vector<std::string> aPackets;
};

const std::string ROOT = ListingPacket("\\*.*");
// clang-format off
const ConnectCase CONNECT_CASES[] = {
    {"GreetingRefusedTwice", {"--sr-status", "01,01"}, TEXT_NO_GREETING, "", {IDOK}, IDOK, false,
     {SR_GREETING, SR_GREETING}},
    {"NotReadyThenReady", {"--sc-status", "10"}, TEXT_NOT_READY, "", {IDOK, IDCANCEL}, IDOK, true,
     {SR_GREETING, SC_PACKET, SC_PACKET, ROOT, ROOT}},
    {"NotReadyCancelled", {"--sc-status", "10"}, TEXT_NOT_READY, "", {IDOK, IDCANCEL}, IDCANCEL, false,
     {SR_GREETING, SC_PACKET, SR_FAREWELL}},
    {"PrinterError", {"--sc-status", "21"}, TEXT_PRINTER_ERROR, " \"0x21\"", {IDOK}, IDOK, false,
     {SR_GREETING, SC_PACKET, SR_FAREWELL}},
    {"StatusReadTimesOut", {"--silence", "2"}, 0, "", {}, 0, true,
     {SR_GREETING, SC_PACKET, ROOT, ROOT}},
};
// clang-format on

class CConnectStory : public CWindowStory, public ::testing::WithParamInterface<ConnectCase> {};

}  // namespace

TEST_P(CConnectStory, ShowsHowThePrinterAnswered) {
    const ConnectCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(Start(c.aFaults));
    if (c.nMessage) {
        ASSERT_TRUE(Answer(Text(c.nMessage) + c.pSuffix, c.nAnswer, c.aButtons));
    }
    if (c.bListed) {
        ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
        EXPECT_TRUE(Ui().MessageBoxes().empty());
    } else {
        ASSERT_TRUE(WaitForOwnEnd());
    }
    EXPECT_EQ(Packets(), c.aPackets);
}

INSTANTIATE_TEST_SUITE_P(Printer, CConnectStory, ::testing::ValuesIn(CONNECT_CASES),
                         [](const auto& info) { return std::string(info.param.pName); });
