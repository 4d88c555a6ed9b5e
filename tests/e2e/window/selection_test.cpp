// A selection copy that meets trouble, into a folder on a 64 KiB disk: the user keeps the files
// already there ("No to all" at the first question), the card holds a name the PC cannot hold and a folder the printer does not have, and the
// disk fills up. What did arrive is right, and the end says exactly what did not.
#include "WindowStory.h"

namespace {

class CSmallDiskStory : public CWindowStory {
protected:
    std::unique_ptr<TempFolder> m_pDestination;  // outlives the program, which runs in it
};

}  // namespace

TEST_F(CSmallDiskStory, SelectionCopyTellsWhatItLeftOnTheCard) {
    const std::string strSmallDisk = EnvironmentValue("SMALL_DISK");
    ASSERT_FALSE(strSmallDisk.empty()) << "no small disk: run under scripts/test-env.sh";
    m_pDestination = std::make_unique<TempFolder>(FromUnixPath(strSmallDisk));
    const TempFolder& destination = *m_pDestination;
    const std::vector<std::pair<const char*, size_t>> aCard = {
        {"DCIM\\100PHOTO\\A1.BIN", 3000}, {"DCIM\\100PHOTO\\SUB\\S1.BIN", 2000},
        {"DCIM\\101PHOTO\\B1.BIN", 8000}, {"DCIM\\101PHOTO\\B2.BIN", 80000},
        {"DCIM\\101PHOTO\\B3.BIN", 1000}, {"DCIM\\IMG1.JPG", 500},
        {"DCIM\\IMG2.JPG", 700},          {"DCIM\\IMG3.JPG", 900}};
    for (const auto& [pPath, nSize] : aCard) ASSERT_NO_FATAL_FAILURE(AddCardFile(pPath, nSize));
    const std::vector<unsigned char> aOld = {'o', 'l', 'd'};
    // Already on the PC: one file of a selected folder's tree, one selected file.
    ASSERT_TRUE(MakeFolders(destination / "100PHOTO"));
    ASSERT_TRUE(WriteBytes(destination / "100PHOTO\\A1.BIN", aOld));
    ASSERT_TRUE(WriteBytes(destination / "IMG1.JPG", aOld));
    ASSERT_NO_FATAL_FAILURE(
        Start({"--inject-record", "\\DCIM\\100PHOTO\\SUB:" + Hex("CON     JPG") + ":20:100",
               "--inject-record", "\\DCIM\\101PHOTO:" + Hex("GHOST   OLD") + ":10:0"},
              destination.Path()));
    ASSERT_TRUE(WaitForListing({"DCIM"}));
    ASSERT_TRUE(Succeeded(Ui().DoubleClickItem("DCIM")));
    ASSERT_TRUE(WaitForListing({"100PHOTO", "101PHOTO", "IMG1.JPG", "IMG2.JPG", "IMG3.JPG"}));
    ASSERT_TRUE(Succeeded(Ui().SelectItems({"100PHOTO", "101PHOTO", "IMG1.JPG", "IMG2.JPG"})));

    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
    ASSERT_TRUE(AnswerOverwrite(destination / "100PHOTO\\A1.BIN", IDC_NO_TO_ALL));
    ASSERT_TRUE(Answer(Text(TEXT_DISK_FULL), IDOK)) << "for 101PHOTO\\B2.BIN";
    const auto left = [&](FileOutcome outcome, const char* pCount) {
        return Fill(Text(TEXT_LEFT_DECLINED + outcome - FILE_DECLINED), {pCount}) + "\n";
    };
    const std::string strReport =
        Fill(Text(TEXT_REPORT_HEADER_AT_LEAST), {"6"}) + "\n" + left(FILE_DECLINED, "2") +
        left(FILE_BAD_NAME, "1") + left(FILE_READ_FAILED, "1") + left(FILE_DISK_FULL, "2") + "\n" +
        Text(TEXT_REPORT_NAMES) +
        "\n\\DCIM\\100PHOTO\\SUB\\CON.JPG\n\\DCIM\\101PHOTO\\GHOST.OLD\n\\DCIM\\101PHOTO\\B2.BIN\n" +
        Fill(Text(TEXT_REPORT_MORE), {"1"});
    ASSERT_TRUE(Answer(strReport, IDOK));
    ASSERT_TRUE(WaitForCopyEnd());
    // The folder the printer does not have may hold files: the total is a least one.
    EXPECT_EQ(Ui().ControlText(PANEL_STATUS_LINE), Fill(Text(TEXT_COPIED_OF_AT_LEAST), {"3", "9"}));
    // The folder is asked for by its card name, extension and all.
    EXPECT_EQ(Packets(ListingPacket("\\DCIM\\101PHOTO\\GHOST.OLD\\*.*")).size(), 2u);
    EXPECT_TRUE(Ui().IsEnabled(PANEL_PARENT_BUTTON));

    // A selected folder of \DCIM becomes a folder of the destination; nothing half-written stays.
    FolderTree expected;
    for (const char* pFolder : {"100PHOTO", "100PHOTO\\SUB", "101PHOTO"})
        expected[pFolder].bFolder = true;
    for (const char* pFile : {"100PHOTO\\SUB\\S1.BIN", "101PHOTO\\B1.BIN", "IMG2.JPG"})
        expected[pFile].aBytes = m_card.Bytes(std::string("DCIM\\") + pFile);
    expected["100PHOTO\\A1.BIN"].aBytes = expected["IMG1.JPG"].aBytes = aOld;
    EXPECT_TRUE(Succeeded(SameTree(ReadFolderTree(destination.Path()), expected)));
    std::vector<std::string> aOpened;
    for (const std::string& strPacket : Packets(FO_PREFIX))
        aOpened.push_back(PacketPath(strPacket));
    EXPECT_EQ(aOpened, (std::vector<std::string>{
                           "\\DCIM\\100PHOTO\\SUB\\S1.BIN", "\\DCIM\\101PHOTO\\B1.BIN",
                           "\\DCIM\\101PHOTO\\B2.BIN", "\\DCIM\\IMG2.JPG"}));
}
