// Browsing the card in the card list: the root, opening folders by double click, PARENT,
// "Select ALL".
#include <cstdio>

#include "WindowTest.h"

namespace {

const std::vector<std::string> ROOT_NAMES = {"A", "ALPHA.TXT", "DCIM", "MIDDLE.DAT", "ZEBRA.TXT"};

}  // namespace

// A card with folders at two depths, a folder with a one-character name, and files at the root,
// created in an order unlike the list's.
class CBrowseTest : public CWindowTest {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(CWindowTest::SetUp());
        ASSERT_NO_FATAL_FAILURE(AddCardFile("ZEBRA.TXT"));
        ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\IMG0002.JPG"));
        ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\IMG0001.JPG"));
        ASSERT_NO_FATAL_FAILURE(AddCardFile("MIDDLE.DAT"));
        ASSERT_NO_FATAL_FAILURE(AddCardFile("A\\NOTE.TXT"));
        ASSERT_NO_FATAL_FAILURE(AddCardFile("ALPHA.TXT"));
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(WaitForListing(ROOT_NAMES));
    }
};

TEST_F(CBrowseTest, RootShowsFoldersAndFilesInAscendingOrder) {
    EXPECT_EQ(Ui().Items(),
              (std::vector<CardListItem>{
                  {"A", 1}, {"ALPHA.TXT", 0}, {"DCIM", 1}, {"MIDDLE.DAT", 0}, {"ZEBRA.TXT", 0}}));
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "");
    EXPECT_FALSE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    EXPECT_TRUE(Ui().IsEnabled(PANEL_COPY_BUTTON));
    EXPECT_TRUE(Ui().IsEnabled(PANEL_EXIT_STOP_BUTTON));
    const std::string strRoot = ListingPacket("\\*.*");
    EXPECT_EQ(Packets(), (std::vector<std::string>{SR_GREETING, SC_PACKET, strRoot, strRoot}));
}

TEST_F(CBrowseTest, FoldersOpenByDoubleClickAndParentGoesBackUp) {
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("DCIM")));
    ASSERT_TRUE(WaitForListing({"100PHOTO"}));
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "DCIM");
    EXPECT_EQ(Ui().ItemImage(0), 1);
    EXPECT_TRUE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    EXPECT_GE(CountPackets(ListingPacket("\\DCIM\\*.*")), 1u);

    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("100PHOTO")));
    ASSERT_TRUE(WaitForListing({"IMG0001.JPG", "IMG0002.JPG"}));
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "100PHOTO");
    EXPECT_GE(CountPackets(ListingPacket("\\DCIM\\100PHOTO\\*.*")), 1u);

    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_PARENT_BUTTON)));
    ASSERT_TRUE(WaitForListing({"100PHOTO"}));
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "DCIM");
    EXPECT_TRUE(Ui().IsEnabled(PANEL_PARENT_BUTTON));

    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_PARENT_BUTTON)));
    ASSERT_TRUE(WaitForListing(ROOT_NAMES));
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "");
    EXPECT_FALSE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    EXPECT_FALSE(Ui().Click(PANEL_PARENT_BUTTON));
}

TEST_F(CBrowseTest, DoubleClickOnAFileChangesNothing) {
    const std::vector<std::string> aBefore = Packets();
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("ALPHA.TXT")));
    // Once for the double click, once more for anything its handling might have posted.
    ASSERT_TRUE(Ui().WaitForWindowThread());
    ASSERT_TRUE(Ui().WaitForWindowThread());
    EXPECT_EQ(Ui().ControlText(PANEL_STATUS_LINE), "");
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "");
    EXPECT_EQ(Ui().ItemTexts(), ROOT_NAMES);
    EXPECT_FALSE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    EXPECT_EQ(Packets(), aBefore);

    // The window is not left busy: a folder still opens.
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("DCIM")));
    EXPECT_TRUE(WaitForListing({"100PHOTO"}));
}

TEST_F(CBrowseTest, AFolderWithAOneCharacterNameEnablesParent) {
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("A")));
    ASSERT_TRUE(WaitForListing({"NOTE.TXT"}));
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "A");
    EXPECT_TRUE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    EXPECT_GE(CountPackets(ListingPacket("\\A\\*.*")), 1u);
}

TEST_F(CBrowseTest, SelectAllIsTickedWithoutSelectingItems) {
    ASSERT_EQ(Ui().CheckState(PANEL_SELECT_ALL), BST_UNCHECKED);
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_SELECT_ALL)));
    ASSERT_TRUE(WaitUntil([&] { return Ui().CheckState(PANEL_SELECT_ALL) == BST_CHECKED; }, 5000));
    ASSERT_TRUE(Ui().WaitForWindowThread());
    EXPECT_EQ(Ui().SelectedCount(), 0);
    EXPECT_EQ(Ui().ItemTexts(), ROOT_NAMES);
    EXPECT_TRUE(Ui().IsEnabled(PANEL_COPY_BUTTON));
}

// While a folder opened by double click is being listed, another double click is ignored.
TEST_F(CWindowTest, DoubleClickDuringAFolderListingIsIgnored) {
    // 60 records at 600 bytes a second keep the listing of DCIM under way for about two seconds.
    std::vector<std::string> aPhotos;
    for (int i = 0; i < 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof(name), "IMG%05d.JPG", i);
        aPhotos.push_back(name);
        ASSERT_NO_FATAL_FAILURE(AddCardFile(std::string("DCIM\\") + name, 8));
    }
    ASSERT_NO_FATAL_FAILURE(AddCardFile("A\\NOTE.TXT"));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--rate", "600"}));
    ASSERT_TRUE(WaitForListing({"A", "DCIM"}));

    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("DCIM")));
    const std::string strDcim = ListingPacket("\\DCIM\\*.*");
    ASSERT_TRUE(WaitUntil([&] { return CountPackets(strDcim) > 0; }, LISTING_TIMEOUT_MS));
    ASSERT_EQ(Ui().ControlText(PANEL_STATUS_LINE), Slot(TEXT_LISTING))
        << "the listing is no longer under way";
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("A")));

    ASSERT_TRUE(WaitForListing(aPhotos));
    ASSERT_TRUE(Ui().WaitForWindowThread());
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "DCIM");
    const std::string strRoot = ListingPacket("\\*.*");
    for (const std::string& strPacket : Packets()) {
        if (strPacket.rfind(IR_PREFIX, 0) != 0) continue;
        EXPECT_TRUE(strPacket == strRoot || strPacket == strDcim)
            << "a listing was asked for " << strPacket;
    }
}
