#pragma once

#include <windows.h>

// Owner-drawn buttons of one panel window that show a released and a pressed picture loaded by
// numeric id from a module. The set and its entries live in movable, zero-initialised global
// blocks, locked for the set's whole life; the set owns every picture. Its address is kept in
// the panel window's GWLP_USERDATA.
struct BitmapButtonEntry {
    WORD controlId;
    HBITMAP hReleased;
    HBITMAP hPressed;
};

struct BitmapButtonSet {
    BitmapButtonEntry* entries;
    WORD count;
    HMODULE module;
};

// Picture ids of one button: released, pressed.
struct BitmapPicturePair {
    WORD released;
    WORD pressed;
};

// Button pictures of the language module for the EXIT/STOP button.
constexpr BitmapPicturePair EXIT_PICTURES_HIGH_COLOR = {4001, 4002};
constexpr BitmapPicturePair STOP_PICTURES_HIGH_COLOR = {4003, 4004};
constexpr BitmapPicturePair EXIT_PICTURES_PALETTE = {4005, 4006};
constexpr BitmapPicturePair STOP_PICTURES_PALETTE = {4007, 4008};

inline BitmapPicturePair ExitPictures(int displayMode) {
    return displayMode == 1 ? EXIT_PICTURES_PALETTE : EXIT_PICTURES_HIGH_COLOR;
}
inline BitmapPicturePair StopPictures(int displayMode) {
    return displayMode == 1 ? STOP_PICTURES_PALETTE : STOP_PICTURES_HIGH_COLOR;
}

// One entry per control id (the ids distinct), pictures loaded with LoadBitmap from the module;
// a picture that does not load is kept as null. Nothing when a block cannot be obtained.
BitmapButtonSet* CreateBitmapButtonSet(const WORD* controlIds, const BitmapPicturePair* pictures,
                                       WORD count, HMODULE module);

// Replaces the pictures of the entry for the control (no repaint). 0 when no entry has that id.
int SetBitmapButtonImages(BitmapButtonSet* set, int controlId, BitmapPicturePair pictures);

// The panel window's message hook. WM_DRAWITEM for a control of the set draws it and returns 1;
// WM_DESTROY frees the set (and clears GWLP_USERDATA if it pointed at the set) and returns 0 so
// that normal processing still runs; anything else returns 0.
int BitmapButtonSetProc(HWND panel, UINT message, WPARAM wParam, LPARAM lParam,
                        BitmapButtonSet* set);

// Draws the pressed or released picture as the request asks. 0 (not handled) when the control is
// not in the set or has no pictures at all.
int DrawBitmapButton(HWND panel, BitmapButtonSet* set, int controlId, const DRAWITEMSTRUCT* item);

// Frees the pictures and both blocks.
void DestroyBitmapButtonSet(BitmapButtonSet* set);

// The set kept in the panel window's user data, or nothing.
BitmapButtonSet* GetBitmapButtonSet(HWND panel);
void StoreBitmapButtonSet(HWND panel, BitmapButtonSet* set);

// Invalidates the button's area of the panel window without erasing, so that the button (a child
// of a panel without WS_CLIPCHILDREN) repaints and asks for its picture again. 0 when the control
// does not exist.
int RepaintBitmapButton(HWND panel, int id);
