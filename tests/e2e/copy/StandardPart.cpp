#include "StandardPart.h"

#include <commctrl.h>
#include <commdlg.h>

#include "RemoteMemory.h"

namespace {

constexpr DWORD SEND_TIMEOUT_MS = 5000;
constexpr size_t PATH_SIZE = 1024;
constexpr size_t NAME_SIZE = 260;

bool SendWithin(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    DWORD_PTR nResult = 0;
    if (!hWnd || !SendMessageTimeoutA(hWnd, nMessage, wParam, lParam,
                                      SMTO_NORMAL | SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS, &nResult)) {
        return false;
    }
    if (pResult) *pResult = static_cast<LRESULT>(nResult);
    return true;
}

}  // namespace

CStandardPart::CStandardPart(DWORD dwProcessId, HWND hDialog)
    : m_hProcess(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                             dwProcessId)),
      m_hDialog(hDialog) {}

CStandardPart::~CStandardPart() {
    if (m_hProcess) CloseHandle(m_hProcess);
}

std::string CStandardPart::Ask(UINT nMessage) const {
    CRemoteMemory remote(m_hProcess, PATH_SIZE);
    char text[PATH_SIZE] = "";
    LRESULT nLength = 0;
    if (!remote.IsValid() ||
        !SendWithin(m_hDialog, nMessage, PATH_SIZE, remote.AddressAt(0), &nLength) ||
        nLength <= 0 || !remote.Read(text, sizeof(text))) {
        return "";
    }
    text[PATH_SIZE - 1] = 0;
    return text;
}

std::string CStandardPart::FolderPath() const { return Ask(CDM_GETFOLDERPATH); }

HWND CStandardPart::FilesList() const {
    return GetDlgItem(Control(STANDARD_FILES_VIEW), SHELL_VIEW_LIST);
}

std::vector<std::string> CStandardPart::FilesViewNames() const {
    std::vector<std::string> aNames;
    HWND hList = FilesList();
    LRESULT nCount = 0;
    if (!SendWithin(hList, LVM_GETITEMCOUNT, 0, 0, &nCount)) return aNames;
    CRemoteMemory remote(m_hProcess, sizeof(LVITEMA) + NAME_SIZE);
    for (int i = 0; i < nCount && remote.IsValid(); ++i) {
        LVITEMA item = {};
        item.pszText = remote.Address() + sizeof(LVITEMA);
        item.cchTextMax = NAME_SIZE;
        char text[NAME_SIZE] = "";
        if (!remote.Write(&item, sizeof(item)) ||
            !SendWithin(hList, LVM_GETITEMTEXTA, i, remote.AddressAt(0), nullptr) ||
            !remote.Read(text, sizeof(text), sizeof(LVITEMA))) {
            break;
        }
        text[NAME_SIZE - 1] = 0;
        aNames.push_back(text);
    }
    return aNames;
}
