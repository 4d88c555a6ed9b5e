#include "WindowStory.h"

#include "ModuleText.h"

::testing::AssertionResult Succeeded(const Outcome& outcome) {
    if (outcome) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << outcome.why;
}

std::ostream& operator<<(std::ostream& stream, const PanelView& view) {
    return stream << "card list " << view.bCardList << ", Select ALL " << view.bSelectAll
                  << ", PARENT " << view.bParent << ", COPY " << view.bCopy << ", 1008 "
                  << view.bExitStop << " showing " << ButtonFaceName(view.face) << ", files view "
                  << view.bFilesView << ", folder box " << view.bFolderBox << ", toolbar "
                  << view.bToolbar << ", Close item " << view.dwCloseItem << ", lamps dark "
                  << view.bLampsDark << ", status \"" << view.strStatus << "\", title \""
                  << view.strTitle << "\"";
}

void CWindowStory::SetUp() {
    ASSERT_TRUE(m_emulator.Connected()) << "run under scripts/test-env.sh";
    ASSERT_TRUE(Succeeded(m_session.Install()));
    m_pFaces = std::make_unique<CButtonFaceReader>(m_session.ProgramPath(),
                                                   m_session.LanguageModulePath());
    ASSERT_TRUE(m_pFaces->IsReady()) << "the button pictures do not load";
}

void CWindowStory::TearDown() {
    EXPECT_TRUE(m_session.End(WAIT_MS)) << "the program did not end when its window was closed";
}

void CWindowStory::Start(const std::vector<std::string>& aFaults, const std::string& strFolder) {
    ASSERT_TRUE(Succeeded(
        m_emulator.Serve(m_strCardImage.empty() ? m_card.Path() : m_strCardImage, aFaults)));
    ASSERT_TRUE(Succeeded(m_session.Start(WAIT_MS, strFolder)));
}

std::string CWindowStory::Text(UINT nId) const {
    return ModuleText(m_session.LanguageModulePath(), nId);
}

::testing::AssertionResult CWindowStory::Answer(const std::string& strText, int nButton,
                                                const std::vector<int>& aButtons) {
    HWND hBox = Ui().WaitForMessageBox(WAIT_MS);
    if (!hBox) return ::testing::AssertionFailure() << "no message box appeared";
    const MessageBoxView view = Ui().ReadMessageBox(hBox);
    if (view.strText != strText || view.strCaption != Slot(TEXT_TITLE) ||
        view.aButtons != aButtons) {
        return ::testing::AssertionFailure()
               << "the message under \"" << view.strCaption << "\" with " << view.aButtons.size()
               << " buttons reads\n\"" << view.strText << "\"\nexpected\n\"" << strText << "\"";
    }
    if (!Ui().PressMessageBoxButton(hBox, nButton) ||
        !WaitUntil([&] { return !IsWindow(hBox) || !IsWindowVisible(hBox); }, WAIT_MS)) {
        return ::testing::AssertionFailure() << "the message box stayed";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CWindowStory::WaitForListing(const std::vector<std::string>& aNames) {
    const Outcome listed = Ui().WaitForListing(aNames, WAIT_MS);
    if (!listed) return Succeeded(listed);
    if (Ui().ItemTextsInReadingOrder() != aNames)
        return ::testing::AssertionFailure() << "the items are not in this order on the screen";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CWindowStory::WaitForOwnEnd() {
    std::string strShown;
    const bool bEnded = WaitUntil(
        [&] {
            for (HWND hBox : Ui().MessageBoxes()) strShown += Ui().ReadMessageBox(hBox).strText;
            return !strShown.empty() || !m_session.Process().IsRunning();
        },
        WAIT_MS);
    if (!strShown.empty())
        return ::testing::AssertionFailure() << "a message appeared: " << strShown;
    if (!bEnded) return ::testing::AssertionFailure() << "the program still runs";
    if (m_session.Process().ExitCode() != 0)
        return ::testing::AssertionFailure() << "exit code " << m_session.Process().ExitCode();
    return ::testing::AssertionSuccess();
}

PanelView CWindowStory::ReadPanel() {
    if (!m_probe.IsLoaded()) {
        EXPECT_TRUE(
            Succeeded(m_probe.Load(m_session.Process().Handle(), m_session.Process().Id())));
    }
    PanelView view;
    view.bCardList = Ui().IsEnabled(PANEL_CARD_LIST);
    view.bSelectAll = Ui().IsEnabled(PANEL_SELECT_ALL);
    view.bParent = Ui().IsEnabled(PANEL_PARENT_BUTTON);
    view.bCopy = Ui().IsEnabled(PANEL_COPY_BUTTON);
    view.bExitStop = Ui().IsEnabled(PANEL_EXIT_STOP_BUTTON);
    view.bFilesView = IsWindowEnabled(Ui().StandardControl(STD_FOLDER_VIEW));
    view.bFolderBox = IsWindowEnabled(Ui().StandardControl(STD_FOLDER_COMBO));
    view.bToolbar = IsWindowEnabled(GetWindow(Ui().StandardControl(STD_HELP_BUTTON), GW_HWNDNEXT));
    view.face = m_pFaces->Read(Ui().Control(PANEL_EXIT_STOP_BUTTON));
    view.dwCloseItem = m_probe.CloseItemState(Ui().MainDialog());
    view.bLampsDark = ReadLampRow(Ui()).AllDark();
    view.strStatus = Ui().ControlText(PANEL_STATUS_LINE);
    view.strTitle = Ui().Title();
    return view;
}

::testing::AssertionResult CWindowStory::IsIdle(const PanelView& view) const {
    if (view.bCardList && view.bSelectAll && view.bCopy && view.bExitStop && view.bFilesView &&
        view.bFolderBox && view.bToolbar && view.face == ButtonFace::EXIT &&
        view.dwCloseItem == CLOSE_ITEM_ENABLED && view.bLampsDark &&
        view.strTitle == Slot(TEXT_TITLE)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "not idle: " << view;
}

::testing::AssertionResult CWindowStory::WaitForCopyEnd() {
    PanelView view;
    std::string strMessage;
    // The lamps go dark up to one lamp step after the rest.
    WaitUntil(
        [&] {
            if (const HWND hBox = Ui().WaitForMessageBox(0))
                strMessage = Ui().ReadMessageBox(hBox).strText;
            view = ReadPanel();
            return !strMessage.empty() || IsIdle(view);
        },
        COPY_MS);
    if (!strMessage.empty())
        return ::testing::AssertionFailure() << "a message is open: " << strMessage;
    return IsIdle(view);
}
