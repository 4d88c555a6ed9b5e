// Help on the panel's controls: F1 and the context menu ask for the control's topic in the help
// file of the install folder.
#include "WindowStory.h"

TEST_F(CWindowStory, HelpShowsTheTopicOfTheControlAskedAbout) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
    ASSERT_TRUE(Succeeded(m_probe.Load(m_session.Process().Handle(), m_session.Process().Id())));
    ASSERT_TRUE(Succeeded(m_probe.WatchHelp()));

    ASSERT_TRUE(Succeeded(Ui().BringToFront()));
    ASSERT_TRUE(Succeeded(Ui().FocusCardList()));
    ASSERT_TRUE(Succeeded(Ui().PressKey(VK_F1)));
    ASSERT_TRUE(WaitUntil([&] { return m_probe.HelpCalls().size() == 1; }, WAIT_MS));
    ASSERT_TRUE(Succeeded(Ui().RightClick(PANEL_COPY_BUTTON)));
    ASSERT_TRUE(WaitUntil([&] { return m_probe.HelpCalls().size() == 2; }, WAIT_MS));

    const struct {
        UINT nCommand;
        int nControl;
        DWORD nContext;
    } aExpected[] = {{HELP_WM_HELP, PANEL_CARD_LIST, 2002},
                     {HELP_CONTEXTMENU, PANEL_COPY_BUTTON, 2003}};
    for (int i = 0; i < 2; ++i) {
        const HelpCall& call = m_probe.HelpCalls()[i];
        EXPECT_EQ(call.nCommand, aExpected[i].nCommand);
        EXPECT_EQ(call.nControlId, aExpected[i].nControl);
        EXPECT_EQ(call.ContextOf(call.nControlId), aExpected[i].nContext);
        EXPECT_STRCASEEQ(call.strFile.c_str(),
                         (m_session.InstallFolder() + "\\" + HELP_FILE).c_str());
    }
}
