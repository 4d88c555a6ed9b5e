#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "console/ConsoleArguments.h"
#include "console/ConsoleText.h"
#include "copy/CardCopy.h"
#include "copy/CopyUser.h"
#include "link/LinkOwner.h"
#include "link/PrinterLink.h"

// Exit codes of the console program.
constexpr int EXIT_ALL_COPIED = 0;
constexpr int EXIT_FILES_LEFT = 1;
constexpr int EXIT_NO_PRINTER = 2;
constexpr int EXIT_BAD_ARGUMENTS = 3;

// One run of the console program: the link and the copy on the calling thread, the account on
// the standard output, progress and questions on the error stream.
class CConsoleSession : public CLinkOwner, public CCopyUser {
public:
    explicit CConsoleSession(const ConsoleArguments& arguments);
    ~CConsoleSession() override;
    int Run();
    // Ctrl+C and Ctrl+Break: STOP.
    void Stop();

private:
    bool Connect();
    int List(const std::string& path);
    int Copy();
    bool FindItems(const std::string& cardPath, std::vector<CopyItem>* items);
    int PrinterFailure();
    int Usage();  // the usage, after the reason a command line was refused

    // The link's owner.
    void SetLinkError(int nTextId, BYTE nCode) override;
    void SendLinkCommand(UINT id) override;
    void PostLinkCommand(UINT) override {}
    int AskUser(const char* text, UINT type) override;
    void LoadModuleText(UINT id, char* buffer, int size) override;
    std::string GetPathName() override { return m_destination + "\\*.*"; }
    void OnFileProgress(uint32_t received) override;

    // The copy's user.
    OverwriteAnswer AskOverwrite(const std::string& pcPath) override;
    void TellDiskFull() override;
    void ShowProgress(const CCopyTally& tally) override;
    void CopyEnded(const CCopyTally& tally, bool stopped) override;

    // A text of the language module, as it stands or with "%1" replaced by the subject.
    std::string Text(UINT id);
    std::string Text(UINT id, const std::string& subject);
    // Asks until a key is typed (Enter stands for onEnter unless it is negative): its answer, or
    // -1 when no one can be asked or the input has ended.
    int Choose(const std::vector<ButtonKey>& keys, int onEnter);
    // A line typed by the user; false when there is no one to ask (or the input has ended).
    bool ReadAnswer(std::string* line);

    ConsoleArguments m_arguments;
    std::string m_destination;
    HMODULE m_module = nullptr;
    CPrinterLink* m_link = nullptr;
    CCardCopy* m_copy = nullptr;
    bool m_askable = false;
    bool m_progressOnConsole = false;
    std::string m_progressShown;
    DWORD m_progressTick = 0;
    int m_errorTextId = 0;
    BYTE m_errorCode = 0;
    bool m_printerFailed = false;
    std::atomic<bool> m_stopped{false};  // set by the console's Ctrl+C thread
};
