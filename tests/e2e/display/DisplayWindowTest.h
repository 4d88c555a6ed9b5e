#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ScreenCapture.h"
#include "WindowTest.h"
#include "display/PanelLayout.h"
#include "display/PictureDibs.h"

constexpr DWORD PAINT_TIMEOUT_MS = 10000;
const char* const PRINTER_PICTURE_FILE = PICTURE_FILE_NAMES[0];
const char* const LOGO_PICTURE_FILE = PICTURE_FILE_NAMES[2];

// The names the small card's root shows.
extern const std::vector<std::string> CARD_ROOT_NAMES;

// How much of a picture control's area shows something other than the background.
struct PictureCoverage {
    int nSamples = 0;
    int nUnlikeBackground = 0;
    bool IsDrawn() const { return nSamples > 0 && 2 * nUnlikeBackground >= nSamples; }
    bool IsBlank() const { return nSamples > 0 && nUnlikeBackground == 0; }
};

// The installed program with its three picture files beside it, started on a small card, looked
// at on the screen: where its windows are, what the pixels show. The same tests run on a palette
// display and on a high-colour one and expect what that display must show.
class CDisplayWindowTest : public CWindowTest {
protected:
    // Takes a picture file away from the install folder before the program starts.
    void RemovePictureFile(const std::string& strName);
    // Starts the program on the small card and waits for the root listing and the first paint.
    void StartOnTheCard();

    // The layout of the running window, from the measures read in its windows.
    PanelLayout ExpectedLayout();
    // Waits until every laid-out control is at its place; the failure lists those that are not.
    ::testing::AssertionResult WaitForLayout();
    // Waits until the standard dialog and every window in it have been painted.
    ::testing::AssertionResult WaitForPainted();
    // Invalidates the panel (erasing its background or not) and waits for the repaint.
    ::testing::AssertionResult RepaintPanel(bool bErase);

    // The standard dialog's client area, all of it covered by the panel, as the screen shows it
    // now. Its frame is left out: without a window manager nobody draws it.
    std::unique_ptr<CScreenCapture> CaptureWindow();
    // A spot of the panel, in screen coordinates, where no control lies.
    ::testing::AssertionResult FindBackgroundSpot(POINT* pptScreen);
    // The colour of the 3 x 3 pixels around a spot, or CLR_INVALID when they differ.
    static COLORREF EvenColourAround(const CScreenCapture& capture, POINT ptScreen);
    // The colour at a point of a control's client area.
    COLORREF ControlPixel(const CScreenCapture& capture, int nControlId, POINT ptClient);
    // Samples a grid inside a picture control (clear of the one-pixel margin).
    PictureCoverage Coverage(const CScreenCapture& capture, int nControlId, COLORREF clrBackground);
    // Waits until each picture control is drawn or blank as asked (in the order 1012, 1013, 1015).
    ::testing::AssertionResult WaitForPictures(const std::vector<bool>& aDrawn);
};
