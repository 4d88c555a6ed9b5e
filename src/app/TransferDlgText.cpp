#include <cstring>

#include "app/TransferDlg.h"

int CTransferDlg::LoadLanguageModule() {
    m_hLanguageModule = LoadLanguageModuleFile();
    if (!m_hLanguageModule) return 0;
    return LoadUiText();
}

int CTransferDlg::LoadUiText() {
    // The title last, as the slots were always filled.
    for (int slot : {1, 2, 3, 4, 5, 6, 7, 0}) {
        ::LoadStringA(m_hLanguageModule, UiTextIds[slot], m_uiText[slot], UI_TEXT_SIZE);
    }
    return 1;
}

int CTransferDlg::ShowMessage(int textId) {
    char text[1024] = {};
    LoadModuleText(textId, text, sizeof(text));
    if (m_nErrorCode != 0) AppendErrorCode(text, sizeof(text), m_nErrorCode);
    return ::MessageBoxA(m_hWnd, text, m_uiText[0], MB_OK);
}

void CTransferDlg::SetLinkError(int nTextId, BYTE nCode) {
    m_nErrorTextId = nTextId;
    m_nErrorCode = nCode;
}

void CTransferDlg::SendLinkCommand(UINT id) { ::SendMessageA(m_hWnd, WM_COMMAND, id, 0); }

void CTransferDlg::PostLinkCommand(UINT id) { ::PostMessageA(m_hWnd, WM_COMMAND, id, 0); }

// Shown by the workers. Once the window closes nobody is asked any more: the answer is the one that
// takes nothing further (see AnswerWorkerQuestions).
int CTransferDlg::AskUser(const char* text, UINT type) {
    const int safe = SafeAnswer(type);
    if (m_bClosing) return safe;
    m_nOpenQuestion = safe;
    const int answer = ::MessageBoxA(m_hWnd, text, m_uiText[0], type);
    m_nOpenQuestion = 0;
    return m_bClosing ? safe : answer;
}

void CTransferDlg::LoadModuleText(UINT id, char* buffer, int size) {
    buffer[0] = 0;
    if (m_hLanguageModule) ::LoadStringA(m_hLanguageModule, id, buffer, size);
}

std::string CTransferDlg::GetPathName() { return CFileDialog::GetPathName(); }
