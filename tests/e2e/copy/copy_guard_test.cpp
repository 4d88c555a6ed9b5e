// COPY clicks that must not start a copy: nothing to copy, or a copy already running.
#include "CopyTest.h"

TEST_F(CCopyTest, CopyWithNothingSelectedAndSelectAllClearDoesNothing) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("A.TXT", 100));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\B.JPG", 200));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"A.TXT", "DCIM"}));
    ASSERT_EQ(Ui().SelectedCount(), 0);
    ASSERT_EQ(Ui().CheckState(PANEL_SELECT_ALL), BST_UNCHECKED);
    const std::vector<std::string> aBefore = Packets();

    ASSERT_TRUE(PressCopy());
    // Anything the click might have started has had its turn on the window thread.
    ASSERT_TRUE(Ui().WaitForWindowThread());
    const CopyPanelView view = ReadPanel();
    EXPECT_EQ(view.strStatus, "");
    EXPECT_EQ(view.face, ButtonFace::EXIT);
    EXPECT_TRUE(view.bExitStop && view.bCardList && view.bSelectAll && view.bCopy &&
                view.bFilesView && view.bFolderBox)
        << view;
    EXPECT_EQ(CloseItemState(), static_cast<DWORD>(CLOSE_ITEM_ENABLED));
    EXPECT_TRUE(ReadLampRow(Ui()).AllDark());
    EXPECT_EQ(Packets(), aBefore);
    EXPECT_EQ(ListFolder(Destination()), std::vector<std::string>{});
}

// The second click comes while the first copy reads a large file over a slow link. "Select ALL"
// is ticked, so only the running copy itself can hold the click back.
TEST_F(CCopyTest, SecondCopyDuringACopyStartsNoSecondWalk) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("BIG.JPG", 40000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("SMALL.TXT", 100));
    ASSERT_NO_FATAL_FAILURE(StartProgram({"--rate", "20000"}));
    ASSERT_TRUE(WaitForListing({"BIG.JPG", "SMALL.TXT"}));
    ASSERT_TRUE(TickSelectAll());
    const size_t nRootListings = CountPackets(ListingPacket("\\*.*"));

    ASSERT_TRUE(PressCopy());
    ASSERT_TRUE(WaitUntil([&] { return CountOpens("\\BIG.JPG") > 0; }, COPY_TIMEOUT_MS));
    ASSERT_TRUE(WaitForCopying());
    // While it runs: COPY and STOP usable, everything that could start another job disabled.
    const CopyPanelView view = ReadPanel();
    EXPECT_TRUE(view.bCopy && view.bExitStop) << view;
    EXPECT_FALSE(view.bCardList || view.bSelectAll || view.bParent || view.bFilesView ||
                 view.bFolderBox)
        << view;
    ASSERT_EQ(CountOpens("\\SMALL.TXT"), 0u) << "the copy ended before the second click";

    ASSERT_TRUE(PressCopy());
    ASSERT_TRUE(WaitForCopyEnd());
    EXPECT_EQ(CountOpens("\\BIG.JPG"), 1u);
    EXPECT_EQ(CountOpens("\\SMALL.TXT"), 1u);
    // One walk lists the root twice (to find its folders, then to copy), each time with the
    // protocol's pair of IR packets.
    EXPECT_EQ(CountPackets(ListingPacket("\\*.*")) - nRootListings, 4u);
    EXPECT_TRUE(Succeeded(SameTree(ReadFolderTree(Destination()), ReadFolderTree(m_card.Path()))));
}
