// Starting the program when something is missing or already running, one start per case.
#include "WindowStory.h"

namespace {

struct StartCase {
    const char* pName;
    bool bPort;            // the printer port exists
    bool bModule;          // the registry names the install folder, so the texts load
    bool bSecondInstance;  // the program is started once more while it runs
};

const StartCase START_CASES[] = {
    {"NoPrinterPort", false, true, false},
    {"NoLanguageModule", true, false, false},
    {"SecondInstance", true, true, true},
};

class CStartStory : public CWindowStory, public ::testing::WithParamInterface<StartCase> {};

}  // namespace

TEST_P(CStartStory, OpensWhatItCanAndLeavesTheRestAlone) {
    const StartCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    // Without the value the module is looked for in the root of the current drive.
    if (!c.bModule) {
        ASSERT_TRUE(m_session.RemoveSetupPath());
    }
    ASSERT_NO_FATAL_FAILURE(
        Start(c.bPort ? std::vector<std::string>{} : std::vector<std::string>{"--no-port"}));
    if (!c.bPort) {
        ASSERT_TRUE(Answer(Text(TEXT_NO_PORT), IDOK));
    }
    const auto shown = [&](UINT nText) { return c.bModule ? Slot(nText) : ""; };
    EXPECT_EQ(Ui().Title(), shown(TEXT_TITLE));
    EXPECT_EQ(Ui().ControlText(PANEL_COPY_FROM_LABEL), shown(TEXT_CARD_CAPTION));
    EXPECT_EQ(Ui().ControlText(PANEL_COPY_TO_LABEL), shown(TEXT_PC_CAPTION));
    EXPECT_EQ(Ui().ControlText(PANEL_SELECT_ALL), shown(TEXT_SELECT_ALL));

    if (!c.bPort) {
        // Told once; then only EXIT can be pressed, and it ends the program.
        ASSERT_TRUE(Ui().WaitForWindowThread());
        EXPECT_TRUE(Ui().MessageBoxes().empty());
        EXPECT_FALSE(Ui().IsEnabled(PANEL_COPY_BUTTON) || Ui().IsEnabled(PANEL_PARENT_BUTTON));
        EXPECT_EQ(Ui().ItemCount(), 0);
        ASSERT_TRUE(Succeeded(Ui().Click(PANEL_EXIT_STOP_BUTTON)));
        ASSERT_TRUE(WaitForOwnEnd());
        EXPECT_EQ(Packets(), std::vector<std::string>{});
        return;
    }
    ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
    EXPECT_TRUE(Ui().IsEnabled(PANEL_COPY_BUTTON));
    if (!c.bSecondInstance) return;
    const HWND hFirstWindow = Ui().MainDialog();
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
        WAIT_MS);
    if (!bSecondEnded) second.Terminate();
    EXPECT_TRUE(bSecondEnded && !bSecondShowedAWindow);
    EXPECT_TRUE(Ui().IsResponding());
    EXPECT_EQ(Ui().FindMainDialog(), hFirstWindow);
    EXPECT_EQ(Packets().size(), 4u) << "the second start talked to the printer";
}

INSTANTIATE_TEST_SUITE_P(Start, CStartStory, ::testing::ValuesIn(START_CASES),
                         [](const auto& info) { return std::string(info.param.pName); });
