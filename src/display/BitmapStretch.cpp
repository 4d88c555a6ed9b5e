#include "display/BitmapStretch.h"

int StretchBitmapToControl(HWND panel, int id, HBITMAP bitmap) {
    HWND control = GetDlgItem(panel, id);
    if (control == nullptr) return 0;

    BITMAP info;
    if (bitmap == nullptr || GetObject(bitmap, sizeof info, &info) == 0) return 1;

    HDC hdc = GetDC(control);
    if (hdc == nullptr) return 1;
    RECT client;
    GetClientRect(control, &client);
    HDC memory = CreateCompatibleDC(hdc);
    if (memory != nullptr) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        int oldMode = SetStretchBltMode(hdc, COLORONCOLOR);
        StretchBlt(hdc, 0, 0, client.right, client.bottom, memory, 0, 0, info.bmWidth,
                   info.bmHeight, SRCCOPY);
        SetStretchBltMode(hdc, oldMode);
        SelectObject(memory, previous);
        DeleteDC(memory);
    }
    ReleaseDC(control, hdc);
    return 1;
}
