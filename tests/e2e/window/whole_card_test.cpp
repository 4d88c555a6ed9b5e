// The main job: "Select ALL" and COPY bring the whole card, a real FAT image written out of
// sorted order, over a throttled link; checked against the tree mtools extracts from the image.
// An item still selected in the list is not copied or counted twice, and a file of the user's
// that shares the name of the program's refresh marker stays as it was.
#include "ModuleText.h"
#include "WindowStory.h"

namespace {

struct CardItem {
    std::string strPath;  // "\DCIM\100PHOTO"
    bool bFolder;
    uint32_t nSize;
};

std::string CardImageFolder() { return ThisProgramFolder() + "\\card_image"; }

// The card in its own order, from the list make_card_image.sh wrote: "DCIM/100PHOTO/", "README
// 777".
std::vector<CardItem> CardInItsOrder() {
    std::vector<unsigned char> aBytes;
    ReadBytes(CardImageFolder() + "\\order", &aBytes);
    std::vector<CardItem> aCard;
    std::string strLine;
    for (unsigned char c : aBytes) {
        if (c != '\n') {
            strLine += c == '/' ? '\\' : static_cast<char>(c);
        } else if (strLine.back() == '\\') {
            aCard.push_back({"\\" + strLine.substr(0, strLine.size() - 1), true, 0});
            strLine.clear();
        } else {
            const size_t space = strLine.find(' ');
            aCard.push_back({"\\" + strLine.substr(0, space), false,
                             static_cast<uint32_t>(std::stoul(strLine.substr(space + 1)))});
            strLine.clear();
        }
    }
    return aCard;
}

// What a whole-card copy must send and nothing else: every folder, breadth-first in card order,
// listed once to find the tree, then listed again with each of its files opened and read in
// requests of 5120 bytes.
std::vector<std::string> CopyPackets(const std::vector<CardItem>& aCard) {
    std::vector<std::string> aFolders = {""}, aPackets;
    for (size_t i = 0; i < aFolders.size(); ++i) {
        for (const CardItem& item : aCard) {
            if (item.bFolder && ParentFolder(item.strPath) == aFolders[i])
                aFolders.push_back(item.strPath);
        }
    }
    for (const std::string& strFolder : aFolders)
        aPackets.insert(aPackets.end(), 2, ListingPacket(strFolder + "\\*.*"));
    for (const std::string& strFolder : aFolders) {
        aPackets.insert(aPackets.end(), 2, ListingPacket(strFolder + "\\*.*"));
        for (const CardItem& item : aCard) {
            if (item.bFolder || ParentFolder(item.strPath) != strFolder) continue;
            aPackets.push_back(OpenPacket(item.strPath));
            uint32_t nAsked = 0;
            do {
                const uint32_t nChunk = std::min<uint32_t>(5120, item.nSize - nAsked);
                aPackets.push_back(ReadPacket(nChunk));
                nAsked += nChunk;
            } while (nAsked < item.nSize);
        }
    }
    return aPackets;
}

}  // namespace

