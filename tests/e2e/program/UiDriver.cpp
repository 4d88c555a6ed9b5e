#include "UiDriver.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>

#include "RemoteMemory.h"
#include "TestSupport.h"

namespace {

constexpr DWORD SEND_TIMEOUT_MS = 5000;
constexpr const char* DIALOG_CLASS = "#32770";
constexpr size_t ITEM_TEXT_SIZE = 260;

std::string ClassOf(HWND hWnd) {
    char name[64] = "";
    GetClassNameA(hWnd, name, sizeof(name));
    return name;
}

struct WindowCollection {
    DWORD dwProcessId;
    std::vector<HWND> aWindows;
};

BOOL CALLBACK CollectProcessWindow(HWND hWnd, LPARAM lParam) {
    auto* pCollection = reinterpret_cast<WindowCollection*>(lParam);
    DWORD dwOwner = 0;
    GetWindowThreadProcessId(hWnd, &dwOwner);
    if (dwOwner == pCollection->dwProcessId) pCollection->aWindows.push_back(hWnd);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

std::vector<HWND> Descendants(HWND hWnd) {
    std::vector<HWND> aChildren;
    EnumChildWindows(hWnd, CollectChild, reinterpret_cast<LPARAM>(&aChildren));
    return aChildren;
}

// The child dialog that carries the card list, or null.
HWND FindPanelIn(HWND hDialog) {
    for (HWND hChild : Descendants(hDialog)) {
        if (ClassOf(hChild) != DIALOG_CLASS) continue;
        HWND hList = GetDlgItem(hChild, CARD_LIST);
        if (hList && ClassOf(hList) == WC_LISTVIEWA) return hChild;
    }
    return nullptr;
}

}  // namespace

void PrintTo(const CardListItem& item, std::ostream* pStream) {
    *pStream << "{\"" << item.strText << "\", image " << item.nImage << "}";
}

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

std::vector<HWND> CUiDriver::TopLevelWindows() const {
    WindowCollection collection = {m_dwProcessId, {}};
    EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&collection));
    return collection.aWindows;
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
    LRESULT nLength = 0;
    if (!Send(hWnd, WM_GETTEXTLENGTH, 0, 0, &nLength) || nLength <= 0) return "";
    std::string strText(static_cast<size_t>(nLength) + 1, '\0');
    LRESULT nCopied = 0;
    if (!Send(hWnd, WM_GETTEXT, strText.size(), reinterpret_cast<LPARAM>(&strText[0]), &nCopied)) {
        return "";
    }
    strText.resize(static_cast<size_t>(nCopied > 0 ? nCopied : 0));
    return strText;
}

