#include "UiDriver.h"

#include <commctrl.h>

#include <algorithm>

#include "Waiting.h"

namespace {

constexpr DWORD FOCUS_TIMEOUT_MS = 5000;

}  // namespace

std::vector<HWND> CUiDriver::MessageBoxes() const {
    std::vector<HWND> aBoxes;
    for (HWND hWnd : TopLevelWindows()) {
        if (hWnd == m_hMainDialog || !IsWindowVisible(hWnd) || ClassOf(hWnd) != "#32770") continue;
        if (!FindPanelIn(hWnd)) aBoxes.push_back(hWnd);
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
        if (ClassOf(hChild) == WC_BUTTONA && IsWindowVisible(hChild))
            view.aButtons.push_back(GetDlgCtrlID(hChild));
    }
    std::sort(view.aButtons.begin(), view.aButtons.end());
    return view;
}

Outcome CUiDriver::PressMessageBoxButton(HWND hBox, int nButtonId) {
    HWND hButton = GetDlgItem(hBox, nButtonId);
    const Outcome reachable =
        Reachable(hButton, "button " + std::to_string(nButtonId) + " of the message");
    if (!reachable) return reachable;
    if (!PostMessageA(hButton, BM_CLICK, 0, 0))
        return Outcome::Failed("the click on the message's button could not be posted");
    return Outcome::Done();
}

Outcome CUiDriver::BringToFront() {
    const Outcome reachable = Reachable(m_hMainDialog, "the main dialog");
    if (!reachable) return reachable;
    SetForegroundWindow(m_hMainDialog);
    if (!WaitUntil([&] { return GetForegroundWindow() == m_hMainDialog; }, FOCUS_TIMEOUT_MS))
        return Outcome::Failed("the main dialog did not come to the front");
    return Outcome::Done();
}

HWND CUiDriver::FocusWindow() const {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    const DWORD dwThread = GetWindowThreadProcessId(m_hMainDialog, nullptr);
    return dwThread && GetGUIThreadInfo(dwThread, &info) ? info.hwndFocus : nullptr;
}

Outcome CUiDriver::FocusCardList() {
    HWND hList = Control(PANEL_CARD_LIST);
    const Outcome reachable = Reachable(hList, "the card list");
    if (!reachable) return reachable;
    const Outcome clicked = ItemCount() > 0 ? ClickItem(0) : PostClicks(hList, POINT{2, 2}, false);
    if (!clicked) return clicked;
    if (!WaitUntil([&] { return FocusWindow() == hList; }, FOCUS_TIMEOUT_MS))
        return Outcome::Failed("the card list did not take the focus");
    return Outcome::Done();
}

Outcome CUiDriver::PressKey(WORD nVirtualKey, WORD nHeldKey) {
    // The held key goes down first and up last: Alt+F4 is VK_F4 with VK_MENU held.
    std::vector<INPUT> aInput;
    for (const auto& [nKey, dwUp] :
         std::vector<std::pair<WORD, DWORD>>{{nHeldKey, 0},
                                             {nVirtualKey, 0},
                                             {nVirtualKey, KEYEVENTF_KEYUP},
                                             {nHeldKey, KEYEVENTF_KEYUP}}) {
        if (!nKey) continue;
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = nKey;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(nKey, MAPVK_VK_TO_VSC));
        input.ki.dwFlags = dwUp;
        aInput.push_back(input);
    }
    if (SendInput(static_cast<UINT>(aInput.size()), aInput.data(), sizeof(INPUT)) != aInput.size())
        return Outcome::Failed("the key could not be sent (error " +
                               std::to_string(GetLastError()) + ")");
    return Outcome::Done();
}
