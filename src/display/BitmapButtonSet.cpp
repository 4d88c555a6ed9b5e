#include "display/BitmapButtonSet.h"

#include "display/BitmapStretch.h"

namespace {

HBITMAP LoadPicture(HMODULE module, WORD id) {
    // A null module would reach the system's own bitmaps; a missing language module has none.
    if (module == nullptr) return nullptr;
    return LoadBitmapA(module, MAKEINTRESOURCEA(id));
}

void DeletePictures(BitmapButtonEntry& entry) {
    if (entry.hReleased != nullptr) DeleteObject(entry.hReleased);
    if (entry.hPressed != nullptr) DeleteObject(entry.hPressed);
    entry.hReleased = nullptr;
    entry.hPressed = nullptr;
}

BitmapButtonEntry* FindEntry(BitmapButtonSet* set, int controlId) {
    for (WORD i = 0; i < set->count; ++i) {
        if (set->entries[i].controlId == controlId) return &set->entries[i];
    }
    return nullptr;
}

// Locks a fresh movable zero-initialised block; frees it again when the lock fails.
void* AllocLocked(SIZE_T size) {
    HGLOBAL hBlock = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (hBlock == nullptr) return nullptr;
    void* p = GlobalLock(hBlock);
    if (p == nullptr) GlobalFree(hBlock);
    return p;
}

void FreeLocked(void* p) {
    if (p == nullptr) return;
    HGLOBAL hBlock = GlobalHandle(p);
    GlobalUnlock(hBlock);
    GlobalFree(hBlock);
}

}  // namespace

BitmapButtonSet* CreateBitmapButtonSet(const WORD* controlIds, const BitmapPicturePair* pictures,
                                       WORD count, HMODULE module) {
    auto* set = static_cast<BitmapButtonSet*>(AllocLocked(sizeof(BitmapButtonSet)));
    if (set == nullptr) return nullptr;
    // At least one entry's room, so an empty set still has a block to free.
    const SIZE_T entryBytes = sizeof(BitmapButtonEntry) * (count != 0 ? count : 1);
    set->entries = static_cast<BitmapButtonEntry*>(AllocLocked(entryBytes));
    if (set->entries == nullptr) {
        FreeLocked(set);
        return nullptr;
    }
    set->count = count;
    set->module = module;
    for (WORD i = 0; i < count; ++i) {
        set->entries[i].controlId = controlIds[i];
        set->entries[i].hReleased = LoadPicture(module, pictures[i].released);
        set->entries[i].hPressed = LoadPicture(module, pictures[i].pressed);
    }
    return set;
}

int SetBitmapButtonImages(BitmapButtonSet* set, int controlId, BitmapPicturePair pictures) {
    BitmapButtonEntry* entry = FindEntry(set, controlId);
    if (entry == nullptr) return 0;
    DeletePictures(*entry);
    entry->hReleased = LoadPicture(set->module, pictures.released);
    entry->hPressed = LoadPicture(set->module, pictures.pressed);
    return 1;
}

void DestroyBitmapButtonSet(BitmapButtonSet* set) {
    if (set == nullptr) return;
    for (WORD i = 0; i < set->count; ++i) DeletePictures(set->entries[i]);
    FreeLocked(set->entries);
    FreeLocked(set);
}

int DrawBitmapButton(HWND panel, BitmapButtonSet* set, int controlId, const DRAWITEMSTRUCT* item) {
    const BitmapButtonEntry* entry = FindEntry(set, controlId);
    if (entry == nullptr || (entry->hReleased == nullptr && entry->hPressed == nullptr)) return 0;

    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    bool draw = false;
    switch (item->itemAction) {
        case ODA_DRAWENTIRE:
        case ODA_SELECT:
            draw = true;
            break;
        // Focus changes alone leave the picture as it is; no focus rectangle is drawn.
        case ODA_FOCUS:
            draw = (item->itemState & ODS_FOCUS) == 0;
            break;
        default:
            break;
    }
    if (draw) {
        HBITMAP picture = pressed ? entry->hPressed : entry->hReleased;
        if (picture != nullptr) StretchBitmapToControl(panel, controlId, picture);
    }
    return 1;
}

int BitmapButtonSetProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam,
                        BitmapButtonSet* set) {
    if (set == nullptr) return 0;
    switch (message) {
        case WM_DRAWITEM:
            return DrawBitmapButton(panel, set, int(wParam),
                                    reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        case WM_DESTROY:
            // Later messages (WM_NCDESTROY) must not find the freed set.
            if (GetBitmapButtonSet(panel) == set) StoreBitmapButtonSet(panel, nullptr);
            DestroyBitmapButtonSet(set);
            return 0;
        default:
            return 0;
    }
}

BitmapButtonSet* GetBitmapButtonSet(HWND panel) {
    return reinterpret_cast<BitmapButtonSet*>(GetWindowLongPtrA(panel, GWLP_USERDATA));
}

void StoreBitmapButtonSet(HWND panel, BitmapButtonSet* set) {
    SetWindowLongPtrA(panel, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(set));
}

int RepaintBitmapButton(HWND panel, int id) {
    HWND button = GetDlgItem(panel, id);
    if (button == nullptr) return 0;
    RECT area;
    GetWindowRect(button, &area);
    POINT corners[2] = {{area.left, area.top}, {area.right, area.bottom}};
    ScreenToClient(panel, &corners[0]);
    ScreenToClient(panel, &corners[1]);
    RECT client = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    InvalidateRect(panel, &client, FALSE);
    return 1;
}
