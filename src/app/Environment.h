#pragma once
#include <windows.h>

// Colour depth class of the display, measured once at start-up: 1 for a palette display
// (fewer than 65,536 colours, also until it is measured), 0 otherwise.
extern short DisplayMode;

// The decisions, over plain numbers, so that they can be tested without the system.
short DisplayModeFor(int planes, int bitsPerPixel);
int OsVersionClassFor(DWORD major, DWORD minor);
int KeyboardClassFor(int type, int subtype);

// The same decisions over the running system's answers.
short MeasureDisplayMode();
int OsVersionClass();
int KeyboardClass();

// Dialog background by display mode: light green on a palette display, light violet otherwise.
COLORREF DialogBackgroundFor(short displayMode);
