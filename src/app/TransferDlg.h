#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "app/LanguageModule.h"
#include "copy/CardCopy.h"
#include "copy/CopyUser.h"
#include "display/BitmapButtonSet.h"
#include "display/Dib.h"
#include "display/PanelIds.h"
#include "framework/AfxWin.h"
#include "link/LinkOwner.h"
#include "link/PrinterLink.h"

class CTransferDlg;

// Commands the window posts or sends to itself.
constexpr UINT CMD_CONNECT = 3000;

// Copy-side worker jobs.
constexpr LONG COPY_JOB_LAMPS = 8;
constexpr LONG COPY_JOB_RUN = 9;

struct CopyJob {
    CTransferDlg* owner;
    LONG code;
};

UINT CopyWorkerProc(void* job);

// Private messages and timers of the window.
constexpr UINT WM_APP_COPY_REPORT = WM_APP + 1;
constexpr UINT_PTR CLOSE_TIMER = 1;
constexpr UINT_PTR PROGRESS_TIMER = 2;

// The answer to a message box that takes nothing further: Cancel, No, or its only button.
int SafeAnswer(UINT buttons);

// The main window: the Explorer-style Open dialog whose standard part names the destination,
// with the card panel (template 502) added. The object is attached to the panel; the standard
// dialog is the panel's parent. Its code is split by concern across the subsystem folders.
class CTransferDlg : public CFileDialog, public CLinkOwner, public CCopyUser {
public:
    CTransferDlg(BOOL bOpenFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                 const char* filter, CWnd* parent);
    ~CTransferDlg() override;

    // app/TransferDlg.cpp: construction, initialisation, the standard part
    BOOL OnInitDialog() override;
    int InitLink();
    void HideStandardControls();
    void InitCardImages();
    HWND StandardDialog() const { return ::GetParent(m_hWnd); }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    void EnableItem(int id, BOOL enable) const { ::EnableWindow(Item(id), enable); }
    void SetItemText(int id, const char* text) const { ::SetWindowTextA(Item(id), text); }

    // app/TransferDlgRouting.cpp: message routing and help
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnContextMenu(HWND window, POINT point);
    HCURSOR OnQueryDragIcon();

    // app/TransferDlgPort.cpp: one exchange on the port at a time. The port is reserved on the
    // window thread when an operation is asked for, held by its one worker, and free again when
    // the worker's last report has been handled; the next start joins that worker first.
    enum PortUse { PORT_FREE, PORT_CONNECT, PORT_LIST, PORT_COPY };
    bool ReservePort(PortUse use);
    bool StartPortWorker(AFX_THREADPROC proc, void* job);
    void FreePort() { m_portUse = PORT_FREE; }
    bool CopyRunning() const { return m_portUse == PORT_COPY; }

    // app/TransferDlgClose.cpp: every route that ends the window
    void Close();
    BOOL OnCloseRequest() override;
    LRESULT OnTimer(WPARAM id, LPARAM);
    void AnswerWorkerQuestions();
    bool WorkersRunning() const;
    void OnDestroy();

    // app/TransferDlgText.cpp: language module, messages, and the link's view of the window
    int LoadLanguageModule();
    int LoadUiText();
    int ShowMessage(int textId);
    void SetLinkError(int nTextId, BYTE nCode) override;
    void SendLinkCommand(UINT id) override;
    void PostLinkCommand(UINT id) override;
    int AskUser(const char* text, UINT type) override;
    void LoadModuleText(UINT id, char* buffer, int size) override;
    std::string GetPathName() override;

    // copy/CardBrowser.cpp: the card side
    BOOL OnConnect(UINT id);
    BOOL OnListFolder(UINT id);
    BOOL OnListingArrived(UINT id);
    BOOL OnLinkError(UINT id);
    void FillCardList(const std::vector<CardEntry>& entries);
    void OnDblclkCardList(NMHDR* header, LRESULT* result);
    void OnCardListQuiet(NMHDR* header, LRESULT* result);
    void OnParent();
    void OnSelectAll();
    // The entries of the shown folder whose items are selected, in the list's order.
    std::vector<CardEntry> SelectedEntries() const;

    // copy/CopyCommands.cpp: COPY, STOP and the end of a copy
    void OnCopy();
    void OnStop();
    BOOL OnCopyDone(UINT id);

    // copy/CopyQuestions.cpp: what the copy asks of the user
    OverwriteAnswer AskOverwrite(const std::string& pcPath) override;
    void TellDiskFull() override;
    void CopyEnded(const CCopyTally& tally, bool stopped) override;

    // copy/CopyProgress.cpp: how far a copy has come, and what it left behind
    std::string ModuleText(UINT id);
    void OnFileProgress(uint32_t received) override;
    void StartProgress();
    void ShowProgress();
    bool FitsStatusLine(const std::string& text) const;
    static void SetTextIfChanged(HWND window, const std::string& text);
    void EndProgress(bool stopped);
    LRESULT OnCopyReport(WPARAM, LPARAM);

    // copy/Lamps.cpp
    void AnimateLamps();
    void SwapLampPicture(int hideId, int showId);

    // display/TransferPaint.cpp
    void OnPaint();

    CBitmapButton m_btnCopy;
    CPrinterLink* m_pLink;
    CImageList m_imageList;
    CListCtrl m_cardList;
    LinkJob m_linkJob;
    int m_nErrorTextId;
    std::string m_strCardPath;
    std::atomic<LONG> m_bCopying{0};
    std::atomic<LONG> m_bSelectAll{0};
    PackedDib* m_pictureDibs[PICTURE_COUNT];
    BYTE m_nErrorCode;
    char m_uiText[UI_TEXT_SLOTS][UI_TEXT_SIZE];
    HMODULE m_hLanguageModule;
    HICON m_hIcon;

    // The listing the card list shows, taken whole from the link when it arrived.
    std::vector<CardEntry> m_cardEntries;
    // The copy, made with the link.
    CCardCopy* m_pCopy = nullptr;
    // What the progress shows, so that it never goes back.
    struct ProgressShown {
        uint32_t doneFiles, totalFiles;
        uint64_t doneBytes, totalBytes;
        int percent;
    } m_progressShown = {};
    ULONGLONG m_nCopyStartTick = 0;
    bool m_bStopped = false;

    PortUse m_portUse;
    // The worker on the port (connect, listing or copy) and the lamp worker: the window waits for
    // them before it releases what they use.
    CWinThread* m_pPortWorker;
    CWinThread* m_pLampWorker;
    // The safe answer to the message box a worker shows now (0: none), so a close can give it.
    std::atomic<UINT> m_nOpenQuestion{0};

    DECLARE_MESSAGE_MAP()
};

