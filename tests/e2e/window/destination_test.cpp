// What a copy's end says when the PC cannot take a file: card files whose PC names folders have
// taken (in a tree and chosen alone), card folders too deep for the PC's paths. A file or folder
// that cannot be written leaves only itself: the rest of its tree still arrives. Each row is one
// program start and one copy, checked by the files on the PC, the status line, the end report and
// the files opened on the card.
#include "WindowStory.h"

namespace {

// Windows creates a folder of at most 247 characters, so that any 8.3 name fits below MAX_PATH:
// from a folder this long, DCIM\100PHOTO\101PHOTO would be 250 characters, in the band where
// the platform refuses a folder that a 255-character buffer still takes.
constexpr size_t DEEP_FOLDER_LENGTH = 250 - std::char_traits<char>::length("\\DCIM\\100PHOTO\\101PHOTO");

struct DestinationCase {
    const char* pName;
    bool bDeep;                           // the destination is nearly as long as a PC path may be
    std::vector<std::pair<const char*, size_t>> aCard;
    std::vector<const char*> aPcFolders;  // in the destination before the start
    std::vector<std::string> aSelected;   // at the card's root; none: the whole card
    const char* pAsked;                   // the one file asked about, answered Yes to all
    std::vector<std::string> aArrived;    // files from the card; folders end in "\"
    FileOutcome left;                     // why every other file stayed on the card
    std::vector<std::string> aNamed;      // the report names these, and counts the rest
    std::vector<std::string> aOpened;     // card files opened, in order
};

const DestinationCase DESTINATION_CASES[] = {
    {"FoldersInTheWay", false,
     {{"100PHOTO\\A.JPG", 6000}, {"100PHOTO\\B.JPG", 700}, {"100PHOTO\\SUB\\C.JPG", 500},
      {"IMG.JPG", 900}, {"README", 300}},
     {"100PHOTO\\A.JPG", "IMG.JPG"}, {"100PHOTO", "IMG.JPG", "README"}, "100PHOTO\\A.JPG",
     {"100PHOTO\\", "100PHOTO\\B.JPG", "100PHOTO\\SUB\\", "100PHOTO\\SUB\\C.JPG", "README"},
     FILE_WRITE_FAILED, {"\\100PHOTO\\A.JPG", "\\IMG.JPG"},
     {"\\100PHOTO\\A.JPG", "\\100PHOTO\\B.JPG", "\\100PHOTO\\SUB\\C.JPG", "\\IMG.JPG", "\\README"}},
    {"PathTooLong", true,
     {{"DCIM\\B.JPG", 700}, {"DCIM\\100PHOTO\\101PHOTO\\C.JPG", 6000},
      {"DCIM\\100PHOTO\\101PHOTO\\D.JPG", 500}, {"DCIM\\100PHOTO\\A\\F.JPG", 400}},
     {}, {}, nullptr,
     {"DCIM\\", "DCIM\\100PHOTO\\", "DCIM\\B.JPG", "DCIM\\100PHOTO\\A\\", "DCIM\\100PHOTO\\A\\F.JPG"},
     FILE_PATH_TOO_LONG, {}, {"\\DCIM\\B.JPG", "\\DCIM\\100PHOTO\\A\\F.JPG"}},
};

class CDestinationStory : public CWindowStory,
                          public ::testing::WithParamInterface<DestinationCase> {};

}  // namespace

TEST_P(CDestinationStory, CopyLandsInTheDestinationOrSaysWhyNot) {
    const DestinationCase& row = GetParam();
    for (const auto& [pPath, nSize] : row.aCard) ASSERT_NO_FATAL_FAILURE(AddCardFile(pPath, nSize));
    std::string strFolder = m_session.DestinationFolder();
    while (row.bDeep && strFolder.size() < DEEP_FOLDER_LENGTH) {
        const size_t nMissing = DEEP_FOLDER_LENGTH - strFolder.size();
        strFolder += "\\" + std::string(nMissing > 101 ? 50 : nMissing - 1, 'D');
    }
    ASSERT_TRUE(MakeFolders(strFolder));
    for (const char* pFolder : row.aPcFolders) ASSERT_TRUE(MakeFolders(strFolder + "\\" + pFolder));
    ASSERT_NO_FATAL_FAILURE(Start({}, strFolder));
    ASSERT_TRUE(Succeeded(Ui().WaitForRootListed(WAIT_MS)));
    ASSERT_TRUE(Succeeded(row.aSelected.empty() ? Ui().TickSelectAll()
                                                : Ui().SelectItems(row.aSelected)));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));
    if (row.pAsked) {
        ASSERT_TRUE(AnswerOverwrite(strFolder + "\\" + row.pAsked, IDC_YES_TO_ALL));
    }

    FolderTree expected;
    for (const char* pFolder : row.aPcFolders) expected[pFolder].bFolder = true;
    size_t nCopied = 0;
    uint64_t nBytes = 0;
    for (const std::string& strItem : row.aArrived) {
        if (strItem.back() == '\\') {
            expected[strItem.substr(0, strItem.size() - 1)].bFolder = true;
            continue;
        }
        expected[strItem].aBytes = m_card.Bytes(strItem);
        ++nCopied;
        nBytes += expected[strItem].aBytes.size();
    }
    const size_t nLeft = row.aCard.size() - nCopied;
    const std::string strTotal = std::to_string(row.aCard.size());
    if (nLeft > 0) {
        std::string strReport =
            Fill(Text(TEXT_REPORT_HEADER), {std::to_string(nLeft), strTotal}) + "\n" +
            Fill(Text(TEXT_LEFT_DECLINED + row.left - FILE_DECLINED), {std::to_string(nLeft)}) +
            "\n\n" + Text(TEXT_REPORT_NAMES);
        for (const std::string& strName : row.aNamed) strReport += "\n" + strName;
        if (nLeft > row.aNamed.size())
            strReport += "\n" + Fill(Text(TEXT_REPORT_MORE), {std::to_string(nLeft - row.aNamed.size())});
        ASSERT_TRUE(Answer(strReport, IDOK));
    }
    ASSERT_TRUE(WaitForCopyEnd());
    ASSERT_TRUE(Ui().WaitForWindowThread());  // after the end report, had there been one
    EXPECT_TRUE(Ui().MessageBoxes().empty());
    EXPECT_EQ(Ui().ControlText(PANEL_STATUS_LINE),
              nLeft == 0 ? Fill(Text(TEXT_COPIED_ALL), {std::to_string(nCopied), ByteSize(nBytes)})
                         : Fill(Text(TEXT_COPIED_SOME), {std::to_string(nCopied), strTotal}));
    EXPECT_TRUE(Succeeded(SameTree(ReadFolderTree(strFolder), expected)));
    std::vector<std::string> aOpened;
    for (const std::string& strPacket : Packets(FO_PREFIX)) aOpened.push_back(PacketPath(strPacket));
    EXPECT_EQ(aOpened, row.aOpened);
}

INSTANTIATE_TEST_SUITE_P(Destinations, CDestinationStory, ::testing::ValuesIn(DESTINATION_CASES),
                         [](const auto& info) { return std::string(info.param.pName); });
