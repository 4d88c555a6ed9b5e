// The dialog colour chosen by the display mode: light green on a palette display, light violet
// with 65,536 colours or more.
#include "DisplayColours.h"
#include "DisplayWindowTest.h"

using DisplayWindowColour = CDisplayWindowTest;

TEST_F(DisplayWindowColour, PanelBackgroundIsTheDisplayModesColour) {
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    const int nBits = DisplayColourBits();
    RecordProperty("display_bits", nBits);
    const bool bPalette = nBits < 16;
    const COLORREF clrRequested =
        bPalette ? PALETTE_DIALOG_BACKGROUND : HIGH_COLOUR_DIALOG_BACKGROUND;
    const COLORREF clrOther = bPalette ? HIGH_COLOUR_DIALOG_BACKGROUND : PALETTE_DIALOG_BACKGROUND;

    POINT ptSpot;
    ASSERT_TRUE(FindBackgroundSpot(&ptSpot));
    COLORREF clrShown = CLR_INVALID;
    const bool bShown = WaitUntil(
        [&] {
            clrShown = EvenColourAround(*CaptureWindow(), ptSpot);
            return IsShownAs(clrShown, clrRequested);
        },
        PAINT_TIMEOUT_MS);
    EXPECT_TRUE(bShown) << "the panel shows " << DescribeColour(clrShown) << " at " << nBits
                        << " bits per pixel, which is not what the display makes of "
                        << DescribeColour(clrRequested);
    // The other mode's colour must not pass for this one, or the check could not tell them apart.
    EXPECT_FALSE(IsShownAs(clrShown, clrOther));

    // The same colour read from the screen's device context pixel by pixel.
    HDC hScreen = GetDC(nullptr);
    EXPECT_EQ(DescribeColour(GetPixel(hScreen, ptSpot.x, ptSpot.y)), DescribeColour(clrShown));
    ReleaseDC(nullptr, hScreen);
}
