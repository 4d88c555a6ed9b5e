#include "app/Environment.h"
#include "app/TransferDlg.h"
#include "app/WorkerThreads.h"
#include "display/PictureDibs.h"
#include "link/InstanceFlags.h"

namespace {
void WaitWhileLinkBusy() {
    while (IsLinkBusy()) Sleep(100);
}
}  // namespace

void CTransferDlg::OnDestroy() {
    m_bClosing = 1;
    Default();
    WaitWhileLinkBusy();
    m_bCopying = 0;
    m_bBusy = 0;
    // The copy worker uses the port, the link, the language module and this window: it must be
    // gone before any of them is released.
    WaitForWorker(m_pCopyWorker);
    WaitForWorker(m_pLampWorker);
    m_imageList.DeleteImageList();
    if (DisplayMode == 1) FreePictureDibs(m_pictureDibs);
    if (m_pLink && m_pLink->IsOpen() && m_bConnected == 1) m_pLink->Release();
    WaitWhileLinkBusy();
    if (m_hLanguageModule) {
        ::FreeLibrary(m_hLanguageModule);
        m_hLanguageModule = nullptr;
    }
    delete m_pLink;
    m_pLink = nullptr;
    m_linkJob.link = nullptr;
}
