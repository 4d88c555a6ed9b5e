#include "UiDriver.h"

#include <commctrl.h>

#include <cstdio>

#include "Waiting.h"

namespace {

constexpr DWORD SEND_TIMEOUT_MS = 5000;
constexpr const char* DIALOG_CLASS = "#32770";

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

}  // namespace

CUiDriver::CUiDriver(DWORD dwProcessId)
    : m_dwProcessId(dwProcessId),
      m_hProcess(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                 PROCESS_QUERY_INFORMATION | SYNCHRONIZE,
                             FALSE, dwProcessId)),
      m_hMainDialog(nullptr),
      m_hPanel(nullptr),
      m_nMarker(GetTickCount() & 0xFFFF) {}

CUiDriver::~CUiDriver() {
    if (m_hProcess) CloseHandle(m_hProcess);
}

std::string CUiDriver::ClassOf(HWND hWnd) {
    char name[64] = "";
    GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

std::vector<HWND> CUiDriver::Descendants(HWND hWnd) {
    std::vector<HWND> aChildren;
    EnumChildWindows(hWnd, CollectWindow, reinterpret_cast<LPARAM>(&aChildren));
    return aChildren;
}

HWND CUiDriver::FindPanelIn(HWND hDialog) {
    for (HWND hChild : Descendants(hDialog)) {
        if (ClassOf(hChild) != DIALOG_CLASS) continue;
        HWND hList = GetDlgItem(hChild, PANEL_CARD_LIST);
        if (hList && ClassOf(hList) == WC_LISTVIEWA) return hChild;
    }
    return nullptr;
}

DWORD CUiDriver::FindRunningProgram() {
    std::vector<HWND> aWindows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&aWindows));
    for (HWND hWnd : aWindows) {
        DWORD dwProcessId = 0;
        if (ClassOf(hWnd) == DIALOG_CLASS && FindPanelIn(hWnd) &&
            GetWindowThreadProcessId(hWnd, &dwProcessId)) {
            return dwProcessId;
        }
    }
    return 0;
}

std::vector<HWND> CUiDriver::TopLevelWindows() const {
    std::vector<HWND> aAll, aOwn;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&aAll));
    for (HWND hWnd : aAll) {
        DWORD dwOwner = 0;
        GetWindowThreadProcessId(hWnd, &dwOwner);
        if (dwOwner == m_dwProcessId) aOwn.push_back(hWnd);
    }
    return aOwn;
}

HWND CUiDriver::FindMainDialog() const {
    for (HWND hWnd : TopLevelWindows()) {
        if (ClassOf(hWnd) == DIALOG_CLASS && FindPanelIn(hWnd)) return hWnd;
    }
    return nullptr;
}

bool CUiDriver::Attach() {
    HWND hMain = FindMainDialog();
    if (!hMain) return false;
    m_hMainDialog = hMain;
    m_hPanel = FindPanelIn(hMain);
    return m_hPanel != nullptr;
}

HWND CUiDriver::Control(int nId) const { return m_hPanel ? GetDlgItem(m_hPanel, nId) : nullptr; }

std::string CUiDriver::DescribeWindows() const {
    std::string strText;
    for (HWND hWnd : TopLevelWindows()) {
        char line[160];
        std::snprintf(line, sizeof(line), "\n  %p class \"%s\"%s title \"",
                      static_cast<void*>(hWnd), ClassOf(hWnd).c_str(),
                      IsWindowVisible(hWnd) ? " visible" : "");
        strText += line + Text(hWnd) + "\"";
    }
    return strText.empty() ? " (no windows)" : strText;
}

bool CUiDriver::Send(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam,
                     LRESULT* pResult) const {
    DWORD_PTR nResult = 0;
    if (!hWnd || !SendMessageTimeoutA(hWnd, nMessage, wParam, lParam,
                                      SMTO_NORMAL | SMTO_ABORTIFHUNG, SEND_TIMEOUT_MS, &nResult)) {
        return false;
    }
    if (pResult) *pResult = static_cast<LRESULT>(nResult);
    return true;
}

LRESULT CUiDriver::SendOrZero(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) const {
    LRESULT nResult = 0;
    return Send(hWnd, nMessage, wParam, lParam, &nResult) ? nResult : 0;
}

std::string CUiDriver::Text(HWND hWnd) const {
    // The text may change between asking its length and reading it: a read that fills the buffer
    // is taken again with more room.
    LRESULT nLength = 0;
    if (!Send(hWnd, WM_GETTEXTLENGTH, 0, 0, &nLength) || nLength <= 0) return "";
    for (size_t nRoom = static_cast<size_t>(nLength) + 64;; nRoom *= 2) {
        std::string strText(nRoom, '\0');
        LRESULT nCopied = 0;
        if (!Send(hWnd, WM_GETTEXT, nRoom, reinterpret_cast<LPARAM>(&strText[0]), &nCopied)) return "";
        if (nCopied >= 0 && static_cast<size_t>(nCopied) + 1 < nRoom) {
            strText.resize(static_cast<size_t>(nCopied));
            return strText;
        }
    }
}

