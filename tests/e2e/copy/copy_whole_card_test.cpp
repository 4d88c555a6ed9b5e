// Whole-card copies ("Select ALL"): the card's entire tree from its root, whatever folder the
// card list shows and whatever is selected in it.
#include <algorithm>
#include <set>

#include "CopyTest.h"

namespace {

// The card image and the tree that mtools extracted from it, made at build time by
// make_card_image.sh beside this test.
std::string CardImageFolder() { return ThisProgramFolder() + "\\copy_card"; }

// The 11 name bytes of a directory record, base and extension padded with spaces, in hex.
std::string RecordNameHex(const std::string& strBase, const std::string& strExtension) {
    std::string strName = strBase;
    strName.resize(8, ' ');
    std::string strExtensionField = strExtension;
    strExtensionField.resize(3, ' ');
    return Hex(strName + strExtensionField);
}

// Records whose names begin with ".", which the printer adds to the image's listings: a file it
// would refuse to open (it is not on the card), and folders that do not exist.
struct DotRecord {
    const char* pFolder;
    const char* pBase;
    const char* pExtension;
    const char* pAttributes;
};
const DotRecord DOT_RECORDS[] = {{"\\", ".HIDDEN", "", "20"},
                                 {"\\", ".TRASH", "", "10"},
                                 {"\\DCIM", ".CACHE", "", "10"},
                                 {"\\DCIM\\100PHOTO", ".THUMB", "JPG", "20"}};

// The card paths of the files and of the folders of a tree on the PC, as the printer names them.
void CardPathsOf(const FolderTree& tree, std::set<std::string>* pFiles,
                 std::set<std::string>* pFolders) {
    pFolders->insert("\\");
    for (const auto& [strPath, item] : tree)
        (item.bFolder ? *pFolders : *pFiles).insert("\\" + strPath);
}

// The card folder an IR packet lists: "\DCIM\*.*" gives "\DCIM".
std::string ListedFolder(const std::string& strPacket) {
    const std::string strFolder = ParentFolder(PacketPath(strPacket));
    return strFolder.empty() ? "\\" : strFolder;
}

}  // namespace

// The program's main job, checked against an outside reference: a real FAT card image made
// with mkfs.fat and mtools, and the same tree extracted from it by mcopy. Nested and empty
// folders, files of 0 bytes to some hundreds of KB, sizes on and around the read chunk. The
// printer adds records whose names begin with "." (besides the "." and ".." of every
// sub-folder): a file it would refuse to open and folders that do not exist.
TEST_F(CCopyTest, WholeCardImageIsCopiedByteForByte) {
    const std::string strImage = CardImageFolder() + "\\card.img";
    if (!FileExists(strImage))
        GTEST_SKIP() << "no card image " << strImage << " (dosfstools or mtools missing)";
    const FolderTree reference = ReadFolderTree(CardImageFolder() + "\\reference");
    ASSERT_TRUE(reference.count("DCIM\\EMPTYDIR") && reference.count("DCIM\\100PHOTO\\IMG0001.JPG"))
        << "the reference tree is incomplete";

    std::vector<std::string> aInjections;
    for (const DotRecord& record : DOT_RECORDS) {
        aInjections.push_back("--inject-record");
        aInjections.push_back(std::string(record.pFolder) + ":" +
                              RecordNameHex(record.pBase, record.pExtension) + ":" +
                              record.pAttributes + ":100");
    }
    UseCardImage(strImage);
    ASSERT_NO_FATAL_FAILURE(StartProgram(aInjections));
    // Whether the list offers the dot names is the browser's business; the copy must skip them.
    ASSERT_TRUE(WaitUntil(
        [&] { return Ui().FindItem("README") >= 0 && Ui().ControlText(PANEL_STATUS_LINE).empty(); },
        LISTING_TIMEOUT_MS));
    ASSERT_TRUE(TickSelectAll());
    ASSERT_TRUE(Copy());

    const FolderTree copied = ReadFolderTree(Destination());
    EXPECT_TRUE(Succeeded(SameTree(copied, reference)));
    EXPECT_EQ(TemporaryLeftovers(copied), std::vector<std::string>{});

    // The printer did offer the dot records that the copy passed over.
    const std::vector<std::string> aReplies = m_emulator.Replies();
    for (const DotRecord& record : DOT_RECORDS) {
        const std::string strName = RecordNameHex(record.pBase, record.pExtension);
        EXPECT_TRUE(std::any_of(aReplies.begin(), aReplies.end(),
                                [&](const std::string& strReply) {
                                    return strReply.find(strName) != std::string::npos;
                                }))
            << "no listing carried " << record.pBase;
    }

    // Every card file opened exactly once, every folder listed, nothing named with a dot.
    std::set<std::string> files, folders;
    CardPathsOf(reference, &files, &folders);
    std::vector<std::string> aOpened = OpenedCardFiles();
    std::sort(aOpened.begin(), aOpened.end());
    EXPECT_EQ(aOpened, std::vector<std::string>(files.begin(), files.end()));
    std::set<std::string> listed;
    for (const std::string& strPacket : m_emulator.Packets(IR_PREFIX))
        listed.insert(ListedFolder(strPacket));
    EXPECT_EQ(listed, folders);

    // The standard part's view of the destination shows what the copy put there.
    const std::vector<std::string> aTop = ListFolder(Destination());
    std::vector<std::string> aShown;
    EXPECT_TRUE(WaitUntil(
        [&] {
            aShown = Ui().FolderViewNames();
            std::sort(aShown.begin(), aShown.end());
            return aShown == aTop;
        },
        MESSAGE_TIMEOUT_MS))
        << "the files view shows " << ::testing::PrintToString(aShown) << ", the folder holds "
        << ::testing::PrintToString(aTop);
}

// With "Select ALL" ticked the selection and the folder the list shows play no part: the root's
// files land in the destination and each top-level card folder becomes a folder in it.
TEST_F(CCopyTest, SelectAllCopiesTheWholeCardFromAnyFolderAndSelection) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("ROOT.TXT", 1500));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\IMG0000.JPG", 7000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\IMG0001.JPG", 12288));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\SUB\\IMG0002.JPG", 300));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("MISC\\NOTE.TXT", 10));
    ASSERT_NO_FATAL_FAILURE(AddCardFolder("MISC\\EMPTY"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"DCIM", "MISC", "ROOT.TXT"}));
    ASSERT_TRUE(OpenCardFolder("DCIM", {"100PHOTO", "IMG0000.JPG"}));
    ASSERT_TRUE(Select({"100PHOTO"}));
    ASSERT_TRUE(TickSelectAll());

    ASSERT_TRUE(Copy());
    EXPECT_TRUE(Succeeded(SameTree(ReadFolderTree(Destination()), ReadFolderTree(m_card.Path()))));
    // The panel still shows the folder and the selection it showed before.
    EXPECT_EQ(Ui().ControlText(PANEL_CARD_PATH), "DCIM");
    EXPECT_EQ(Ui().SelectedItems(), std::vector<std::string>{"100PHOTO"});
}
