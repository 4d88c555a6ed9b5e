#include "WindowTest.h"

#include <cstdio>

void CWindowTest::SetUp() {
    ASSERT_TRUE(EmulatorControl::Available()) << "run under scripts/test-env.sh";
    ASSERT_TRUE(m_emulator.Connected());
    ASSERT_TRUE(m_session.Install());
}

void CWindowTest::TearDown() {
    EXPECT_TRUE(m_session.End(EXIT_TIMEOUT_MS))
        << "the program did not end after its window was closed and had to be terminated";
}

void CWindowTest::StartPrinter(const std::vector<std::string>& aFaults) {
    std::vector<std::string> aArguments = {"--card-dir", ToUnixPath(m_card.Path())};
    aArguments.insert(aArguments.end(), aFaults.begin(), aFaults.end());
    ASSERT_EQ(m_emulator.Reset(aArguments), "");
}

void CWindowTest::StartProgram(const std::vector<std::string>& aFaults) {
    ASSERT_NO_FATAL_FAILURE(StartPrinter(aFaults));
    ASSERT_TRUE(m_session.Start());
}

void CWindowTest::AddCardFile(const std::string& strRelative, size_t nSize) {
    const std::string strPath = m_card / strRelative;
    const size_t nSlash = strPath.find_last_of('\\');
    ASSERT_TRUE(MakeFolders(strPath.substr(0, nSlash)));
    ASSERT_TRUE(
        WriteBytes(strPath, PatternBytes(nSize, static_cast<unsigned>(strRelative.size()))));
}

void CWindowTest::AddCardFolder(const std::string& strRelative) {
    ASSERT_TRUE(MakeFolders(m_card / strRelative));
}

std::string CWindowTest::Text(UINT nId) const {
    HMODULE hModule =
        LoadLibraryExA(m_session.LanguageModulePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    char text[1024] = "";
    if (hModule) {
        LoadStringA(hModule, nId, text, sizeof(text));
        FreeLibrary(hModule);
    }
    return text;
}

size_t CWindowTest::CountPackets(const std::string& strHex) {
    size_t nCount = 0;
    for (const std::string& strPacket : Packets()) nCount += strPacket == strHex;
    return nCount;
}

size_t CWindowTest::CountPacketsStartingWith(const std::string& strPrefix) {
    size_t nCount = 0;
    for (const std::string& strPacket : Packets()) nCount += strPacket.rfind(strPrefix, 0) == 0;
    return nCount;
}

std::string CWindowTest::ListingPacket(const std::string& strPattern) {
    std::string strHex = IR_PREFIX;
    for (unsigned char c : strPattern) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02x", c);
        strHex += digits;
    }
    return strHex + "00";
}

::testing::AssertionResult CWindowTest::WaitForListing(const std::vector<std::string>& aNames,
                                                       DWORD dwTimeoutMs) {
    // The list is filled, then the status line cleared, in one handler of the window thread.
    std::vector<std::string> aShown;
    std::string strStatus;
    const bool bShown = WaitUntil(
        [&] {
            aShown = Ui().ItemTexts();
            strStatus = Ui().ControlText(STATUS_LINE);
            return aShown == aNames && strStatus.empty();
        },
        dwTimeoutMs);
    if (bShown) return ::testing::AssertionSuccess();
    std::string strList;
    for (const std::string& strName : aShown) strList += " \"" + strName + "\"";
    return ::testing::AssertionFailure()
           << "the card list shows" << (strList.empty() ? " nothing" : strList)
           << ", the status line \"" << strStatus << "\"";
}

::testing::AssertionResult CWindowTest::AnswerMessage(const std::string& strText, int nButton,
                                                      const std::vector<int>& aButtons) {
    HWND hBox = Ui().WaitForMessageBox(MESSAGE_TIMEOUT_MS);
    if (!hBox) return ::testing::AssertionFailure() << "no message box appeared";
    const MessageBoxView view = Ui().ReadMessageBox(hBox);
    if (view.strText != strText || view.strCaption != Slot(TEXT_TITLE) ||
        view.aButtons != aButtons) {
        std::string strButtons;
        for (int nId : view.aButtons) strButtons += " " + std::to_string(nId);
        return ::testing::AssertionFailure()
               << "the message reads \"" << view.strText << "\" under \"" << view.strCaption
               << "\" with buttons" << strButtons << "; expected \"" << strText << "\"";
    }
    ::testing::AssertionResult pressed = Ui().PressMessageBoxButton(hBox, nButton);
    if (!pressed) return pressed;
    if (!WaitUntil([&] { return !IsWindow(hBox) || !IsWindowVisible(hBox); }, MESSAGE_TIMEOUT_MS)) {
        return ::testing::AssertionFailure()
               << "the message box stayed after its button was pressed";
    }
    return ::testing::AssertionSuccess();
}
