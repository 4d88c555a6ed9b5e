#include "ProgramProcess.h"

#include <utility>

CProgramProcess::CProgramProcess() : m_hProcess(nullptr), m_dwProcessId(0) {}

CProgramProcess::~CProgramProcess() { Release(); }

CProgramProcess::CProgramProcess(CProgramProcess&& other) noexcept
    : m_hProcess(std::exchange(other.m_hProcess, nullptr)),
      m_dwProcessId(std::exchange(other.m_dwProcessId, 0)) {}

CProgramProcess& CProgramProcess::operator=(CProgramProcess&& other) noexcept {
    if (this != &other) {
        Release();
        m_hProcess = std::exchange(other.m_hProcess, nullptr);
        m_dwProcessId = std::exchange(other.m_dwProcessId, 0);
    }
    return *this;
}

void CProgramProcess::Release() {
    if (m_hProcess) CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_dwProcessId = 0;
}

::testing::AssertionResult CProgramProcess::Launch(const std::string& strProgram,
                                                   const std::string& strCurrentFolder) {
    Release();
    std::string strCommandLine = "\"" + strProgram + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(strProgram.c_str(), &strCommandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        strCurrentFolder.c_str(), &startup, &info)) {
        return ::testing::AssertionFailure()
               << "cannot start " << strProgram << " (error " << GetLastError() << ")";
    }
    CloseHandle(info.hThread);
    m_hProcess = info.hProcess;
    m_dwProcessId = info.dwProcessId;
    return ::testing::AssertionSuccess();
}

bool CProgramProcess::IsRunning() const {
    return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool CProgramProcess::WaitForExit(DWORD dwTimeoutMs) const {
    return !m_hProcess || WaitForSingleObject(m_hProcess, dwTimeoutMs) == WAIT_OBJECT_0;
}

DWORD CProgramProcess::ExitCode() const {
    DWORD dwCode = STILL_ACTIVE;
    if (m_hProcess) GetExitCodeProcess(m_hProcess, &dwCode);
    return dwCode;
}

void CProgramProcess::Terminate() {
    if (!IsRunning()) return;
    TerminateProcess(m_hProcess, 0xDEAD);
    WaitForSingleObject(m_hProcess, 30000);
}
