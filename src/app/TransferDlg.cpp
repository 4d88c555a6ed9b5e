#include "app/TransferDlg.h"

#include <commctrl.h>
#include <dlgs.h>

#include "app/Environment.h"
#include "display/PictureDibs.h"
#include "res/ResourceIds.h"

BEGIN_MESSAGE_MAP(CTransferDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_DESTROY()
    ON_COMMAND_EX(CMD_CONNECT, OnConnect)
    ON_COMMAND_EX(CMD_COPY_DONE, OnCopyDone)
    ON_COMMAND_EX(CMD_LISTING_ARRIVED, OnListingArrived)
    ON_COMMAND_EX(CMD_LINK_ERROR, OnLinkError)
    ON_COMMAND_EX(CMD_LIST_FOLDER, OnListFolder)
    ON_BN_CLICKED(PANEL_SELECT_ALL, OnSelectAll)
    ON_BN_CLICKED(PANEL_COPY_BUTTON, OnCopy)
    ON_NOTIFY(NM_DBLCLK, PANEL_CARD_LIST, OnDblclkCardList)
    ON_BN_CLICKED(PANEL_EXIT_STOP_BUTTON, OnStop)
    ON_WM_CONTEXTMENU()
    ON_NOTIFY(NM_SETFOCUS, PANEL_CARD_LIST, OnCardListQuiet)
    ON_NOTIFY(NM_CLICK, PANEL_CARD_LIST, OnCardListQuiet)
    ON_BN_CLICKED(PANEL_PARENT_BUTTON, OnParent)
    ON_MESSAGE(WM_TIMER, OnTimer)
    ON_MESSAGE(WM_APP_COPY_REPORT, OnCopyReport)
END_MESSAGE_MAP()

CTransferDlg::CTransferDlg(BOOL bOpenFileDialog, const char* defaultExtension, const char* fileName,
                           DWORD flags, const char* filter, CWnd* parent)
    : CFileDialog(bOpenFileDialog, defaultExtension, fileName, flags, filter, parent),
      m_pLink(nullptr),
      m_linkJob{nullptr, 0},
      m_nErrorTextId(0),
      m_strCardPath("\\"),
      m_pictureDibs{},
      m_nErrorCode(0),
      m_uiText{},
      m_hLanguageModule(nullptr),
      m_hIcon(nullptr),
      m_portUse(PORT_FREE),
      m_pPortWorker(nullptr),
      m_pLampWorker(nullptr) {
    m_hIcon = ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_MAIN));
    m_ofn.Flags |= OFN_ENABLETEMPLATE;
    m_ofn.hInstance = AfxGetResourceHandle();
    m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_TRANSFER_PANEL);
    LoadLanguageModule();
    m_ofn.lpstrTitle = m_uiText[0];
    m_nErrorTextId = 0;
    m_bCopying = 0;
    m_bSelectAll = 0;
    m_bBusy = 0;
    m_bConnected = 0;
    m_bInSelectionWalk = 0;
    m_strCardPath = "\\";
}

CTransferDlg::~CTransferDlg() = default;

BOOL CTransferDlg::OnInitDialog() {
    CFileDialog::OnInitDialog();
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
    EnableItem(PANEL_PARENT_BUTTON, FALSE);
    EnableItem(PANEL_COPY_BUTTON, FALSE);
    EnableItem(PANEL_EXIT_STOP_BUTTON, FALSE);
    if (InitLink()) return TRUE;
    EnableItem(PANEL_EXIT_STOP_BUTTON, TRUE);
    return FALSE;
}

int CTransferDlg::InitLink() {
    m_pLink = new CPrinterLink(this);
    m_pCopy = new CCardCopy(*m_pLink, *this, *this);
    m_linkJob.link = m_pLink;
    const int opened = m_pLink->Open("LPT1");
    if (!opened) {
        SetLinkError(TEXT_NO_PORT, 0);
        ShowMessage(TEXT_NO_PORT);
    } else {
        SetItemText(PANEL_STATUS_LINE, m_uiText[1]);
    }
    if (DisplayMode == 1) LoadPictureDibs(m_pictureDibs);
    SetItemText(PANEL_COPY_FROM_LABEL, m_uiText[2]);
    SetItemText(PANEL_COPY_TO_LABEL, m_uiText[3]);
    SetItemText(PANEL_SELECT_ALL, m_uiText[4]);

    m_btnCopy.AutoLoad(PANEL_COPY_BUTTON, this);
    if (DisplayMode == 1) {
        m_btnCopy.LoadBitmaps("COPYU", "COPYD");
    } else {
        m_btnCopy.LoadBitmaps("COPYU24", "COPYD24");
    }
    m_pLink->SetCardPath("");
    m_cardList.SubclassDlgItem(PANEL_CARD_LIST, this);
    InitCardImages();
    HideStandardControls();
    if (!opened) return 0;
    ::PostMessageA(m_hWnd, WM_COMMAND, CMD_CONNECT, 0);
    return 1;
}

void CTransferDlg::InitCardImages() {
    HINSTANCE resources = AfxGetResourceHandle();
    ::SendMessageA(Item(PANEL_PARENT_BUTTON), BM_SETIMAGE, IMAGE_ICON,
                   reinterpret_cast<LPARAM>(::LoadIconA(resources, MAKEINTRESOURCEA(IDI_PARENT))));
    m_imageList.Create(16, 16, ILC_COLOR, 0, 2);
    m_imageList.Add(::LoadIconA(resources, MAKEINTRESOURCEA(IDI_CARD_FILE)));
    m_imageList.Add(::LoadIconA(resources, MAKEINTRESOURCEA(IDI_CARD_FOLDER)));
    m_cardList.SetImageList(m_imageList.GetSafeHandle(), LVSIL_SMALL);
}

void CTransferDlg::HideStandardControls() {
    static const int kUnused[] = {IDOK, IDCANCEL, stc1, stc2, stc3, stc4, chx1, cmb1, edt1};
    for (int id : kUnused) ::ShowWindow(::GetDlgItem(StandardDialog(), id), SW_HIDE);
}
