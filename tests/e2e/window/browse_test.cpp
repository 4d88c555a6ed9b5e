// Browsing the card: a card whose folders hold their entries in no order, opened by double click
// and left by PARENT, with everything a user might try in between.
#include "WindowStory.h"

TEST_F(CWindowStory, BrowsingShowsEachFolderSortedAndTakesOneListingAtATime) {
    for (const char* pFile :
         {"ZEBRA.TXT", "ALPHA.TXT", "MIDDLE.DAT", "B.TXT", "A\\NOTE.TXT",
          "DCIM\\100PHOTO\\IMG0002.JPG", "DCIM\\100PHOTO\\IMG0001.JPG", "DCIM\\IMG0003.JPG"}) {
        ASSERT_NO_FATAL_FAILURE(AddCardFile(pFile));
    }
    ASSERT_TRUE(WriteBytes(m_session.DestinationFolder() + "\\OLD.TXT", {'o', 'l', 'd'}));
    const std::vector<std::string> aShuffled = {"--order", "shuffled:7"};
    ASSERT_NO_FATAL_FAILURE(Start(aShuffled));
    const std::vector<std::string> aRoot = {"A",    "ALPHA.TXT",  "B.TXT",
                                            "DCIM", "MIDDLE.DAT", "ZEBRA.TXT"};
    ASSERT_TRUE(WaitForListing(aRoot));
    EXPECT_EQ(Ui().Items(), (std::vector<CardListItem>{{"A", 1},
                                                       {"ALPHA.TXT", 0},
                                                       {"B.TXT", 0},
                                                       {"DCIM", 1},
                                                       {"MIDDLE.DAT", 0},
                                                       {"ZEBRA.TXT", 0}}));
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "");
    EXPECT_FALSE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    EXPECT_TRUE(Ui().IsEnabled(PANEL_COPY_BUTTON));
    const std::string strRoot = ListingPacket("\\*.*");
    EXPECT_EQ(Packets(), (std::vector<std::string>{SR_GREETING, SC_PACKET, strRoot, strRoot}));

    // Choosing a file in the standard part, or double-clicking a card file, changes nothing.
    ASSERT_TRUE(Succeeded(Ui().DoubleClickFolderViewItem("OLD.TXT")));
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("ALPHA.TXT")));
    ASSERT_TRUE(Ui().WaitForWindowThread() && Ui().WaitForWindowThread()) << "the window went";
    EXPECT_TRUE(m_session.Process().IsRunning());
    EXPECT_EQ(Ui().ItemTexts(), aRoot);
    EXPECT_EQ(Ui().ControlText(PANEL_STATUS_LINE), "");
    EXPECT_EQ(Packets().size(), 4u);
    // Ticking "Select ALL" leaves the selection as it was.
    ASSERT_TRUE(Succeeded(Ui().TickSelectAll()));
    EXPECT_EQ(Ui().SelectedItems(), std::vector<std::string>{"ALPHA.TXT"});

    const auto open = [&](const std::string& strName, const std::string& strPath,
                          const std::vector<std::string>& aNames) {
        ASSERT_TRUE(Succeeded(Ui().DoubleClickItem(strName)));
        ASSERT_TRUE(WaitForListing(aNames));
        EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), strName);
        EXPECT_TRUE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
        EXPECT_EQ(Packets().back(), ListingPacket(strPath + "\\*.*"));
    };
    // The root's card path is "\", listed as "\\*.*".
    const auto parent = [&](const std::string& strLabel, const std::string& strPath,
                            const std::vector<std::string>& aNames) {
        ASSERT_TRUE(Succeeded(Ui().Click(PANEL_PARENT_BUTTON)));
        ASSERT_TRUE(WaitForListing(aNames));
        EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), strLabel);
        EXPECT_EQ(Ui().IsEnabled(PANEL_PARENT_BUTTON), !strLabel.empty());
        EXPECT_EQ(Packets().back(), ListingPacket(strPath + "\\*.*"));
    };
    ASSERT_NO_FATAL_FAILURE(open("A", "\\A", {"NOTE.TXT"}));
    ASSERT_NO_FATAL_FAILURE(parent("", "\\", aRoot));
    ASSERT_NO_FATAL_FAILURE(open("DCIM", "\\DCIM", {"100PHOTO", "IMG0003.JPG"}));
    EXPECT_EQ(Ui().ItemImage(0), 1);
    ASSERT_NO_FATAL_FAILURE(open("100PHOTO", "\\DCIM\\100PHOTO", {"IMG0001.JPG", "IMG0002.JPG"}));
    ASSERT_NO_FATAL_FAILURE(parent("DCIM", "\\DCIM", {"100PHOTO", "IMG0003.JPG"}));

    // While the next listing is held up by the printer, the list still shows the folder it is
    // leaving: COPY waits for the listing, and a double click on the old list is not taken.
    ASSERT_TRUE(Succeeded(
        m_emulator.Serve(m_card.Path(), {"--order", "shuffled:7", "--split", "2:1:3000"})));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_PARENT_BUTTON)));
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("100PHOTO")));
    ASSERT_TRUE(Ui().WaitForWindowThread());
    EXPECT_EQ(Ui().ControlText(PANEL_STATUS_LINE), Slot(TEXT_LISTING));
    EXPECT_FALSE(Ui().IsEnabled(PANEL_COPY_BUTTON));
    EXPECT_FALSE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    ASSERT_TRUE(WaitForListing(aRoot));
    ASSERT_TRUE(Ui().WaitForWindowThread());
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "");
    EXPECT_EQ(Packets(), std::vector<std::string>(2, ListingPacket("\\\\*.*")));
}
