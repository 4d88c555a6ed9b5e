#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ProgramProcess.h"
#include "SetupPathValue.h"
#include "TestSupport.h"
#include "UiDriver.h"

// One run of the program for one test: a fresh install folder holding the program and its
// language module, the registry value naming it, a destination folder that the program starts
// in (the standard part of its window shows the current folder), the running process and the
// driver of its window. At the end the window is closed as a user closes it; only a program
// that does not end then is terminated, and the session always waits for the process to end.
class CProgramSession {
public:
    CProgramSession();
    ~CProgramSession();
    CProgramSession(const CProgramSession&) = delete;
    CProgramSession& operator=(const CProgramSession&) = delete;

    // Copies the program into the install folder and names that folder in the registry.
    ::testing::AssertionResult Install();
    bool RemoveSetupPath() { return m_setupPath.Remove(); }

    const std::string& InstallFolder() const { return m_installFolder.Path(); }
    const std::string& DestinationFolder() const { return m_destinationFolder.Path(); }
    std::string ProgramPath() const;
    std::string LanguageModulePath() const;

    // Starts the program and waits for its window: the standard dialog with the panel inside.
    // It starts in the destination folder unless another start folder is named.
    ::testing::AssertionResult Start(DWORD dwTimeoutMs = 20000, const std::string& strStartFolder = "");
    CProgramProcess& Process() { return m_process; }
    CUiDriver& Ui() { return *m_pUi; }
    // Waits for the program to end by itself (after EXIT, a fatal message, a close request).
    ::testing::AssertionResult WaitForExit(DWORD dwTimeoutMs = 30000);

    // Another process of the same installed program, started the same way.
    ::testing::AssertionResult StartAnother(CProgramProcess* pProcess);

    // Answers any open message, closes the window, and makes sure the process has ended.
    // Returns false when the program had to be terminated.
    bool End(DWORD dwTimeoutMs = 30000);

private:
    TempFolder m_installFolder;
    TempFolder m_destinationFolder;
    CSetupPathValue m_setupPath;
    CProgramProcess m_process;
    std::unique_ptr<CUiDriver> m_pUi;
};
