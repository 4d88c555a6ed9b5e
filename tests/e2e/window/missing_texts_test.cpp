// A language module that lacks texts: the window shows a missing text as nothing at all, never as
// something of its own, and works as ever. The module is the English one without the title and
// the texts of a copy's progress and end (tests/e2e/CMakeLists.txt).
#include <set>

#include "WindowStory.h"

TEST_F(CWindowStory, MissingTextsShowAsNothingAndTheCopyStillWorks) {
    ASSERT_TRUE(CopyFileA((ThisProgramFolder() + "\\lang_partial\\" + LANGUAGE_MODULE_FILE).c_str(),
                          m_session.LanguageModulePath().c_str(), FALSE));
    ASSERT_TRUE(Text(TEXT_TITLE).empty() && Text(TEXT_COPIED_ALL).empty() &&
                !Text(TEXT_COPYING).empty());
    for (const char* pFile : {"A.JPG", "B.JPG"}) ASSERT_NO_FATAL_FAILURE(AddCardFile(pFile, 20000));
    // Slow enough for the progress to be shown several times.
    ASSERT_NO_FATAL_FAILURE(Start({"--rate", "20000"}));
    ASSERT_TRUE(WaitForListing({"A.JPG", "B.JPG"}));
    EXPECT_EQ(Ui().ControlText(PANEL_COPY_FROM_LABEL), Slot(TEXT_CARD_CAPTION));
    ASSERT_TRUE(Succeeded(Ui().TickSelectAll()));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_COPY_BUTTON)));

    // What the status line and the title show, from COPY until the copy has ended, beyond the
    // module's texts.
    std::set<std::string> aOwn;
    bool bStarted = false;
    PanelView view;
    ASSERT_TRUE(WaitUntil(
        [&] {
            view = ReadPanel();
            if (view.strStatus != Slot(TEXT_COPYING) && !view.strStatus.empty())
                aOwn.insert(view.strStatus);
            if (!view.strTitle.empty()) aOwn.insert(view.strTitle);
            bStarted |= view.face == ButtonFace::STOP;
            return bStarted && IsIdle(view);
        },
        COPY_MS))
        << view;
    EXPECT_EQ(aOwn, std::set<std::string>{});
    EXPECT_TRUE(Ui().MessageBoxes().empty());
    FolderTree expected;
    for (const char* pFile : {"A.JPG", "B.JPG"}) expected[pFile].aBytes = m_card.Bytes(pFile);
    EXPECT_TRUE(Succeeded(SameTree(ReadFolderTree(Destination()), expected)));
}
