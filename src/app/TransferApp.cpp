#include "app/TransferApp.h"

#include "app/Environment.h"
#include "app/TransferDlg.h"
#include "link/InstanceFlags.h"

BOOL CTransferApp::InitInstance() {
    // A second instance ends here, silently.
    if (InterlockedExchange(&InstanceFlags[INSTANCE_RUNNING], 1) == 1) return FALSE;
    DisplayMode = 1;
    DisplayMode = MeasureDisplayMode();
    SetDialogBkColor(DialogBackgroundFor(DisplayMode), RGB(0, 0, 0));
    Enable3dControlsStatic();
    CTransferDlg dialog(TRUE, "*", "*.*", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, nullptr);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}
