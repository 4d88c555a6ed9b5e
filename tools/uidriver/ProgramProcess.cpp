#include "ProgramProcess.h"

CProgramProcess::~CProgramProcess() { Release(); }

void CProgramProcess::Release() {
    if (m_hProcess) CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_dwProcessId = 0;
}

Outcome CProgramProcess::Launch(const std::string& strProgram,
                                const std::string& strCurrentFolder) {
    Release();
    std::string strCommandLine = "\"" + strProgram + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // Wine answers ERROR_INTERNAL_ERROR only when the new process ended inside Wine's own start-up,
    // before it told the Wine server it was initialised, which is before the program's first
    // instruction (its DLLs are not even attached). That is Wine's failure, seen rarely under the
    // 64-bit loader, not the program's: such a start is tried again, a few times at most.
    DWORD dwError = ERROR_SUCCESS;
    for (int nAttempt = 0; nAttempt < 3; ++nAttempt) {
        if (CreateProcessA(strProgram.c_str(), &strCommandLine[0], nullptr, nullptr, FALSE, 0,
                           nullptr, strCurrentFolder.c_str(), &startup, &info)) {
            dwError = ERROR_SUCCESS;
            break;
        }
        dwError = GetLastError();
        if (dwError != ERROR_INTERNAL_ERROR) break;
    }
    if (dwError != ERROR_SUCCESS) {
        return Outcome::Failed("cannot start " + strProgram + " (error " + std::to_string(dwError) +
                               ")");
    }
    CloseHandle(info.hThread);
    m_hProcess = info.hProcess;
    m_dwProcessId = info.dwProcessId;
    return Outcome::Done();
}

bool CProgramProcess::Open(DWORD dwProcessId) {
    Release();
    m_hProcess =
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_TERMINATE,
                    FALSE, dwProcessId);
    if (m_hProcess) m_dwProcessId = dwProcessId;
    return m_hProcess != nullptr;
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
