// Start-up as the user meets it: no printer port, the texts of the language module, starting the
// program a second time.
#include "WindowTest.h"

TEST_F(CWindowTest, WithoutAPortOneMessageLeavesOnlyExitUsable) {
    ASSERT_TRUE(Succeeded(m_emulator.Reset({"--no-port"})));
    ASSERT_TRUE(Succeeded(m_session.Start()));
    ASSERT_TRUE(AnswerMessage(Text(TEXT_NO_PORT), IDOK));

    ASSERT_TRUE(Ui().WaitForWindowThread());
    EXPECT_TRUE(Ui().MessageBoxes().empty()) << "the port failure is told once";
    EXPECT_FALSE(Ui().IsEnabled(PANEL_COPY_BUTTON));
    EXPECT_FALSE(Ui().IsEnabled(PANEL_PARENT_BUTTON));
    EXPECT_TRUE(Ui().IsEnabled(PANEL_EXIT_STOP_BUTTON));
    EXPECT_FALSE(Ui().Click(PANEL_COPY_BUTTON));
    EXPECT_EQ(Ui().ItemCount(), 0);

    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_EXIT_STOP_BUTTON)));
    EXPECT_TRUE(Succeeded(m_session.WaitForExit(EXIT_TIMEOUT_MS)));
    EXPECT_TRUE(Packets().empty());
}

TEST_F(CWindowTest, TitleAndCaptionsComeFromTheLanguageModule) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_FALSE(Slot(TEXT_TITLE).empty()) << "the installed language module has no title";

    EXPECT_EQ(Ui().Title(), Slot(TEXT_TITLE));
    EXPECT_EQ(Ui().ControlText(PANEL_COPY_FROM_LABEL), Slot(TEXT_CARD_CAPTION));
    EXPECT_EQ(Ui().ControlText(PANEL_COPY_TO_LABEL), Slot(TEXT_PC_CAPTION));
    EXPECT_EQ(Ui().ControlText(PANEL_SELECT_ALL), Slot(TEXT_SELECT_ALL));
    EXPECT_TRUE(WaitForListing({"PHOTO.JPG"}));
}

TEST_F(CWindowTest, WithoutTheRegistryValueTheWindowOpensWithEmptyTexts) {
    // Without the value the module is looked for in the root of the current drive.
    const std::string strDriveRoot = m_session.DestinationFolder().substr(0, 3);
    ASSERT_FALSE(FileExists(strDriveRoot + "resource.dll"));
    ASSERT_TRUE(m_session.RemoveSetupPath());
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());

    EXPECT_EQ(Ui().Title(), "");
    EXPECT_EQ(Ui().ControlText(PANEL_COPY_FROM_LABEL), "");
    EXPECT_EQ(Ui().ControlText(PANEL_COPY_TO_LABEL), "");
    EXPECT_EQ(Ui().ControlText(PANEL_SELECT_ALL), "");
    EXPECT_TRUE(WaitForListing({"PHOTO.JPG"})) << "the window works all the same";
}

TEST_F(CWindowTest, ASecondStartEndsAtOnceAndLeavesTheFirstAlone) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
    const HWND hFirstWindow = Ui().MainDialog();
    const size_t nPackets = Packets().size();

    CProgramProcess second;
    ASSERT_TRUE(Succeeded(m_session.StartAnother(&second)));
    CUiDriver secondUi(second.Id());
    bool bSecondShowedAWindow = false;
    const bool bSecondEnded = WaitUntil(
        [&] {
            for (HWND hWnd : secondUi.TopLevelWindows())
                bSecondShowedAWindow |= IsWindowVisible(hWnd) != 0;
            return !second.IsRunning();
        },
        EXIT_TIMEOUT_MS);
    if (!bSecondEnded) second.Terminate();
    ASSERT_TRUE(bSecondEnded) << "the second start is still running";
    RecordProperty("second_start_exit_code", static_cast<int>(second.ExitCode()));
    EXPECT_FALSE(bSecondShowedAWindow);

    EXPECT_TRUE(Ui().IsResponding());
    EXPECT_EQ(Ui().FindMainDialog(), hFirstWindow);
    EXPECT_EQ(Ui().ItemTexts(), std::vector<std::string>{"PHOTO.JPG"});
    EXPECT_TRUE(Ui().IsEnabled(PANEL_COPY_BUTTON));
    EXPECT_EQ(Packets().size(), nPackets) << "the second start talked to the printer";
}

TEST_F(CWindowTest, AfterTheFirstHasEndedTheProgramStartsAgain) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
    ASSERT_TRUE(Succeeded(Ui().Click(PANEL_EXIT_STOP_BUTTON)));
    ASSERT_TRUE(Succeeded(m_session.WaitForExit(EXIT_TIMEOUT_MS)));

    ASSERT_NO_FATAL_FAILURE(StartProgram());
    EXPECT_TRUE(WaitForListing({"PHOTO.JPG"}));
}
