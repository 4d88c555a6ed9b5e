#include "ProgramSession.h"

#include <set>

#include "Waiting.h"
#include "app/LanguageModule.h"

namespace {

// The files of the installed form, found from this executable's folder: the program and its
// language module in the build tree above it, the pictures in the source tree above that. Empty,
// with the reason, when something is missing.
std::vector<std::string> FindProgramFiles(std::string* pWhy) {
    std::vector<std::string> aFiles;
    // The language module of BRISLING_LANGUAGE (a folder of lang/), English unless named.
    std::string strLanguage = EnvironmentValue("BRISLING_LANGUAGE");
    if (strLanguage.empty()) strLanguage = "en";
    std::string strFolder = ThisProgramFolder();
    for (int nLevel = 0; nLevel < 6 && !strFolder.empty();
         strFolder = ParentFolder(strFolder), ++nLevel) {
        const std::string strProgram = strFolder + "\\src\\" + PROGRAM_FILE;
        const std::string strModule = strFolder + "\\lang\\" + strLanguage + "\\" + LANGUAGE_MODULE_FILE;
        const std::string strConsole = strFolder + "\\src\\" + CONSOLE_PROGRAM_FILE;
        if (aFiles.empty() && FileExists(strProgram) && FileExists(strModule) && FileExists(strConsole))
            aFiles = {strProgram, strModule, strConsole};
        const std::string strArt = strFolder + "\\src\\res\\art\\";
        if (aFiles.size() == 3 && FileExists(strArt + PICTURE_FILE_NAMES[0])) {
            for (const char* pPicture : PICTURE_FILE_NAMES) aFiles.push_back(strArt + pPicture);
            return aFiles;
        }
    }
    *pWhy = std::string("no built ") + PROGRAM_FILE + ", " + CONSOLE_PROGRAM_FILE + " and " + LANGUAGE_MODULE_FILE +
            " with the source's pictures above " + ThisProgramFolder() + " (build the program)";
    return {};
}

}  // namespace

CProgramSession::CProgramSession() : m_pUi(std::make_unique<CUiDriver>(0)) {}

CProgramSession::~CProgramSession() { End(); }

std::string CProgramSession::LanguageModulePath() const {
    return m_installFolder / LANGUAGE_MODULE_FILE;
}

Outcome CProgramSession::Install() {
    std::string strWhy;
    const std::vector<std::string> aFiles = FindProgramFiles(&strWhy);
    if (aFiles.empty()) return Outcome::Failed(strWhy);
    for (const std::string& strFile : aFiles) {
        if (!CopyFileA(strFile.c_str(), (m_installFolder / FileName(strFile)).c_str(), FALSE)) {
            return Outcome::Failed("cannot copy " + strFile + " (error " +
                                   std::to_string(GetLastError()) + ")");
        }
    }
    if (!m_setupPath.Set(m_installFolder.Path()))
        return Outcome::Failed("cannot write the SetupPath registry value");
    return Outcome::Done();
}

Outcome CProgramSession::Start(DWORD dwTimeoutMs, const std::string& strStartFolder) {
    m_strStartFolder = strStartFolder.empty() ? DestinationFolder() : strStartFolder;
    const Outcome launched = m_process.Launch(ProgramPath(), m_strStartFolder);
    if (!launched) return launched;
    m_pUi = std::make_unique<CUiDriver>(m_process.Id());
    WaitUntil([&] { return m_pUi->Attach() || !m_process.IsRunning(); }, dwTimeoutMs);
    // The panel exists before its initialisation has run; once the window thread takes posted
    // messages, the initialisation is over or waits in a message box.
    if (m_pUi->Panel() && m_pUi->WaitForWindowThread(dwTimeoutMs)) return Outcome::Done();
    if (!m_process.IsRunning()) {
        return Outcome::Failed("the program ended before its window appeared, exit code " +
                               std::to_string(m_process.ExitCode()));
    }
    if (m_pUi->MainDialog()) return Outcome::Failed("the window does not take messages");
    return Outcome::Failed("no window with the card panel after " + std::to_string(dwTimeoutMs) +
                           " ms; the process has:" + m_pUi->DescribeWindows());
}

Outcome CProgramSession::WaitForExit(DWORD dwTimeoutMs) {
    if (m_process.WaitForExit(dwTimeoutMs)) return Outcome::Done();
    return Outcome::Failed("the program still runs after " + std::to_string(dwTimeoutMs) +
                           " ms; its windows:" + m_pUi->DescribeWindows());
}

Outcome CProgramSession::StartAnother(CProgramProcess* pProcess) {
    return pProcess->Launch(ProgramPath(), DestinationFolder());
}

bool CProgramSession::End(DWORD dwTimeoutMs) {
    if (!m_process.IsRunning()) return true;
    // As a user would: dismiss what is open, then close the window. A message box takes WM_CLOSE
    // as its Cancel (or its only button); a close request reaches even a window that a message
    // has disabled, so a failed run still leaves by the regular way when the program allows it.
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
