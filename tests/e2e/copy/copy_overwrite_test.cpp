// Existing PC files: one Yes/No question per file, in a folder tree as for a selected file.
#include "CopyTest.h"

namespace {

const std::vector<unsigned char> OLD_BYTES = {'o', 'l', 'd', '\r', '\n'};

}  // namespace

// The card list shows PICS, X.TXT, Y.TXT, so the walk meets PICS\A.JPG, PICS\B.JPG, X.TXT and
// Y.TXT in that order; all four exist on the PC. "No" keeps a file untouched and unread from the
// card, "Yes" replaces it, and files that do not exist are copied without a question.
TEST_F(CCopyTest, EachExistingFileBringsOneQuestion) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\A.JPG", 3000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\B.JPG", 6000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PICS\\C.JPG", 9000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("X.TXT", 100));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("Y.TXT", 200));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("Z.TXT", 300));
    ASSERT_TRUE(MakeFolders(Destination() + "\\PICS"));
    for (const char* pName : {"PICS\\A.JPG", "PICS\\B.JPG", "X.TXT", "Y.TXT"}) {
        ASSERT_TRUE(WriteBytes(Destination() + "\\" + pName, OLD_BYTES));
    }
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"PICS", "X.TXT", "Y.TXT", "Z.TXT"}));
    ASSERT_TRUE(Select({"PICS", "X.TXT", "Y.TXT", "Z.TXT"}));

    ASSERT_TRUE(PressCopy());
    const std::string strQuestion = Slot(TEXT_OVERWRITE);
    ASSERT_TRUE(AnswerMessage(strQuestion, IDNO, {IDYES, IDNO})) << "for PICS\\A.JPG";
    ASSERT_TRUE(AnswerMessage(strQuestion, IDYES, {IDYES, IDNO})) << "for PICS\\B.JPG";
    ASSERT_TRUE(AnswerMessage(strQuestion, IDNO, {IDYES, IDNO})) << "for X.TXT";
    ASSERT_TRUE(AnswerMessage(strQuestion, IDYES, {IDYES, IDNO})) << "for Y.TXT";
    ASSERT_TRUE(WaitForCopyEnd());

    std::vector<unsigned char> aBytes;
    EXPECT_TRUE(ReadBytes(Destination() + "\\PICS\\A.JPG", &aBytes) && aBytes == OLD_BYTES);
    EXPECT_TRUE(ReadBytes(Destination() + "\\X.TXT", &aBytes) && aBytes == OLD_BYTES);
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\PICS\\B.JPG", "PICS\\B.JPG"));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\PICS\\C.JPG", "PICS\\C.JPG"));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\Y.TXT", "Y.TXT"));
    EXPECT_TRUE(HoldsCardFile(Destination() + "\\Z.TXT", "Z.TXT"));
    EXPECT_EQ(OpenedCardFiles(),
              (std::vector<std::string>{"\\PICS\\B.JPG", "\\PICS\\C.JPG", "\\Y.TXT", "\\Z.TXT"}));
    EXPECT_EQ(TemporaryLeftovers(ReadFolderTree(Destination())), std::vector<std::string>{});
}
