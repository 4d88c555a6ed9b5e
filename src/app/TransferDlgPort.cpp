#include "app/TransferDlg.h"
#include "app/WorkerThreads.h"
#include "link/InstanceFlags.h"

bool CTransferDlg::ReservePort(PortUse use) {
    if (m_portUse != PORT_FREE || m_bClosing) return false;
    m_portUse = use;
    return true;
}

bool CTransferDlg::StartPortWorker(AFX_THREADPROC proc, void* job) {
    // The previous holder has made its last report; what is left of it is its return.
    WaitForWorker(m_pPortWorker);
    SetLinkBusy(1);
    m_pPortWorker = StartKeptWorker(proc, job);
    if (m_pPortWorker) return true;
    SetLinkBusy(0);
    FreePort();
    return false;
}
