#include <windows.h>

#include "app/OverwriteQuestion.h"
#include "app/TransferDlg.h"

// Asked on the copy worker. Once the window closes nobody is asked any more: the answer is the
// one that takes nothing further (see AnswerWorkerQuestions).
OverwriteAnswer CTransferDlg::AskOverwrite(const std::string& pcPath) {
    if (m_bClosing) return OVERWRITE_NO;
    char full[MAX_PATH * 2] = {};
    if (!::GetFullPathNameA(pcPath.c_str(), sizeof(full), full, nullptr)) full[0] = 0;
    const std::string text = std::string(m_uiText[UI_TEXT_OVERWRITE]) + "\n\n" + (full[0] ? full : pcPath.c_str());
    m_nOpenQuestion = IDNO;
    const int answer = ShowOverwriteQuestion(StandardDialog(), m_hLanguageModule, m_uiText[0], text);
    m_nOpenQuestion = 0;
    if (m_bClosing) return OVERWRITE_NO;
    return OverwriteAnswerOf(answer);
}

void CTransferDlg::TellDiskFull() { AskUser(ModuleText(TEXT_DISK_FULL).c_str(), MB_OK); }

// The walk's last act: the window takes the end on its own thread.
void CTransferDlg::CopyEnded(const CCopyTally&, bool stopped) {
    m_bStopped = stopped;
    SendLinkCommand(CMD_COPY_DONE);
}
