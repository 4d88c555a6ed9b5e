// The help spy: a DLL that the help test loads into the running program. Wine's WinHelp passes
// some commands (HELP_WM_HELP among them) to no help viewer at all, so what the program asked
// for can only be seen inside it: the spy takes the program's import of WinHelpA, reports each
// call to the test, and then lets the call go on to the system unchanged.
#include <windows.h>

#include "HelpSpyRecord.h"

namespace {

using WinHelpFunction = BOOL(WINAPI*)(HWND, LPCSTR, UINT, ULONG_PTR);
WinHelpFunction g_pSystemWinHelp = nullptr;

void Report(ULONG_PTR nKind, HWND hWnd, LPCSTR pFile, UINT nCommand, ULONG_PTR nData,
            BOOL bResult) {
    HWND hSpyWindow = FindWindowA(HELP_SPY_WINDOW_CLASS, nullptr);
    if (!hSpyWindow) return;
    HelpSpyRecord record = {};
    record.nControlId = hWnd ? GetDlgCtrlID(hWnd) : 0;
    record.nCommand = nCommand;
    record.nData = nData;
    record.nResult = static_cast<DWORD>(bResult);
    if ((nCommand == HELP_WM_HELP || nCommand == HELP_CONTEXTMENU) && nData) {
        const DWORD* pPairs = reinterpret_cast<const DWORD*>(nData);
        while (record.nPairCount < HELP_SPY_MAX_PAIRS && (pPairs[0] != 0 || pPairs[1] != 0)) {
            record.aPairs[2 * record.nPairCount] = pPairs[0];
            record.aPairs[2 * record.nPairCount + 1] = pPairs[1];
            ++record.nPairCount;
            pPairs += 2;
        }
    }
    if (pFile) lstrcpynA(record.szFile, pFile, MAX_PATH);
    COPYDATASTRUCT data = {nKind, sizeof(record), &record};
    DWORD_PTR nAnswer = 0;
    SendMessageTimeoutA(hSpyWindow, WM_COPYDATA, reinterpret_cast<WPARAM>(hWnd),
                        reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 5000, &nAnswer);
}

BOOL WINAPI SpyWinHelpA(HWND hWnd, LPCSTR pFile, UINT nCommand, ULONG_PTR nData) {
    Report(HELP_SPY_CALLED, hWnd, pFile, nCommand, nData, FALSE);
    const BOOL bResult = g_pSystemWinHelp(hWnd, pFile, nCommand, nData);
    Report(HELP_SPY_RETURNED, hWnd, pFile, nCommand, nData, bResult);
    return bResult;
}

// Points every import slot of the module that holds pSystem at pReplacement.
bool RedirectImport(HMODULE hModule, void* pSystem, void* pReplacement) {
    BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
    const auto* pDos = reinterpret_cast<const IMAGE_DOS_HEADER*>(pBase);
    const auto* pNt = reinterpret_cast<const IMAGE_NT_HEADERS*>(pBase + pDos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports =
        pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return false;
    bool bRedirected = false;
    for (auto* pDescriptor =
             reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + imports.VirtualAddress);
         pDescriptor->Name; ++pDescriptor) {
        for (auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDescriptor->FirstThunk);
             pSlot->u1.Function; ++pSlot) {
            if (reinterpret_cast<void*>(pSlot->u1.Function) != pSystem) continue;
            DWORD dwOld = 0;
            if (!VirtualProtect(&pSlot->u1.Function, sizeof(pSlot->u1.Function), PAGE_READWRITE,
                                &dwOld)) {
                continue;
            }
            pSlot->u1.Function = reinterpret_cast<ULONG_PTR>(pReplacement);
            VirtualProtect(&pSlot->u1.Function, sizeof(pSlot->u1.Function), dwOld, &dwOld);
            bRedirected = true;
        }
    }
    return bRedirected;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD dwReason, LPVOID) {
    if (dwReason != DLL_PROCESS_ATTACH) return TRUE;
    g_pSystemWinHelp = reinterpret_cast<WinHelpFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "WinHelpA")));
    // Refusing to load tells the test that the program does not call WinHelpA at all.
    return g_pSystemWinHelp &&
           RedirectImport(GetModuleHandleA(nullptr), reinterpret_cast<void*>(g_pSystemWinHelp),
                          reinterpret_cast<void*>(&SpyWinHelpA));
}
