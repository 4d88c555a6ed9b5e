#include "CopyTest.h"

#include <cstdio>

#include "CardSelection.h"

namespace {

constexpr DWORD ACTION_TIMEOUT_MS = 5000;

std::string Hex(const std::string& strText) {
    std::string strHex;
    for (unsigned char c : strText) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02x", c);
        strHex += digits;
    }
    return strHex;
}

std::string FromHex(const std::string& strHex) {
    std::string strText;
    for (size_t i = 0; i + 1 < strHex.size(); i += 2) {
        strText += static_cast<char>(std::stoi(strHex.substr(i, 2), nullptr, 16));
    }
    return strText;
}

// A seed from the whole path, so that no two card files share their bytes.
unsigned SeedOf(const std::string& strText) {
    unsigned nSeed = 2166136261u;
    for (unsigned char c : strText) nSeed = (nSeed ^ c) * 16777619u;
    return nSeed;
}

}  // namespace

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

void CCopyTest::StartProgramIn(const std::string& strFolder,
                               const std::vector<std::string>& aFaults) {
    if (m_strCardImage.empty()) {
        ASSERT_NO_FATAL_FAILURE(StartPrinter(aFaults));
    } else {
        std::vector<std::string> aArguments = {"--card-image", ToUnixPath(m_strCardImage)};
        aArguments.insert(aArguments.end(), aFaults.begin(), aFaults.end());
        ASSERT_EQ(m_emulator.Reset(aArguments), "");
    }
    m_strStartFolder = strFolder;
    ASSERT_TRUE(m_session.Start(20000, strFolder));
}

const std::string& CCopyTest::Destination() const {
    return m_strStartFolder.empty() ? m_session.DestinationFolder() : m_strStartFolder;
}

void CCopyTest::AddCardData(const std::string& strRelative, size_t nSize) {
    const std::string strPath = m_card / strRelative;
    ASSERT_TRUE(MakeFolders(strPath.substr(0, strPath.find_last_of('\\'))));
    ASSERT_TRUE(WriteBytes(strPath, PatternBytes(nSize, SeedOf(strRelative))));
}

std::vector<unsigned char> CCopyTest::CardBytes(const std::string& strRelative) const {
    std::vector<unsigned char> aBytes;
    ReadBytes(m_card / strRelative, &aBytes);
    return aBytes;
}

::testing::AssertionResult CCopyTest::Select(const std::vector<std::string>& aNames) {
    return SelectCardItems(Ui(), aNames);
}

::testing::AssertionResult CCopyTest::TickSelectAll() {
    ::testing::AssertionResult clicked = Ui().Click(SELECT_ALL);
    if (!clicked) return clicked;
    if (!WaitUntil([&] { return Ui().CheckState(SELECT_ALL) == BST_CHECKED; }, ACTION_TIMEOUT_MS) ||
        !Ui().WaitForWindowThread()) {
        return ::testing::AssertionFailure() << "\"Select ALL\" was not ticked";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CCopyTest::OpenCardFolder(const std::string& strName,
                                                     const std::vector<std::string>& aNames) {
    ::testing::AssertionResult clicked = Ui().DoubleClickItem(strName);
    if (!clicked) return clicked;
    return WaitForListing(aNames);
}

::testing::AssertionResult CCopyTest::PressCopy() {
    ::testing::AssertionResult clicked = Ui().Click(COPY_BUTTON);
    if (!clicked) return clicked;
    if (!Ui().WaitForWindowThread())
        return ::testing::AssertionFailure() << "the window did not take the click";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CCopyTest::PressStop() {
    ::testing::AssertionResult clicked = Ui().Click(EXIT_STOP_BUTTON);
    if (!clicked) return clicked;
    if (!Ui().WaitForWindowThread())
        return ::testing::AssertionFailure() << "the window did not take the click";
    return ::testing::AssertionSuccess();
}

CopyPanelView CCopyTest::ReadPanel() {
    CopyPanelView view;
    view.bCardList = Ui().IsEnabled(CARD_LIST);
    view.bSelectAll = Ui().IsEnabled(SELECT_ALL);
    view.bParent = Ui().IsEnabled(PARENT_BUTTON);
    view.bCopy = Ui().IsEnabled(COPY_BUTTON);
    view.bExitStop = Ui().IsEnabled(EXIT_STOP_BUTTON);
    view.bFilesView = IsWindowEnabled(Standard().Control(STANDARD_FILES_VIEW)) != FALSE;
    view.bFolderBox = IsWindowEnabled(Standard().Control(STANDARD_FOLDER_BOX)) != FALSE;
    view.face = ExitStopFace();
    // Read last: the end-of-copy reset clears it last, and cannot run while the window thread
    // answers this read, so a status still shown means every value above came before the reset.
    view.strStatus = Ui().ControlText(STATUS_LINE);
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

CStandardPart& CCopyTest::Standard() {
    if (!m_pStandard)
        m_pStandard = std::make_unique<CStandardPart>(m_session.Process().Id(), Ui().MainDialog());
    return *m_pStandard;
}

DWORD CCopyTest::CloseItemState() {
    if (!m_closeItem.IsAttached()) {
        ::testing::AssertionResult attached =
            m_closeItem.Attach(m_session.Process().Handle(), m_session.Process().Id());
        EXPECT_TRUE(attached);
        if (!attached) return 0;
    }
    return m_closeItem.Read(Ui().MainDialog());
}

std::string CCopyTest::OpenPacket(const std::string& strCardPath) {
    return std::string(FO_PREFIX) + Hex(strCardPath) + "00";
}

std::vector<std::string> CCopyTest::OpenedCardFiles() {
    std::vector<std::string> aFiles;
    for (const std::string& strPacket : Packets()) {
        if (strPacket.rfind(FO_PREFIX, 0) != 0 || strPacket.size() < 8) continue;
        aFiles.push_back(FromHex(strPacket.substr(6, strPacket.size() - 8)));
    }
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
