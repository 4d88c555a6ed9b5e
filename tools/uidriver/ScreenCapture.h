#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Planes times bits per pixel of the desktop: the program measures it once at start-up and
// chooses its colours and pictures by it, so whoever checks the screen measures it the same way.
int DisplayColourBits();
// Fewer than 65,536 colours: the program draws with palettes and the 8-bit picture files.
bool IsPaletteDisplay();

// The colour the display shows for a colour asked for: on a palette display the nearest of the
// system palette's reserved colours.
COLORREF ShownColour(COLORREF clrAsked);

// A copy of a rectangle of the screen as the display shows it, taken from inside Wine with a
// BitBlt of the screen's device context into a 32-bit DIB. On a palette display GDI turns the
// palette indices into the colours they stand for, which a capture from the X side cannot see.
class CScreenCapture {
public:
    explicit CScreenCapture(const RECT& rcScreenArea);
    ~CScreenCapture();
    CScreenCapture(const CScreenCapture&) = delete;
    CScreenCapture& operator=(const CScreenCapture&) = delete;

    bool IsValid() const { return m_pBits != nullptr; }
    // The colour at a point in screen coordinates; CLR_INVALID outside the captured area.
    COLORREF Pixel(POINT ptScreen) const;
    // A 24-bit bottom-up Windows bitmap file of the whole capture.
    bool SaveBitmapFile(const std::string& strPath) const;

private:
    RECT m_rcArea;
    int m_nWidth;
    int m_nHeight;
    HBITMAP m_hBitmap;
    const DWORD* m_pBits;  // top-down rows, one 0x00RRGGBB word per pixel
};

// A picture stretched to a size (COLORONCOLOR, as the program stretches), as top-down rows of
// colours. In the display's colours it is what a bitmap drawn without a palette shows; otherwise
// it keeps its own colours, which a realized palette shows.
std::vector<COLORREF> StretchedPixels(HBITMAP hPicture, int nWidth, int nHeight,
                                      bool bDisplayColours);

// The share (0 to 1) of the pixels of a screen area that do not show what the display makes of
// the same pixel of an expected image of the area's size.
double ShareUnlike(const RECT& rcScreenArea, const std::vector<COLORREF>& aExpected);