TEST_F(CWindowStory, WholeCardCopyShowsItsProgressAndBringsTheCardByteForByte) {
    m_strCardImage = CardImageFolder() + "\\card.img";
    const std::vector<CardItem> aCard = CardInItsOrder();
    uint32_t nFiles = 0;
    uint64_t nBytes = 0;
    for (const CardItem& item : aCard) {
        nFiles += !item.bFolder;
        nBytes += item.nSize;
    }
    ASSERT_EQ(nFiles, 12u) << "no card image in " << CardImageFolder();
    const std::vector<unsigned char> aUsersFile = {'m', 'i', 'n', 'e'};
    ASSERT_TRUE(WriteBytes(Destination() + "\\~~tmp~", aUsersFile));
    ASSERT_NO_FATAL_FAILURE(Start({"--rate", "100000"}));
    const std::vector<std::string> aRoot = {"ALBUM.OLD", "CHUNK.BIN", "DCIM", "EMPTY.TXT", "MISC", "README"};
    ASSERT_TRUE(WaitForListing(aRoot));
    ASSERT_TRUE(Succeeded(Ui().SelectItems({"README", "DCIM"})));
    ASSERT_TRUE(Succeeded(Ui().TickSelectAll()));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
    ASSERT_TRUE(WaitUntil([&] { return !Ui().ControlText(PANEL_STATUS_LINE).empty(); }, WAIT_MS));

    // Sampled as fast as the driver reads, until the copy has ended.
    const std::string strCounting = Text(TEXT_PROGRESS_COUNTING), strLong = Text(TEXT_PROGRESS),
                      strShort = Text(TEXT_PROGRESS_SHORT),
                      strTimeLeft = Text(TEXT_TITLE_TIME_LEFT),
                      strPercent = Text(TEXT_TITLE_PERCENT), strEnd = Text(TEXT_COPIED_ALL);
    unsigned long nDoneFiles = 0;
    int nPercent = 0;
    std::vector<int> aSecondsLeft;
    bool bTotalsSeen = false, bCloseTried = false;
    PanelView view;
    const bool bEnded = WaitUntil(
        [&]() -> bool {
            view = ReadPanel();
            // Before the first progress, and at the end while the panel is being reset.
            if (view.strStatus == Slot(TEXT_COPYING) || !Fields(strEnd, view.strStatus).empty())
                return static_cast<bool>(IsIdle(view));
            std::vector<std::string> aStatus = Fields(strCounting, view.strStatus);
            if (aStatus.empty()) {
                aStatus = Fields(strLong, view.strStatus);
                if (aStatus.empty()) aStatus = Fields(strShort, view.strStatus);
                EXPECT_FALSE(aStatus.empty())
                    << "the status line says \"" << view.strStatus << "\"";
                if (aStatus.empty()) return true;
                EXPECT_EQ(aStatus[1], std::to_string(nFiles)) << view.strStatus;
                if (aStatus.size() == 4) {
                    EXPECT_EQ(aStatus[3], ByteSize(nBytes)) << view.strStatus;
                }
                bTotalsSeen = true;
            }
            EXPECT_GE(std::stoul(aStatus[0]), nDoneFiles) << view.strStatus;
            EXPECT_LE(std::stoul(aStatus[0]), std::stoul(aStatus[1])) << view.strStatus;
            nDoneFiles = std::stoul(aStatus[0]);
            std::vector<std::string> aTitle = Fields(strTimeLeft, view.strTitle);
            if (aTitle.empty()) aTitle = Fields(strPercent, view.strTitle);
            if (aTitle.empty()) {
                EXPECT_EQ(view.strTitle, Slot(TEXT_TITLE))
                    << "no percent although the totals are known";
            } else {
                EXPECT_EQ(aTitle.back(), Slot(TEXT_TITLE));
                EXPECT_GE(std::stoi(aTitle[0]), nPercent) << view.strTitle;
                nPercent = std::stoi(aTitle[0]);
            }
            if (aTitle.size() == 3) {  // "m:ss"
                const std::string& strLeft = aTitle[1];
                aSecondsLeft.push_back(60 * std::stoi(strLeft) +
                                       std::stoi(strLeft.substr(strLeft.find(':') + 1)));
            }
            // While the copy runs the user can only press COPY (which is refused) and STOP.
            EXPECT_TRUE(view.bCopy && view.bExitStop && view.face == ButtonFace::STOP &&
                        view.dwCloseItem == CLOSE_ITEM_DISABLED && !view.bCardList &&
                        !view.bSelectAll && !view.bParent && !view.bFilesView && !view.bFolderBox &&
                        !view.bToolbar)
                << view;
            const LampRowView lamps = ReadLampRow(Ui());
            EXPECT_TRUE(lamps.aLit.size() <= 1 && lamps.aDoubled.empty());
            // Every way of closing the window but STOP is held back while a copy runs.
            if (!bCloseTried && bTotalsSeen) {
                bCloseTried = true;
                EXPECT_TRUE(Succeeded(Ui().BringToFront()));
                EXPECT_TRUE(Succeeded(Ui().PressKey(VK_ESCAPE)));
                EXPECT_TRUE(Succeeded(Ui().PressKey(VK_F4, VK_MENU)));
                EXPECT_TRUE(Succeeded(Ui().RequestClose()));
                EXPECT_TRUE(PostMessageA(Ui().MainDialog(), WM_CLOSE, 0, 0));
                EXPECT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
            }
            return HasFailure();
        },
        COPY_MS);
    ASSERT_TRUE(bEnded && IsIdle(view)) << view;
    EXPECT_TRUE(bCloseTried && bTotalsSeen);

    EXPECT_TRUE(m_session.Process().IsRunning());
    EXPECT_FALSE(view.bParent);
    EXPECT_EQ(view.strStatus,
              Fill(Text(TEXT_COPIED_ALL), {std::to_string(nFiles), ByteSize(nBytes)}));
    FolderTree copied = ReadFolderTree(Destination());
    EXPECT_EQ(copied["~~tmp~"].aBytes, aUsersFile);
    copied.erase("~~tmp~");
    EXPECT_TRUE(Succeeded(SameTree(copied, ReadFolderTree(CardImageFolder() + "\\reference"))));
    EXPECT_EQ(TemporaryLeftovers(copied), std::vector<std::string>{});
    std::vector<std::string> aExpected = {SR_GREETING, SC_PACKET, ListingPacket("\\*.*"),
                                          ListingPacket("\\*.*")};
    const std::vector<std::string> aCopy = CopyPackets(aCard);
    aExpected.insert(aExpected.end(), aCopy.begin(), aCopy.end());
    EXPECT_EQ(Packets(), aExpected);
    // The standard part's view of the destination shows what the copy put there.
    EXPECT_TRUE(WaitUntil([&] { return Ui().FolderViewNames().size() == aRoot.size() + 1; }, WAIT_MS));
    EXPECT_TRUE(Ui().MessageBoxes().empty());
    ASSERT_GE(aSecondsLeft.size(), 2u) << "the title never told the time left";
    EXPECT_LT(aSecondsLeft.back(), aSecondsLeft.front());
}
