#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// One process of the program, started as a user starts it: the executable alone, no arguments,
// from a chosen current folder. The object only holds the process; ending it is the owner's call.
class CProgramProcess {
public:
    CProgramProcess();
    ~CProgramProcess();
    CProgramProcess(CProgramProcess&& other) noexcept;
    CProgramProcess& operator=(CProgramProcess&& other) noexcept;
    CProgramProcess(const CProgramProcess&) = delete;
    CProgramProcess& operator=(const CProgramProcess&) = delete;

    ::testing::AssertionResult Launch(const std::string& strProgram,
                                      const std::string& strCurrentFolder);
    bool IsStarted() const { return m_hProcess != nullptr; }
    bool IsRunning() const;
    bool WaitForExit(DWORD dwTimeoutMs) const;
    DWORD ExitCode() const;  // STILL_ACTIVE while it runs
    // The last resort when the program does not end by itself; returns once it has ended.
    void Terminate();
    HANDLE Handle() const { return m_hProcess; }
    DWORD Id() const { return m_dwProcessId; }

private:
    void Release();

    HANDLE m_hProcess;
    DWORD m_dwProcessId;
};
