#include "display/PictureDraw.h"

#include "display/BitmapStretch.h"
#include "display/DibPalette.h"
#include "display/PanelIds.h"

int DrawDibInControl(HWND panel, int id, const PackedDib* dib) {
    HWND control = GetDlgItem(panel, id);
    if (control == nullptr) return 0;
    HDC hdc = GetDC(control);
    if (hdc == nullptr) return 1;
    RECT client;
    GetClientRect(control, &client);
    InflateRect(&client, -1, -1);

    const BITMAPINFO* info = DibInfo(dib);
    UINT colorUse = DIB_RGB_COLORS;
    HPALETTE palette = nullptr;
    HPALETTE previousPalette = nullptr;
    HGLOBAL hIndexHeader = nullptr;
    if (dib->header.biClrUsed != 0) {
        palette = CreateDibPalette(dib);
        if (palette != nullptr) {
            previousPalette = SelectPalette(hdc, palette, FALSE);
            RealizePalette(hdc);
        }
        if (dib->header.biBitCount != 24) {
            hIndexHeader = MakePalIndexHeader(dib);
            if (hIndexHeader == nullptr) {
                // Without the index table the colours would be wrong: draw nothing.
                if (palette != nullptr) {
                    SelectPalette(hdc, previousPalette, FALSE);
                    DeleteObject(palette);
                }
                ReleaseDC(control, hdc);
                return 1;
            }
            info = static_cast<const BITMAPINFO*>(GlobalLock(hIndexHeader));
            colorUse = DIB_PAL_COLORS;
        }
    }

    int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
    if (info != nullptr) {
        StretchDIBits(hdc, client.left, client.top, client.right - client.left,
                      client.bottom - client.top, 0, 0, dib->header.biWidth, dib->header.biHeight,
                      DibBits(dib), info, colorUse, SRCCOPY);
    }
    SetStretchBltMode(hdc, oldMode);

    if (hIndexHeader != nullptr) {
        GlobalUnlock(hIndexHeader);
        GlobalFree(hIndexHeader);
    }
    if (palette != nullptr) {
        SelectPalette(hdc, previousPalette, FALSE);
        DeleteObject(palette);
    }
    ReleaseDC(control, hdc);
    return 1;
}

int PictureResourceFor(int id) {
    switch (id) {
        case PANEL_PRINTER_PICTURE:
            return RES_PRINTER_BITMAP;
        case PANEL_MONITOR_PICTURE:
            return RES_MONITOR_BITMAP;
        case PANEL_LOGO_PICTURE:
            return RES_LOGO_BITMAP;
        default:
            return 0;
    }
}

int DrawPictureBitmap(HWND panel, int id) {
    if (GetDlgItem(panel, id) == nullptr) return 0;
    const int resource = PictureResourceFor(id);
    if (resource == 0) return 1;
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource));
    if (bitmap == nullptr) return 1;
    StretchBitmapToControl(panel, id, bitmap);
    DeleteObject(bitmap);
    return 1;
}
