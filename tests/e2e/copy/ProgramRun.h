#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ProgramProcess.h"
#include "UiDriver.h"

// One run of the installed program started from a folder of the caller's choice (a drive root,
// a nearly full disk), with the driver of its window. Ending it works as the session's end does:
// open messages answered, the window closed, and only a program that does not end terminated.
class CProgramRun {
public:
    CProgramRun();
    ~CProgramRun();
    CProgramRun(const CProgramRun&) = delete;
    CProgramRun& operator=(const CProgramRun&) = delete;

    // Starts the program and waits for its window, with the panel ready for messages.
    ::testing::AssertionResult Start(const std::string& strProgram, const std::string& strFolder,
                                     DWORD dwTimeoutMs = 20000);
    CProgramProcess& Process() { return m_process; }
    CUiDriver& Ui() { return *m_pUi; }
    ::testing::AssertionResult WaitForExit(DWORD dwTimeoutMs);
    // False when the program had to be terminated.
    bool End(DWORD dwTimeoutMs);

private:
    CProgramProcess m_process;
    std::unique_ptr<CUiDriver> m_pUi;
};
