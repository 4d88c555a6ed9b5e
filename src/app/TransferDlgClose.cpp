#include <cstring>

#include "app/Environment.h"
#include "app/TransferDlg.h"
#include "app/WorkerThreads.h"
#include "display/PictureDibs.h"
#include "link/InstanceFlags.h"

namespace {
constexpr UINT CLOSE_STEP_MS = 100;

// Presses the answer on a message box of the worker's.
BOOL CALLBACK AnswerMessageBox(HWND box, LPARAM answer) {
    char name[16] = {};
    ::GetClassNameA(box, name, sizeof(name));
    if (std::strcmp(name, "#32770") == 0) ::PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    return TRUE;
}
}  // namespace

int SafeAnswer(UINT buttons) {
    switch (buttons & MB_TYPEMASK) {
        case MB_OKCANCEL:
            return IDCANCEL;
        case MB_YESNO:
            return IDNO;
        default:
            return IDOK;
    }
}

// EXIT, the standard dialog's close routes and a fatal report all end here: the workers are told
// to stop, and the window goes once none of them is left, so nothing it owns is freed under one.
void CTransferDlg::Close() {
    m_bClosing = 1;
    m_bBusy = 0;
    m_bCopying = 0;
    AnswerWorkerQuestions();
    if (WorkersRunning()) {
        ::SetTimer(m_hWnd, CLOSE_TIMER, CLOSE_STEP_MS, nullptr);
        return;
    }
    ::KillTimer(m_hWnd, CLOSE_TIMER);
    DestroyWindow();
}

BOOL CTransferDlg::OnCloseRequest() {
    // While a copy runs, STOP is the way out, as the disabled Close item says.
    if (!CopyRunning()) Close();
    return FALSE;
}

LRESULT CTransferDlg::OnTimer(WPARAM id, LPARAM) {
    if (id == CLOSE_TIMER && m_bClosing) Close();
    if (id == PROGRESS_TIMER && CopyRunning() && !m_bClosing) ShowProgress();
    return 0;
}

bool CTransferDlg::WorkersRunning() const { return WorkerRunning(m_pPortWorker) || WorkerRunning(m_pLampWorker); }

// A question a worker shows while the window closes is answered for the user, with the answer
// that takes nothing further.
void CTransferDlg::AnswerWorkerQuestions() {
    const WPARAM answer = m_nOpenQuestion;
    if (answer && WorkerRunning(m_pPortWorker)) {
        ::EnumThreadWindows(m_pPortWorker->m_nThreadID, &AnswerMessageBox, static_cast<LPARAM>(answer));
    }
}

void CTransferDlg::OnDestroy() {
    m_bClosing = 1;
    Default();
    m_bCopying = 0;
    m_bBusy = 0;
    ::KillTimer(m_hWnd, CLOSE_TIMER);
    ::KillTimer(m_hWnd, PROGRESS_TIMER);
    // Whatever way the window went, the workers use the port, the link, the language module and
    // this window: they must be gone before any of them is released.
    WaitForWorker(m_pPortWorker, [this] { AnswerWorkerQuestions(); });
    WaitForWorker(m_pLampWorker);
    // The list destroys an image list it still holds when it goes, after this window.
    if (m_cardList.m_hWnd) m_cardList.SetImageList(nullptr, LVSIL_SMALL);
    m_imageList.DeleteImageList();
    if (DisplayMode == 1) FreePictureDibs(m_pictureDibs);
    if (m_pLink && m_pLink->IsOpen() && m_bConnected == 1) m_pLink->Release();
    SetLinkBusy(0);
    if (m_hLanguageModule) {
        ::FreeLibrary(m_hLanguageModule);
        m_hLanguageModule = nullptr;
    }
    delete m_pCopy;
    m_pCopy = nullptr;
    delete m_pLink;
    m_pLink = nullptr;
    m_linkJob.link = nullptr;
}
