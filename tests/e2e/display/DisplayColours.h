#pragma once
#include <windows.h>

#include <string>

#include "ScreenCapture.h"

// The dialog colours of the two display modes.
constexpr COLORREF PALETTE_DIALOG_BACKGROUND = RGB(192, 220, 192);      // light green
constexpr COLORREF HIGH_COLOUR_DIALOG_BACKGROUND = RGB(180, 171, 206);  // light violet

// Whether a colour read from the screen is what the display makes of a requested colour: on a
// palette display the nearest colour of the system palette, on a display of 16 bits per pixel
// the colour cut to 5 or 6 bits per channel, with more bits the colour itself.
bool IsShownAs(COLORREF clrShown, COLORREF clrRequested);

std::string DescribeColour(COLORREF clr);  // "RGB(192, 220, 192)"
