#include "WindowTest.h"

::testing::AssertionResult Succeeded(const Outcome& outcome) {
    if (outcome) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << outcome.why;
}

void CWindowTest::SetUp() {
    ASSERT_TRUE(EmulatorControl::Available()) << "run under scripts/test-env.sh";
    ASSERT_TRUE(m_emulator.Connected());
    ASSERT_TRUE(Succeeded(m_session.Install()));
}

void CWindowTest::TearDown() {
    EXPECT_TRUE(m_session.End(EXIT_TIMEOUT_MS))
        << "the program did not end after its window was closed and had to be terminated";
}

void CWindowTest::StartPrinter(const std::vector<std::string>& aFaults) {
    ASSERT_TRUE(Succeeded(
        m_emulator.Serve(m_strCardImage.empty() ? m_card.Path() : m_strCardImage, aFaults)));
}

void CWindowTest::StartProgramIn(const std::string& strFolder,
                                 const std::vector<std::string>& aFaults) {
    ASSERT_NO_FATAL_FAILURE(StartPrinter(aFaults));
    ASSERT_TRUE(Succeeded(m_session.Start(20000, strFolder)));
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
    const Outcome pressed = Ui().PressMessageBoxButton(hBox, nButton);
    if (!pressed) return Succeeded(pressed);
    if (!WaitUntil([&] { return !IsWindow(hBox) || !IsWindowVisible(hBox); }, MESSAGE_TIMEOUT_MS)) {
        return ::testing::AssertionFailure()
               << "the message box stayed after its button was pressed";
    }
    return ::testing::AssertionSuccess();
}