bool CUiDriver::IsEnabled(int nId) const {
    HWND hWnd = Control(nId);
    return hWnd && IsWindowEnabled(hWnd);
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

::testing::AssertionResult CUiDriver::Reachable(HWND hWnd, const std::string& strWhat) const {
    if (!hWnd || !IsWindow(hWnd))
        return ::testing::AssertionFailure() << strWhat << " does not exist";
    if (!IsWindowVisible(hWnd)) return ::testing::AssertionFailure() << strWhat << " is hidden";
    if (!IsWindowEnabled(hWnd)) return ::testing::AssertionFailure() << strWhat << " is disabled";
    // A modal message disables the window it belongs to, and with it every control inside.
    HWND hRoot = GetAncestor(hWnd, GA_ROOT);
    if (hRoot && !IsWindowEnabled(hRoot)) {
        return ::testing::AssertionFailure()
               << strWhat << " lies in a disabled window (a message is open)";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CUiDriver::Click(int nId) {
    HWND hButton = Control(nId);
    ::testing::AssertionResult reachable = Reachable(hButton, "control " + std::to_string(nId));
    if (!reachable) return reachable;
    // Posted, as input is: the click's consequences may keep the window thread busy for long.
    if (!PostMessageA(hButton, BM_CLICK, 0, 0)) {
        return ::testing::AssertionFailure() << "the click on " << nId << " could not be posted";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CUiDriver::RequestClose() {
    ::testing::AssertionResult reachable = Reachable(m_hMainDialog, "the main dialog");
    if (!reachable) return reachable;
    if (!PostMessageA(m_hMainDialog, WM_SYSCOMMAND, SC_CLOSE, 0)) {
        return ::testing::AssertionFailure() << "the close request could not be posted";
    }
    return ::testing::AssertionSuccess();
}

bool CUiDriver::WaitForWindowThread(DWORD dwTimeoutMs) {
    // Posted messages of one thread are handled in the order they were posted; the list's hover
    // time is a value nothing in the program reads, so setting it marks a point in that order.
    HWND hList = Control(CARD_LIST);
    const LRESULT nMarker = 100000 + (++m_nMarker & 0xFFFF);
    if (!hList || !PostMessageA(hList, LVM_SETHOVERTIME, 0, nMarker)) return false;
    return WaitUntil([&] { return SendOrZero(hList, LVM_GETHOVERTIME, 0, 0) == nMarker; },
                     dwTimeoutMs);
}

int CUiDriver::ItemCount() const {
    return static_cast<int>(SendOrZero(Control(CARD_LIST), LVM_GETITEMCOUNT, 0, 0));
}

std::string CUiDriver::ItemText(int nIndex) const {
    CRemoteMemory remote(m_hProcess, sizeof(LVITEMA) + ITEM_TEXT_SIZE);
    if (!remote.IsValid()) return "";
    LVITEMA item = {};
    item.iSubItem = 0;
    item.pszText = remote.Address() + sizeof(LVITEMA);
    item.cchTextMax = ITEM_TEXT_SIZE;
    LRESULT nLength = 0;
    char text[ITEM_TEXT_SIZE] = "";
    if (!remote.Write(&item, sizeof(item)) ||
        !Send(Control(CARD_LIST), LVM_GETITEMTEXTA, nIndex, remote.AddressAt(0), &nLength) ||
        !remote.Read(text, sizeof(text), sizeof(LVITEMA))) {
        return "";
    }
    text[ITEM_TEXT_SIZE - 1] = 0;
    return text;
}

int CUiDriver::ItemImage(int nIndex) const {
    CRemoteMemory remote(m_hProcess, sizeof(LVITEMA));
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = nIndex;
    item.iImage = -1;
    LRESULT nDone = 0;
    if (!remote.Write(&item, sizeof(item)) ||
        !Send(Control(CARD_LIST), LVM_GETITEMA, 0, remote.AddressAt(0), &nDone) || !nDone ||
        !remote.Read(&item, sizeof(item))) {
        return -1;
    }
    return item.iImage;
}

std::vector<std::string> CUiDriver::ItemTexts() const {
    std::vector<std::string> aTexts;
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) aTexts.push_back(ItemText(i));
    return aTexts;
}

std::vector<CardListItem> CUiDriver::Items() const {
    std::vector<CardListItem> aItems;
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) aItems.push_back({ItemText(i), ItemImage(i)});
    return aItems;
}

int CUiDriver::FindItem(const std::string& strText) const {
    const int nCount = ItemCount();
    for (int i = 0; i < nCount; ++i) {
        if (ItemText(i) == strText) return i;
    }
    return -1;
}

UINT CUiDriver::ItemState(int nIndex, UINT nMask) const {
    return static_cast<UINT>(SendOrZero(Control(CARD_LIST), LVM_GETITEMSTATE, nIndex, nMask));
}

int CUiDriver::SelectedCount() const {
    return static_cast<int>(SendOrZero(Control(CARD_LIST), LVM_GETSELECTEDCOUNT, 0, 0));
}

bool CUiDriver::ItemIconRect(int nIndex, RECT* pRect) const {
    CRemoteMemory remote(m_hProcess, sizeof(RECT));
    RECT rect = {};
    // The whole row may be wider than what the list hit-tests; the icon always counts.
    rect.left = LVIR_ICON;
    LRESULT nDone = 0;
    return remote.Write(&rect, sizeof(rect)) &&
           Send(Control(CARD_LIST), LVM_GETITEMRECT, nIndex, remote.AddressAt(0), &nDone) &&
           nDone && remote.Read(pRect, sizeof(RECT));
}

::testing::AssertionResult CUiDriver::ItemCentre(int nIndex, POINT* pPoint) {
    HWND hList = Control(CARD_LIST);
    if (nIndex < 0 || nIndex >= ItemCount()) {
        return ::testing::AssertionFailure() << "the card list has no item " << nIndex;
    }
    // A user scrolls an item into view before clicking it.
    SendOrZero(hList, LVM_ENSUREVISIBLE, nIndex, FALSE);
    RECT rect;
    if (!ItemIconRect(nIndex, &rect)) {
        return ::testing::AssertionFailure() << "the place of item " << nIndex << " is unknown";
    }
    pPoint->x = (rect.left + rect.right) / 2;
    pPoint->y = (rect.top + rect.bottom) / 2;
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CUiDriver::PostClicks(HWND hWnd, POINT point, bool bDouble) {
    const LPARAM nWhere = MAKELPARAM(point.x, point.y);
    bool bPosted = PostMessageA(hWnd, WM_LBUTTONDOWN, MK_LBUTTON, nWhere) &&
                   PostMessageA(hWnd, WM_LBUTTONUP, 0, nWhere);
    if (bDouble) {
        bPosted = bPosted && PostMessageA(hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, nWhere) &&
                  PostMessageA(hWnd, WM_LBUTTONUP, 0, nWhere);
    }
    if (!bPosted) return ::testing::AssertionFailure() << "the mouse messages could not be posted";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CUiDriver::ItemPoint(int nIndex, POINT* pPoint) {
    ::testing::AssertionResult reachable = Reachable(Control(CARD_LIST), "the card list");
    if (!reachable) return reachable;
    return ItemCentre(nIndex, pPoint);
}

::testing::AssertionResult CUiDriver::ClickItem(int nIndex) {
    POINT point;
    ::testing::AssertionResult found = ItemPoint(nIndex, &point);
    if (!found) return found;
    return PostClicks(Control(CARD_LIST), point, false);
}

::testing::AssertionResult CUiDriver::DoubleClickItem(int nIndex) {
    POINT point;
    ::testing::AssertionResult found = ItemPoint(nIndex, &point);
    if (!found) return found;
    return PostClicks(Control(CARD_LIST), point, true);
}

::testing::AssertionResult CUiDriver::RightClickItem(int nIndex) {
    POINT point;
    ::testing::AssertionResult found = ItemPoint(nIndex, &point);
    if (!found) return found;
    HWND hList = Control(CARD_LIST);
    const LPARAM nWhere = MAKELPARAM(point.x, point.y);
    if (!PostMessageA(hList, WM_RBUTTONDOWN, MK_RBUTTON, nWhere) ||
        !PostMessageA(hList, WM_RBUTTONUP, 0, nWhere)) {
        return ::testing::AssertionFailure() << "the mouse messages could not be posted";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CUiDriver::DoubleClickItem(const std::string& strText) {
    const int nIndex = FindItem(strText);
    if (nIndex < 0) {
        return ::testing::AssertionFailure() << "the card list shows no \"" << strText << "\"";
    }
    return DoubleClickItem(nIndex);
}

std::vector<HWND> CUiDriver::MessageBoxes() const {
    std::vector<HWND> aBoxes;
    for (HWND hWnd : TopLevelWindows()) {
        if (hWnd == m_hMainDialog || !IsWindowVisible(hWnd) || ClassOf(hWnd) != DIALOG_CLASS)
            continue;
        if (FindPanelIn(hWnd)) continue;
        aBoxes.push_back(hWnd);
    }
    return aBoxes;
}

HWND CUiDriver::WaitForMessageBox(DWORD dwTimeoutMs) const {
    HWND hBox = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> aBoxes = MessageBoxes();
            hBox = aBoxes.empty() ? nullptr : aBoxes.front();
            return hBox != nullptr;
        },
        dwTimeoutMs);
    return hBox;
}

MessageBoxView CUiDriver::ReadMessageBox(HWND hBox) const {
    MessageBoxView view;
    view.hWnd = hBox;
    view.strCaption = Text(hBox);
    view.strText = Text(GetDlgItem(hBox, MESSAGE_BOX_TEXT));
    for (HWND hChild : Descendants(hBox)) {
        if (ClassOf(hChild) == WC_BUTTONA && IsWindowVisible(hChild)) {
            view.aButtons.push_back(GetDlgCtrlID(hChild));
        }
    }
    std::sort(view.aButtons.begin(), view.aButtons.end());
    return view;
}

::testing::AssertionResult CUiDriver::PressMessageBoxButton(HWND hBox, int nButtonId) {
    HWND hButton = GetDlgItem(hBox, nButtonId);
    ::testing::AssertionResult reachable =
        Reachable(hButton, "button " + std::to_string(nButtonId) + " of the message");
    if (!reachable) return reachable;
    if (!PostMessageA(hButton, BM_CLICK, 0, 0)) {
        return ::testing::AssertionFailure()
               << "the click on the message's button could not be posted";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CUiDriver::BringToFront() {
    ::testing::AssertionResult reachable = Reachable(m_hMainDialog, "the main dialog");
    if (!reachable) return reachable;
    SetForegroundWindow(m_hMainDialog);
    if (!WaitUntil([&] { return GetForegroundWindow() == m_hMainDialog; }, SEND_TIMEOUT_MS)) {
        return ::testing::AssertionFailure() << "the main dialog did not come to the front";
    }
    return ::testing::AssertionSuccess();
}

HWND CUiDriver::FocusWindow() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    const DWORD dwThread = GetWindowThreadProcessId(m_hMainDialog, nullptr);
    return dwThread && GetGUIThreadInfo(dwThread, &info) ? info.hwndFocus : nullptr;
}

::testing::AssertionResult CUiDriver::FocusCardList() {
    HWND hList = Control(CARD_LIST);
    ::testing::AssertionResult reachable = Reachable(hList, "the card list");
    if (!reachable) return reachable;
    ::testing::AssertionResult clicked =
        ItemCount() > 0 ? ClickItem(0) : PostClicks(hList, POINT{2, 2}, false);
    if (!clicked) return clicked;
    if (!WaitUntil([&] { return FocusWindow() == hList; }, SEND_TIMEOUT_MS)) {
        return ::testing::AssertionFailure() << "the card list did not take the focus";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CUiDriver::PressKey(WORD nVirtualKey) {
    INPUT aInput[2] = {};
    for (INPUT& input : aInput) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = nVirtualKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(nVirtualKey, MAPVK_VK_TO_VSC));
    }
    aInput[1].ki.dwFlags = KEYEVENTF_KEYUP;
    if (SendInput(2, aInput, sizeof(INPUT)) != 2) {
        return ::testing::AssertionFailure()
               << "the key could not be sent (" << GetLastError() << ")";
    }
    return ::testing::AssertionSuccess();
}
