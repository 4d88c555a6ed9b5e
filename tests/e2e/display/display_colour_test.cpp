// The dialog colour chosen by the display mode: light green on a palette display, light violet
// with 65,536 colours or more.
#include "DisplayColours.h"
#include "DisplayWindowTest.h"

using DisplayWindowColour = CDisplayWindowTest;

TEST_F(DisplayWindowColour, PanelBackgroundIsTheDisplayModesColour) {
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    const int nBits = DisplayColourBits();
    RecordProperty("display_bits", nBits);
    const COLORREF clrRequested = nBits < 16 ? PALETTE_DIALOG_BACKGROUND : HIGH_COLOUR_DIALOG_BACKGROUND;
    // A palette display shows the nearest colour it has; a high-colour one the colour itself.
    const COLORREF clrExpected = nBits < 16 ? ShownColour(clrRequested) : clrRequested;
    // The other mode's colour must not look the same here, or the test could not tell them apart.
    const COLORREF clrOther = nBits < 16 ? HIGH_COLOUR_DIALOG_BACKGROUND : PALETTE_DIALOG_BACKGROUND;
    ASSERT_NE(ShownColour(clrOther), clrExpected);

    POINT ptSpot;
    ASSERT_TRUE(FindBackgroundSpot(&ptSpot));
    COLORREF clrShown = CLR_INVALID;
    const bool bShown = WaitUntil(
        [&] {
            clrShown = EvenColourAround(*CaptureWindow(), ptSpot);
            return clrShown == clrExpected;
        },
        PAINT_TIMEOUT_MS);
    EXPECT_TRUE(bShown) << "the panel shows " << DescribeColour(clrShown) << " at " << nBits
                        << " bits per pixel, expected " << DescribeColour(clrExpected)
                        << " for " << DescribeColour(clrRequested);

    // The same colour read pixel by pixel from the screen's device context.
    HDC hScreen = GetDC(nullptr);
    EXPECT_EQ(DescribeColour(GetPixel(hScreen, ptSpot.x, ptSpot.y)), DescribeColour(clrExpected));
    ReleaseDC(nullptr, hScreen);
}
