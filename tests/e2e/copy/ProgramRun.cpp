#include "ProgramRun.h"

#include <set>

#include "TestSupport.h"

CProgramRun::CProgramRun() : m_pUi(std::make_unique<CUiDriver>(0)) {}

CProgramRun::~CProgramRun() { End(30000); }

::testing::AssertionResult CProgramRun::Start(const std::string& strProgram,
                                              const std::string& strFolder, DWORD dwTimeoutMs) {
    ::testing::AssertionResult launched = m_process.Launch(strProgram, strFolder);
    if (!launched) return launched;
    m_pUi = std::make_unique<CUiDriver>(m_process.Id());
    WaitUntil([&] { return m_pUi->Attach() || !m_process.IsRunning(); }, dwTimeoutMs);
    if (m_pUi->MainDialog() && m_pUi->Panel() && m_pUi->WaitForWindowThread(dwTimeoutMs)) {
        return ::testing::AssertionSuccess();
    }
    if (!m_process.IsRunning()) {
        return ::testing::AssertionFailure()
               << "the program ended before its window appeared, exit code "
               << m_process.ExitCode();
    }
    return ::testing::AssertionFailure() << "no window with the card panel after " << dwTimeoutMs
                                         << " ms; the process has:" << m_pUi->DescribeWindows();
}

::testing::AssertionResult CProgramRun::WaitForExit(DWORD dwTimeoutMs) {
    if (m_process.WaitForExit(dwTimeoutMs)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "the program still runs after " << dwTimeoutMs
                                         << " ms; its windows:" << m_pUi->DescribeWindows();
}

bool CProgramRun::End(DWORD dwTimeoutMs) {
    if (!m_process.IsRunning()) return true;
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
