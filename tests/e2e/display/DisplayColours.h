#pragma once
#include <windows.h>

#include <string>

// What the display the tests run on can show: the program measures the desktop once at start-up
// and chooses its colours and pictures by that, so the tests measure it the same way.
constexpr COLORREF PALETTE_DIALOG_BACKGROUND = RGB(192, 220, 192);      // light green
constexpr COLORREF HIGH_COLOUR_DIALOG_BACKGROUND = RGB(180, 171, 206);  // light violet

// Planes times bits per pixel of the desktop's device context.
int DisplayColourBits();
// Fewer than 65,536 colours: the program draws with palettes and the 8-bit picture files.
bool IsPaletteDisplay();

// Whether a colour read from the screen is what the display makes of a requested colour: on a
// palette display the nearest colour of the system palette, on a display of 16 bits per pixel
// the colour cut to 5 or 6 bits per channel, with more bits the colour itself.
bool IsShownAs(COLORREF clrShown, COLORREF clrRequested);

std::string DescribeColour(COLORREF clr);  // "RGB(192, 220, 192)"
