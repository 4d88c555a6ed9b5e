#include "app/Environment.h"

short DisplayMode = 1;

short DisplayModeFor(int planes, int bitsPerPixel) {
    const short bits = static_cast<short>(bitsPerPixel);
    if (bits < 8) return 1;
    // Doubling from 2, (planes x bits - 1) times, passes 0xFFFF exactly when the product
    // reaches 16: a 15-bit display still counts as a palette display.
    const int product = static_cast<short>(planes) * bits;
    long value = 2;
    for (int i = 0; i < product - 1; ++i) {
        value *= 2;
        if (value > 0xFFFF) return 0;
    }
    return 1;
}

int OsVersionClassFor(DWORD major, DWORD minor) {
    if (major != 4) return 2;
    return minor < 10 ? 1 : 0;
}

int KeyboardClassFor(int type, int subtype) {
    if (type != 7) return 1;
    return (subtype & 0x0D00) != 0 ? 0 : 1;
}

short MeasureDisplayMode() {
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDC(desktop);
    const int planes = GetDeviceCaps(dc, PLANES);
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(desktop, dc);
    return DisplayModeFor(planes, bits);
}

int OsVersionClass() {
    OSVERSIONINFOA version;
    ZeroMemory(&version, sizeof(version));
    version.dwOSVersionInfoSize = sizeof(version);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExA(&version);
#pragma GCC diagnostic pop
    return OsVersionClassFor(version.dwMajorVersion, version.dwMinorVersion);
}

int KeyboardClass() {
    const int type = GetKeyboardType(0);
    return KeyboardClassFor(type, type == 7 ? GetKeyboardType(1) : 0);
}

COLORREF DialogBackgroundFor(short displayMode) {
    return displayMode == 1 ? RGB(192, 220, 192) : RGB(180, 171, 206);
}
