#include "framework/CmdTarget.h"

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    static const AFX_MSGMAP_ENTRY messageEntries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP messageMap = {nullptr, &messageEntries[0]};
    return &messageMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::DispatchToMessageMap(AFX_MSGCALL& call, UINT nCode, UINT nID) {
    const bool bRouted = call.message == WM_COMMAND || call.message == WM_NOTIFY;
    for (const AFX_MSGMAP* pMap = GetMessageMap(); pMap != nullptr;
         pMap = pMap->pfnGetBaseMap != nullptr ? pMap->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* pEntry = pMap->lpEntries; pEntry->nMessage != 0; ++pEntry) {
            if (pEntry->nMessage != call.message) continue;
            if (bRouted && (pEntry->nCode != nCode || nID < pEntry->nID || nID > pEntry->nLastID))
                continue;
            if (pEntry->pfnHandler(this, call)) return TRUE;
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, UINT nCode, WPARAM wParam, LPARAM lParam) {
    AFX_MSGCALL call = {WM_COMMAND, wParam, lParam, 0};
    return DispatchToMessageMap(call, nCode, nID);
}
