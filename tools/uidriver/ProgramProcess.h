#pragma once
#include <windows.h>

#include <string>

#include "Outcome.h"

// One process of the program, started as a user starts it (the executable alone, no arguments,
// from a chosen current folder) or found running. The object only holds the process; ending it
// is the owner's call.
class CProgramProcess {
public:
    CProgramProcess() = default;
    ~CProgramProcess();
    CProgramProcess(const CProgramProcess&) = delete;
    CProgramProcess& operator=(const CProgramProcess&) = delete;

    Outcome Launch(const std::string& strProgram, const std::string& strCurrentFolder);
    bool Open(DWORD dwProcessId);  // a process started by someone else
    bool IsRunning() const;
    bool WaitForExit(DWORD dwTimeoutMs) const;
    DWORD ExitCode() const;  // STILL_ACTIVE while it runs
    // The last resort when the program does not end by itself; returns once it has ended.
    void Terminate();
    HANDLE Handle() const { return m_hProcess; }
    DWORD Id() const { return m_dwProcessId; }

private:
    void Release();

    HANDLE m_hProcess = nullptr;
    DWORD m_dwProcessId = 0;
};
