#include "CopyTest.h"

std::ostream& operator<<(std::ostream& stream, const CopyPanelView& view) {
    return stream << "status \"" << view.strStatus << "\", button 1008 "
                  << ButtonFaceName(view.face) << (view.bExitStop ? " enabled" : " disabled")
                  << ", card list " << view.bCardList << ", Select ALL " << view.bSelectAll
                  << ", PARENT " << view.bParent << ", COPY " << view.bCopy << ", files view "
                  << view.bFilesView << ", folder box " << view.bFolderBox;
}

void CCopyTest::SetUp() {
    ASSERT_NO_FATAL_FAILURE(CWindowTest::SetUp());
    m_pFaces = std::make_unique<CButtonFaceReader>(m_session.LanguageModulePath());
    ASSERT_TRUE(m_pFaces->IsReady())
        << "the EXIT and STOP pictures do not load from the language module";
}

::testing::AssertionResult CCopyTest::OpenCardFolder(const std::string& strName,
                                                     const std::vector<std::string>& aNames) {
    const Outcome clicked = Ui().DoubleClickItem(strName);
    return clicked ? WaitForListing(aNames) : Succeeded(clicked);
}

::testing::AssertionResult CCopyTest::Press(int nButton) {
    const Outcome clicked = Ui().Click(nButton);
    if (!clicked) return Succeeded(clicked);
    if (!Ui().WaitForWindowThread())
        return ::testing::AssertionFailure() << "the window did not take the click";
    return ::testing::AssertionSuccess();
}

CopyPanelView CCopyTest::ReadPanel() {
    CopyPanelView view;
    view.bCardList = Ui().IsEnabled(PANEL_CARD_LIST);
    view.bSelectAll = Ui().IsEnabled(PANEL_SELECT_ALL);
    view.bParent = Ui().IsEnabled(PANEL_PARENT_BUTTON);
    view.bCopy = Ui().IsEnabled(PANEL_COPY_BUTTON);
    view.bExitStop = Ui().IsEnabled(PANEL_EXIT_STOP_BUTTON);
    view.bFilesView = IsWindowEnabled(Ui().StandardControl(STD_FOLDER_VIEW)) != FALSE;
    view.bFolderBox = IsWindowEnabled(Ui().StandardControl(STD_FOLDER_COMBO)) != FALSE;
    view.face = ExitStopFace();
    // Read last: the end-of-copy reset clears it last, and cannot run while the window thread
    // answers this read, so a status still shown means every value above came before the reset.
    view.strStatus = Ui().ControlText(PANEL_STATUS_LINE);
    return view;
}

::testing::AssertionResult CCopyTest::WaitForCopying(DWORD dwTimeoutMs) {
    CopyPanelView view;
    if (WaitUntil(
            [&] {
                view = ReadPanel();
                return view.strStatus == Slot(TEXT_COPYING) && view.face == ButtonFace::STOP &&
                       !view.bCardList;
            },
            dwTimeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "no copy at work: " << view;
}

::testing::AssertionResult CCopyTest::WaitForCopyEnd(DWORD dwTimeoutMs) {
    CopyPanelView view;
    HWND hBox = nullptr;
    const bool bEnded = WaitUntil(
        [&] {
            const std::vector<HWND> aBoxes = Ui().MessageBoxes();
            if (!aBoxes.empty()) {
                hBox = aBoxes.front();
                return true;
            }
            view = ReadPanel();
            return view.strStatus.empty() && view.bExitStop && view.face == ButtonFace::EXIT &&
                   view.bCardList && view.bSelectAll && view.bFilesView && view.bFolderBox;
        },
        dwTimeoutMs);
    if (hBox) {
        return ::testing::AssertionFailure()
               << "a message is open: \"" << Ui().ReadMessageBox(hBox).strText << "\"";
    }
    if (bEnded) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "the copy has not ended: " << view << "; windows:" << Ui().DescribeWindows();
}

::testing::AssertionResult CCopyTest::Copy() {
    ::testing::AssertionResult pressed = PressCopy();
    if (!pressed) return pressed;
    return WaitForCopyEnd();
}

DWORD CCopyTest::CloseItemState() {
    if (!m_closeItemProbe.IsLoaded()) {
        const Outcome loaded =
            m_closeItemProbe.Load(m_session.Process().Handle(), m_session.Process().Id(),
                                  ThisProgramFolder() + "\\close_item_probe.dll");
        EXPECT_TRUE(Succeeded(loaded));
    }
    DWORD dwState = 0;
    m_closeItemProbe.Call("ReadCloseItemState", Ui().MainDialog(), &dwState);
    return dwState;
}

std::vector<std::string> CCopyTest::OpenedCardFiles() {
    std::vector<std::string> aFiles;
    for (const std::string& strPacket : m_emulator.Packets(FO_PREFIX))
        aFiles.push_back(PacketPath(strPacket));
    return aFiles;
}

::testing::AssertionResult CCopyTest::HoldsCardFile(const std::string& strPcPath,
                                                    const std::string& strCardRelative) const {
    std::vector<unsigned char> aBytes;
    if (!ReadBytes(strPcPath, &aBytes))
        return ::testing::AssertionFailure() << strPcPath << " cannot be read";
    const std::vector<unsigned char> aExpected = CardBytes(strCardRelative);
    if (aBytes != aExpected) {
        return ::testing::AssertionFailure()
               << strPcPath << " has " << aBytes.size() << " bytes unlike the " << aExpected.size()
               << " of the card's " << strCardRelative;
    }
    return ::testing::AssertionSuccess();
}
