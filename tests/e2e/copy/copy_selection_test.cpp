// Selection copies: the selected files land in the destination, each selected folder becomes a
// folder in it with its whole sub-tree; nothing else of the card is copied.
#include <algorithm>
#include <iterator>

#include "CopyTest.h"

namespace {

// Card items the drive-root test puts into C:\, named so that nothing of the prefix's own
// collides with them.
const char* const ROOT_ITEMS[] = {"BRTAFILE.TXT", "BRTADIR", "BRTBDIR"};

// Removes the drive-root test's items from C:\ when made and when gone, whatever the outcome.
class CDriveRootItems {
public:
    CDriveRootItems() { Remove(); }
    ~CDriveRootItems() { Remove(); }
    CDriveRootItems(const CDriveRootItems&) = delete;
    CDriveRootItems& operator=(const CDriveRootItems&) = delete;
    static std::string Path(const std::string& strName) { return "C:\\" + strName; }
    static void Remove() {
        for (const char* pName : ROOT_ITEMS) {
            const std::string strPath = Path(pName);
            RemoveTree(strPath);
            DeleteFileA(strPath.c_str());
        }
    }
};

// Names of the second sorted list that the first lacks.
std::vector<std::string> NewNames(const std::vector<std::string>& aBefore,
                                  const std::vector<std::string>& aAfter) {
    std::vector<std::string> aNew;
    std::set_difference(aAfter.begin(), aAfter.end(), aBefore.begin(), aBefore.end(),
                        std::back_inserter(aNew));
    return aNew;
}

}  // namespace

TEST_F(CCopyTest, SelectedFilesAndFolderOfTheShownFolderLandInTheDestination) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("ROOT.TXT", 100));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\IMG0001.JPG", 3000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\IMG0002.JPG", 7000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\IMG0003.JPG", 10240));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\P0001.JPG", 5121));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\SUB\\P0002.JPG", 0));
    ASSERT_NO_FATAL_FAILURE(AddCardFolder("DCIM\\100PHOTO\\EMPTY"));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\101PHOTO\\Q0001.JPG", 20));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"DCIM", "ROOT.TXT"}));
    ASSERT_TRUE(OpenCardFolder(
        "DCIM", {"100PHOTO", "101PHOTO", "IMG0001.JPG", "IMG0002.JPG", "IMG0003.JPG"}));
    ASSERT_TRUE(Select({"IMG0001.JPG", "100PHOTO", "IMG0003.JPG"}));

    ASSERT_TRUE(Copy());
    const FolderTree copied = ReadFolderTree(Destination());
    EXPECT_EQ(copied.size(), 7u) << ::testing::PrintToString(ListFolder(Destination()));
    for (const char* pFolder : {"100PHOTO", "100PHOTO\\SUB", "100PHOTO\\EMPTY"}) {
        EXPECT_TRUE(copied.count(pFolder) && copied.at(pFolder).bFolder) << pFolder;
    }
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\IMG0001.JPG", "DCIM\\IMG0001.JPG"));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\IMG0003.JPG", "DCIM\\IMG0003.JPG"));
    EXPECT_TRUE(
        HoldsCardFile(Destination() + "\\100PHOTO\\P0001.JPG", "DCIM\\100PHOTO\\P0001.JPG"));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\100PHOTO\\SUB\\P0002.JPG",
                              "DCIM\\100PHOTO\\SUB\\P0002.JPG"));
    EXPECT_EQ(CountOpens("\\DCIM\\IMG0002.JPG"), 0u);
    EXPECT_EQ(CountPackets(ListingPacket("\\DCIM\\101PHOTO\\*.*")), 0u);
}

// The destination is a drive root when the program runs in one: C:\ of the Wine prefix, the one
// writable drive root there. A selected folder becomes C:\NAME and a selected file C:\NAME, and
// a whole-card copy puts the root's files and folders directly into C:\.
TEST_F(CCopyTest, ADriveRootIsADestinationLikeAnyFolder) {
    CDriveRootItems rootItems;
    ASSERT_NO_FATAL_FAILURE(AddCardFile("BRTAFILE.TXT", 2000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("BRTADIR\\INNER.TXT", 6000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("BRTADIR\\SUB\\DEEP.TXT", 50));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("BRTBDIR\\B.TXT", 70));
    const std::vector<std::string> aBefore = ListFolder("C:");
    ASSERT_NO_FATAL_FAILURE(StartProgramIn("C:\\"));
    ASSERT_TRUE(WaitForListing({"BRTADIR", "BRTAFILE.TXT", "BRTBDIR"}));
    ASSERT_EQ(Ui().StandardFolderPath(), "C:\\");

    ASSERT_TRUE(Select({"BRTAFILE.TXT", "BRTADIR"}));
    ASSERT_TRUE(Copy());
    EXPECT_TRUE(HoldsCardFile("C:\\BRTAFILE.TXT", "BRTAFILE.TXT"));
    EXPECT_TRUE(HoldsCardFile("C:\\BRTADIR\\INNER.TXT", "BRTADIR\\INNER.TXT"));
    EXPECT_TRUE(HoldsCardFile("C:\\BRTADIR\\SUB\\DEEP.TXT", "BRTADIR\\SUB\\DEEP.TXT"));
    EXPECT_EQ(NewNames(aBefore, ListFolder("C:")),
              (std::vector<std::string>{"BRTADIR", "BRTAFILE.TXT"}));

    CDriveRootItems::Remove();
    ASSERT_TRUE(TickSelectAll());
    ASSERT_TRUE(Copy());
    EXPECT_TRUE(HoldsCardFile("C:\\BRTAFILE.TXT", "BRTAFILE.TXT"));
    EXPECT_TRUE(HoldsCardFile("C:\\BRTADIR\\INNER.TXT", "BRTADIR\\INNER.TXT"));
    EXPECT_TRUE(HoldsCardFile("C:\\BRTADIR\\SUB\\DEEP.TXT", "BRTADIR\\SUB\\DEEP.TXT"));
    EXPECT_TRUE(HoldsCardFile("C:\\BRTBDIR\\B.TXT", "BRTBDIR\\B.TXT"));
    // Nothing else appeared in the root: no "~~tmp~", no temporary file.
    EXPECT_EQ(NewNames(aBefore, ListFolder("C:")),
              (std::vector<std::string>{"BRTADIR", "BRTAFILE.TXT", "BRTBDIR"}));
    EXPECT_EQ(TemporaryLeftovers(ReadFolderTree("C:\\BRTADIR")), std::vector<std::string>{});
}
