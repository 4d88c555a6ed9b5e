#include "ProgramSession.h"

#include <set>

#include "BuiltProgram.h"

namespace {

std::string NameOf(const std::string& strPath) {
    const size_t nSlash = strPath.find_last_of('\\');
    return nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
}

}  // namespace

CProgramSession::CProgramSession() : m_pUi(std::make_unique<CUiDriver>(0)) {}

CProgramSession::~CProgramSession() { End(); }

std::string CProgramSession::ProgramPath() const { return m_installFolder / PROGRAM_FILE; }

std::string CProgramSession::LanguageModulePath() const {
    return m_installFolder / LANGUAGE_MODULE_FILE;
}

::testing::AssertionResult CProgramSession::Install() {
    std::string strWhy;
    const std::vector<std::string> aFiles = FindProgramFiles(&strWhy);
    if (aFiles.empty()) return ::testing::AssertionFailure() << strWhy;
    for (const std::string& strFile : aFiles) {
        if (!CopyFileA(strFile.c_str(), (m_installFolder / NameOf(strFile)).c_str(), FALSE)) {
            return ::testing::AssertionFailure()
                   << "cannot copy " << strFile << " (error " << GetLastError() << ")";
        }
    }
    if (!m_setupPath.Set(m_installFolder.Path())) {
        return ::testing::AssertionFailure() << "cannot write the SetupPath registry value";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CProgramSession::Start(DWORD dwTimeoutMs, const std::string& strStartFolder) {
    ::testing::AssertionResult launched =
        m_process.Launch(ProgramPath(), strStartFolder.empty() ? DestinationFolder() : strStartFolder);
    if (!launched) return launched;
    m_pUi = std::make_unique<CUiDriver>(m_process.Id());
    WaitUntil([&] { return m_pUi->Attach() || !m_process.IsRunning(); }, dwTimeoutMs);
    // The panel exists before its initialisation has run; once the window thread takes posted
    // messages, the initialisation is over or waits in a message box.
    if (m_pUi->MainDialog() && m_pUi->Panel() && m_pUi->WaitForWindowThread(dwTimeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    if (!m_process.IsRunning()) {
        return ::testing::AssertionFailure()
               << "the program ended before its window appeared, exit code "
               << m_process.ExitCode();
    }
    if (m_pUi->MainDialog()) {
        return ::testing::AssertionFailure() << "the window does not take messages";
    }
    return ::testing::AssertionFailure() << "no window with the card panel after " << dwTimeoutMs
                                         << " ms; the process has:" << m_pUi->DescribeWindows();
}

::testing::AssertionResult CProgramSession::WaitForExit(DWORD dwTimeoutMs) {
    if (m_process.WaitForExit(dwTimeoutMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the program still runs after " << dwTimeoutMs
                                         << " ms; its windows:" << m_pUi->DescribeWindows();
}

::testing::AssertionResult CProgramSession::StartAnother(CProgramProcess* pProcess) {
    return pProcess->Launch(ProgramPath(), DestinationFolder());
}

bool CProgramSession::End(DWORD dwTimeoutMs) {
    if (!m_process.IsRunning()) return true;
    // As a user would: dismiss what is open, then close the window. A message box takes WM_CLOSE
    // as its Cancel (or its only button); a close request reaches even a window that a message
    // has disabled, so a failed test still leaves by the regular way when the program allows it.
    std::set<HWND> closed;
    if (HWND hMain = m_pUi->FindMainDialog()) PostMessageA(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
    const bool bEnded = WaitUntil(
        [&] {
            if (!m_process.IsRunning()) return true;
            for (HWND hBox : m_pUi->MessageBoxes()) {
                if (closed.insert(hBox).second) PostMessageA(hBox, WM_CLOSE, 0, 0);
            }
            return false;
        },
        dwTimeoutMs);
    if (bEnded) return true;
    m_process.Terminate();
    return false;
}
