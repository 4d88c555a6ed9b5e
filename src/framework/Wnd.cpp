#include "framework/Wnd.h"

#include <mutex>
#include <unordered_map>

#include "framework/WinApp.h"

namespace {

// HWND -> object for every attached window. Worker threads may send messages while the window
// thread attaches or detaches, so the map is locked.
struct HandleMap {
    std::mutex mutex;
    std::unordered_map<HWND, CWnd*> objects;
};

HandleMap& GetHandleMap() {
    static HandleMap map;
    return map;
}

// The message being handled on this thread, for Default().
thread_local MSG t_currentMessage = {};

}  // namespace

CWnd::CWnd() : m_hWnd(nullptr), m_pfnSuper(nullptr) {}

CWnd::~CWnd() {
    // An object that dies before its window must not leave the window calling into it.
    if (m_hWnd != nullptr) UnsubclassWindow();
}

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

BOOL CWnd::DestroyWindow() { return m_hWnd != nullptr ? ::DestroyWindow(m_hWnd) : FALSE; }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (hWnd == nullptr) return nullptr;
    HandleMap& map = GetHandleMap();
    std::lock_guard<std::mutex> lock(map.mutex);
    auto it = map.objects.find(hWnd);
    return it != map.objects.end() ? it->second : nullptr;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (hWnd == nullptr || m_hWnd != nullptr || !::IsWindow(hWnd)) return FALSE;
    {
        HandleMap& map = GetHandleMap();
        std::lock_guard<std::mutex> lock(map.mutex);
        if (!map.objects.emplace(hWnd, this).second) return FALSE;
    }
    m_hWnd = hWnd;
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    if (pParent == nullptr) return FALSE;
    return SubclassWindow(::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)));
}

HWND CWnd::UnsubclassWindow() {
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr) return nullptr;
    // Only undo our own subclassing; someone who subclassed after us keeps the chain.
    if (::IsWindow(hWnd) && m_pfnSuper != nullptr &&
        ::GetWindowLongPtrA(hWnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&AfxWndProc))
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    {
        HandleMap& map = GetHandleMap();
        std::lock_guard<std::mutex> lock(map.mutex);
        map.objects.erase(hWnd);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
    return hWnd;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT lResult = 0;
    if (OnWndMsg(message, wParam, lParam, &lResult)) return lResult;
    // A handler may have destroyed the window; nothing is left to process then.
    if (m_hWnd == nullptr) return 0;
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::Default() {
    return DefWindowProc(t_currentMessage.message, t_currentMessage.wParam,
                         t_currentMessage.lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_hWnd == nullptr) return 0;
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) return lParam != 0 && OnNotify(wParam, lParam, pResult);

    AFX_MSGCALL call = {message, wParam, lParam, 0};
    if (DispatchToMessageMap(call, 0, 0)) {
        *pResult = call.result;
        return TRUE;
    }

    // Owner-drawn controls ask their parent to draw them; a control that has an object of its own
    // draws itself.
    if (message == WM_DRAWITEM && lParam != 0) {
        const auto* pDraw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (pDraw->CtlType != ODT_MENU) {
            CWnd* pChild = FromHandlePermanent(pDraw->hwndItem);
            if (pChild != nullptr && pChild->OnChildNotify(message, wParam, lParam, pResult))
                return TRUE;
        }
    }
    return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    // Commands without a control window (menus, accelerators, posted commands) share one code.
    const UINT nCode = lParam == 0 ? CN_COMMAND : HIWORD(wParam);
    return OnCmdMsg(nID, nCode, wParam, lParam);
}

BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
    const auto* pHeader = reinterpret_cast<const NMHDR*>(lParam);
    AFX_MSGCALL call = {WM_NOTIFY, wParam, lParam, 0};
    if (!DispatchToMessageMap(call, pHeader->code, static_cast<UINT>(pHeader->idFrom)))
        return FALSE;
    *pResult = call.result;
    return TRUE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*) { return FALSE; }

void CWnd::FinishNcDestroy() {
    UnsubclassWindow();
    // The end of the main window is the end of the application, as a modal dialog loop around it
    // learns from the quit message.
    CWinApp* pApp = AfxGetApp();
    if (pApp != nullptr && pApp->m_pMainWnd == this) {
        pApp->m_pMainWnd = nullptr;
        ::PostQuitMessage(0);
    }
}

LRESULT AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG saved = t_currentMessage;
    t_currentMessage.hwnd = hWnd;
    t_currentMessage.message = message;
    t_currentMessage.wParam = wParam;
    t_currentMessage.lParam = lParam;
    const LRESULT lResult = pWnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) pWnd->FinishNcDestroy();
    t_currentMessage = saved;
    return lResult;
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (pWnd == nullptr) return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return AfxCallWndProc(pWnd, hWnd, message, wParam, lParam);
}
