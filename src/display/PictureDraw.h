#pragma once

#include "display/Dib.h"

// Palette mode: draws the picture into the control's client area less a one-pixel margin, through
// a palette made from its own colour table. Returns 0 when the control does not exist, else 1.
int DrawDibInControl(HWND panel, int id, const PackedDib* dib);

// High-colour mode: loads the control's 24-bit bitmap resource from the program's module and
// stretches it over the whole client area. Returns 0 when the control does not exist, else 1.
int DrawPictureBitmap(HWND panel, int id);

// The bitmap resource of a picture control, 0 for a control that has none.
int PictureResourceFor(int id);
