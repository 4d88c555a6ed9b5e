// The Close-item probe: a DLL that the copy tests load into the running program. Menus live in
// the process that owns them, so the state of the standard dialog's system-menu Close item can
// only be read from inside; a thread started there on ReadCloseItemState returns it as its exit
// code.
#include <windows.h>

#include "CloseItemProbeCodes.h"

extern "C" __declspec(dllexport) DWORD WINAPI ReadCloseItemState(void* pWindow) {
    HMENU hMenu = GetSystemMenu(static_cast<HWND>(pWindow), FALSE);
    if (!hMenu) return CLOSE_ITEM_NO_MENU;
    const UINT nState = GetMenuState(hMenu, SC_CLOSE, MF_BYCOMMAND);
    if (nState == static_cast<UINT>(-1)) return CLOSE_ITEM_MISSING;
    return nState & (MF_GRAYED | MF_DISABLED) ? CLOSE_ITEM_DISABLED : CLOSE_ITEM_ENABLED;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