bool CUiDriver::IsEnabled(int nId) const {
    HWND hWnd = Control(nId);
    return hWnd && IsWindowEnabled(hWnd);
}

bool CUiDriver::CopyEnded() const {
    return IsEnabled(PANEL_SELECT_ALL) && IsEnabled(PANEL_EXIT_STOP_BUTTON);
}

bool CUiDriver::IsVisible(int nId) const {
    HWND hWnd = Control(nId);
    return hWnd && IsWindowVisible(hWnd);
}

int CUiDriver::CheckState(int nId) const {
    LRESULT nState = 0;
    return Send(Control(nId), BM_GETCHECK, 0, 0, &nState) ? static_cast<int>(nState) : -1;
}

bool CUiDriver::IsResponding(DWORD dwTimeoutMs) const {
    DWORD_PTR nResult = 0;
    return m_hMainDialog &&
           SendMessageTimeoutA(m_hMainDialog, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                               dwTimeoutMs, &nResult) != 0;
}

Outcome CUiDriver::Reachable(HWND hWnd, const std::string& strWhat) const {
    if (!hWnd || !IsWindow(hWnd)) return Outcome::Failed(strWhat + " does not exist");
    if (!IsWindowVisible(hWnd)) return Outcome::Failed(strWhat + " is hidden");
    if (!IsWindowEnabled(hWnd)) return Outcome::Failed(strWhat + " is disabled");
    // A modal message disables the window it belongs to, and with it every control inside.
    HWND hRoot = GetAncestor(hWnd, GA_ROOT);
    if (hRoot && !IsWindowEnabled(hRoot))
        return Outcome::Failed(strWhat + " lies in a disabled window (a message is open)");
    return Outcome::Done();
}

Outcome CUiDriver::Click(int nId) {
    HWND hButton = Control(nId);
    const Outcome reachable = Reachable(hButton, "control " + std::to_string(nId));
    if (!reachable) return reachable;
    // Posted, as input is: the click's consequences may keep the window thread busy for long.
    if (!PostMessageA(hButton, BM_CLICK, 0, 0))
        return Outcome::Failed("the click on " + std::to_string(nId) + " could not be posted");
    return Outcome::Done();
}

Outcome CUiDriver::HoldButton(int nId) {
    HWND hButton = Control(nId);
    const Outcome reachable = Reachable(hButton, "control " + std::to_string(nId));
    if (!reachable) return reachable;
    if (!PostMessageA(hButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2)))
        return Outcome::Failed("the mouse message could not be posted");
    return Outcome::Done();
}

Outcome CUiDriver::ReleaseButton(int nId) {
    if (!PostMessageA(Control(nId), WM_LBUTTONUP, 0, MAKELPARAM(2, 2)))
        return Outcome::Failed("the mouse message could not be posted");
    return Outcome::Done();
}

Outcome CUiDriver::RightClick(int nId) {
    HWND hControl = Control(nId);
    const Outcome reachable = Reachable(hControl, "control " + std::to_string(nId));
    if (!reachable) return reachable;
    RECT rect = {};
    GetClientRect(hControl, &rect);
    const LPARAM nWhere = MAKELPARAM(rect.right / 2, rect.bottom / 2);
    if (!PostMessageA(hControl, WM_RBUTTONDOWN, MK_RBUTTON, nWhere) ||
        !PostMessageA(hControl, WM_RBUTTONUP, 0, nWhere)) {
        return Outcome::Failed("the mouse messages could not be posted");
    }
    return Outcome::Done();
}

Outcome CUiDriver::TickSelectAll() {
    const Outcome clicked = Click(PANEL_SELECT_ALL);
    if (!clicked) return clicked;
    if (!WaitUntil([&] { return CheckState(PANEL_SELECT_ALL) == BST_CHECKED; }, SEND_TIMEOUT_MS) ||
        !WaitForWindowThread()) {
        return Outcome::Failed("\"Select ALL\" was not ticked");
    }
    return Outcome::Done();
}

Outcome CUiDriver::RequestClose() {
    const Outcome reachable = Reachable(m_hMainDialog, "the main dialog");
    if (!reachable) return reachable;
    if (!PostMessageA(m_hMainDialog, WM_SYSCOMMAND, SC_CLOSE, 0))
        return Outcome::Failed("the close request could not be posted");
    return Outcome::Done();
}

bool CUiDriver::WaitForWindowThread(DWORD dwTimeoutMs) {
    // Posted messages of one thread are handled in the order they were posted; the list's hover
    // time is a value nothing in the program reads, so setting it marks a point in that order.
    HWND hList = Control(PANEL_CARD_LIST);
    const DWORD nMarker = 100000 + (++m_nMarker & 0xFFFF);
    if (!hList || !PostMessageA(hList, LVM_SETHOVERTIME, 0, nMarker)) return false;
    return WaitUntil([&] { return DWORD(SendOrZero(hList, LVM_GETHOVERTIME, 0, 0)) == nMarker; },
                     dwTimeoutMs);
}
