// The program probe: a DLL the driver loads into the running program to see what only that
// process can see. Its exports run on threads the driver starts there.
#include <windows.h>

#include "ProbeReport.h"

namespace {

using WinHelpFunction = BOOL(WINAPI*)(HWND, LPCSTR, UINT, ULONG_PTR);
WinHelpFunction g_pSystemWinHelp = nullptr;

void Report(HWND hWnd, LPCSTR pFile, UINT nCommand, ULONG_PTR nData) {
    HWND hObserver = FindWindowA(HELP_VIEWER_CLASS, nullptr);
    if (!hObserver) return;
    ProbeHelpCall call = {};
    call.nControlId = hWnd ? GetDlgCtrlID(hWnd) : 0;
    call.nCommand = nCommand;
    if ((nCommand == HELP_WM_HELP || nCommand == HELP_CONTEXTMENU) && nData) {
        for (const DWORD* pPair = reinterpret_cast<const DWORD*>(nData);
             call.nPairCount < PROBE_MAX_PAIRS && (pPair[0] || pPair[1]); pPair += 2) {
            call.aPairs[2 * call.nPairCount] = pPair[0];
            call.aPairs[2 * call.nPairCount++ + 1] = pPair[1];
        }
    }
    if (pFile) lstrcpynA(call.szFile, pFile, MAX_PATH);
    COPYDATASTRUCT data = {PROBE_HELP_CALL, sizeof(call), &call};
    DWORD_PTR nAnswer = 0;
    SendMessageTimeoutA(hObserver, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL,
                        5000, &nAnswer);
}

// Wine's WinHelp hands some commands (HELP_WM_HELP among them) to no viewer at all, so the call
// is seen on its way out of the program, and then goes on to the system unchanged.
BOOL WINAPI ReportedWinHelpA(HWND hWnd, LPCSTR pFile, UINT nCommand, ULONG_PTR nData) {
    const BOOL bResult = g_pSystemWinHelp(hWnd, pFile, nCommand, nData);
    Report(hWnd, pFile, nCommand, nData);
    return bResult;
}

}  // namespace

// Points the program's import of WinHelpA at the reporting one; 0 when it has no such import.
extern "C" __declspec(dllexport) DWORD WINAPI WatchHelp(void*) {
    g_pSystemWinHelp = reinterpret_cast<WinHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "WinHelpA")));
    BYTE* pBase = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        pBase + reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    DWORD nRedirected = 0;
    for (auto* pModule = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
         g_pSystemWinHelp && imports.VirtualAddress && pModule->Name; ++pModule) {
        for (auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pModule->FirstThunk);
             pSlot->u1.Function; ++pSlot) {
            if (reinterpret_cast<void*>(pSlot->u1.Function) != g_pSystemWinHelp) continue;
            DWORD dwOld = 0;
            if (!VirtualProtect(&pSlot->u1.Function, sizeof(pSlot->u1.Function), PAGE_READWRITE,
                                &dwOld)) {
                continue;
            }
            pSlot->u1.Function = reinterpret_cast<ULONG_PTR>(&ReportedWinHelpA);
            VirtualProtect(&pSlot->u1.Function, sizeof(pSlot->u1.Function), dwOld, &dwOld);
            ++nRedirected;
        }
    }
    return nRedirected;
}

// Menus belong to the process that owns them: the system-menu Close item of a window.
extern "C" __declspec(dllexport) DWORD WINAPI ReadCloseItemState(void* pWindow) {
    const UINT nState =
        GetMenuState(GetSystemMenu(static_cast<HWND>(pWindow), FALSE), SC_CLOSE, MF_BYCOMMAND);
    if (nState == static_cast<UINT>(-1)) return CLOSE_ITEM_UNKNOWN;
    return nState & (MF_GRAYED | MF_DISABLED) ? CLOSE_ITEM_DISABLED : CLOSE_ITEM_ENABLED;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
