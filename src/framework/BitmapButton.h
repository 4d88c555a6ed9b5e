// CBitmapButton: an owner-drawn button that shows bitmaps instead of its caption.
//
// The parent's default processing reflects WM_DRAWITEM to the attached button, which copies the
// bitmap for the button's state, unscaled, to the top-left corner of the item rectangle.
#pragma once

#include <windows.h>

#include "framework/Wnd.h"

class CBitmapButton : public CWnd {
public:
    CBitmapButton();
    ~CBitmapButton() override;

    // Attaches to dialog item nID of pParent, loads the bitmaps named after its caption followed
    // by "U" and "D" (released, pressed) and sizes the button to the released one without moving
    // it. FALSE when the item or the released bitmap is missing.
    BOOL AutoLoad(UINT nID, CWnd* pParent);

    // Replaces both pictures with the named bitmaps of the resource module; without a pressed
    // picture the released one shows. TRUE when every named bitmap loaded.
    BOOL LoadBitmaps(const char* lpszUp, const char* lpszDown = nullptr);

    // Gives the button the size of its released bitmap.
    void SizeToContent();

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    HBITMAP m_hBitmap;     // released
    HBITMAP m_hBitmapSel;  // pressed

private:
    void DeleteBitmaps();
};
