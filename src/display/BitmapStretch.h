#pragma once

#include <windows.h>

// Stretches the whole bitmap over the whole client area of the panel's control, through the
// control's own device context (COLORONCOLOR, SRCCOPY). The bitmap stays the caller's.
// Returns 0 when the control does not exist, else 1 (a null bitmap draws nothing).
int StretchBitmapToControl(HWND panel, int id, HBITMAP bitmap);
