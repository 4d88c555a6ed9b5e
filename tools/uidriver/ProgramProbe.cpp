#include "ProgramProbe.h"

#include <cstring>

#include "Files.h"
#include "ProbeReport.h"

DWORD HelpCall::ContextOf(int nControl) const {
    for (const auto& [nId, nContext] : aIdMap) {
        if (nId == static_cast<DWORD>(nControl)) return nContext;
    }
    return 0;
}

CProgramProbe::~CProgramProbe() {
    if (m_hObserver) DestroyWindow(m_hObserver);
}

Outcome CProgramProbe::Load(HANDLE hProcess, DWORD dwProcessId) {
    return m_library.Load(hProcess, dwProcessId, ThisProgramFolder() + "\\program_probe.dll");
}

DWORD CProgramProbe::CloseItemState(HWND hMainDialog) const {
    DWORD dwState = CLOSE_ITEM_UNKNOWN;
    if (!m_library.Call("ReadCloseItemState", hMainDialog, &dwState)) return CLOSE_ITEM_UNKNOWN;
    return dwState;
}

Outcome CProgramProbe::WatchHelp() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ObserverProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = HELP_VIEWER_CLASS;
    RegisterClassA(&windowClass);
    // Top-level and hidden: FindWindow finds hidden windows, but not message-only ones.
    m_hObserver = CreateWindowExA(0, HELP_VIEWER_CLASS, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  windowClass.hInstance, nullptr);
    if (!m_hObserver) return Outcome::Failed("the help observer's window could not be made");
    SetWindowLongPtrA(m_hObserver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    DWORD nRedirected = 0;
    if (!m_library.Call("WatchHelp", nullptr, &nRedirected) || nRedirected == 0)
        return Outcome::Failed("the program does not call WinHelpA");
    return Outcome::Done();
}

LRESULT CALLBACK CProgramProbe::ObserverProc(HWND hWnd, UINT nMessage, WPARAM wParam,
                                             LPARAM lParam) {
    auto* pSelf = reinterpret_cast<CProgramProbe*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    const auto* pData = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    // The system's own requests to the viewer carry other tags: they are answered and dropped.
    if (nMessage != WM_COPYDATA || !pSelf || pData->dwData != PROBE_HELP_CALL ||
        pData->cbData != sizeof(ProbeHelpCall)) {
        return nMessage == WM_COPYDATA ? TRUE : DefWindowProcA(hWnd, nMessage, wParam, lParam);
    }
    const auto& report = *static_cast<const ProbeHelpCall*>(pData->lpData);
    HelpCall call;
    call.nControlId = report.nControlId;
    call.strFile.assign(report.szFile, strnlen(report.szFile, sizeof(report.szFile)));
    call.nCommand = report.nCommand;
    for (DWORD i = 0; i < report.nPairCount && i < PROBE_MAX_PAIRS; ++i)
        call.aIdMap.emplace_back(report.aPairs[2 * i], report.aPairs[2 * i + 1]);
    pSelf->m_aHelpCalls.push_back(call);
    return TRUE;
}
