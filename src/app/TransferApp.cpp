#include "app/TransferApp.h"

#include <shlobj.h>

#include <cstring>

#include "app/Environment.h"
#include "app/TransferDlg.h"
#include "link/InstanceFlags.h"

namespace {

// The window offers the start folder as the destination. Started in its own folder, as the start
// menu's shortcut starts it, the program offers the user's pictures instead: that shortcut serves
// every user of the PC, and no one copies photos into the program's folder.
void LeaveOwnFolderForPictures() {
    char program[MAX_PATH];
    char current[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || GetCurrentDirectoryA(MAX_PATH, current) == 0) return;
    char* name = std::strrchr(program, '\\');
    if (name == nullptr) return;
    *name = 0;
    const size_t n = std::strlen(current);
    if (n > 0 && current[n - 1] == '\\') current[n - 1] = 0;
    if (lstrcmpiA(program, current) != 0) return;
    char pictures[MAX_PATH];
    if (SUCCEEDED(
            SHGetFolderPathA(nullptr, CSIDL_MYPICTURES, nullptr, SHGFP_TYPE_CURRENT, pictures)))
        SetCurrentDirectoryA(pictures);
}

}  // namespace

BOOL CTransferApp::InitInstance() {
    // A second instance ends here, silently.
    if (InterlockedExchange(&InstanceFlags[INSTANCE_RUNNING], 1) == 1) return FALSE;
    // Held until the process ends.
    CreateMutexA(nullptr, FALSE, RUNNING_MUTEX);
    LeaveOwnFolderForPictures();
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
