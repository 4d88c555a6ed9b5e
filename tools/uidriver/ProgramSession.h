#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Files.h"
#include "Outcome.h"
#include "ProgramProcess.h"
#include "SetupPathValue.h"
#include "UiDriver.h"
#include "display/PictureDibs.h"

constexpr const char* PROGRAM_FILE = "Brisling.exe";
constexpr const char* CONSOLE_PROGRAM_FILE = "BrislingCopy.exe";

// One run of the program: a fresh install folder holding the program, its language module and
// its pictures, the registry value naming it, a destination folder that the program starts in
// by default (the standard part of its window shows the current folder), the running process
// and the driver of its window. At the end the window is closed as a user closes it; only a
// program that does not end then is terminated, and the session always waits for it to end.
class CProgramSession {
public:
    CProgramSession();
    ~CProgramSession();
    CProgramSession(const CProgramSession&) = delete;
    CProgramSession& operator=(const CProgramSession&) = delete;

    // Copies the program's files into the install folder and names that folder in the registry.
    Outcome Install();
    bool RemoveSetupPath() { return m_setupPath.Remove(); }

    const std::string& InstallFolder() const { return m_installFolder.Path(); }
    const std::string& DestinationFolder() const { return m_destinationFolder.Path(); }
    // The folder the program was last started in, the destination before the first start.
    const std::string& StartFolder() const {
        return m_strStartFolder.empty() ? DestinationFolder() : m_strStartFolder;
    }
    std::string ProgramPath() const { return m_installFolder / PROGRAM_FILE; }
    std::string ConsoleProgramPath() const { return m_installFolder / CONSOLE_PROGRAM_FILE; }
    std::string LanguageModulePath() const;

    // Starts the program in a folder (the destination unless named) and waits for its window:
    // the standard dialog with the panel inside, its initialisation over.
    Outcome Start(DWORD dwTimeoutMs = 20000, const std::string& strStartFolder = "");
    CProgramProcess& Process() { return m_process; }
    CUiDriver& Ui() { return *m_pUi; }
    // Waits for the program to end by itself (after EXIT, a fatal message, a close request).
    Outcome WaitForExit(DWORD dwTimeoutMs = 30000);

    // Another process of the same installed program, started the same way.
    Outcome StartAnother(CProgramProcess* pProcess);

    // Answers any open message, closes the window, and makes sure the process has ended.
    // Returns false when the program had to be terminated.
    bool End(DWORD dwTimeoutMs = 30000);

private:
    TempFolder m_installFolder;
    TempFolder m_destinationFolder;
    std::string m_strStartFolder;
    CSetupPathValue m_setupPath;
    CProgramProcess m_process;
    std::unique_ptr<CUiDriver> m_pUi;
};
