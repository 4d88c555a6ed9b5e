// The three pictures: on a palette display read from the files beside the program, which load
// in order and stop at the first missing one; on a high-colour display taken from the program's
// own resources whatever files there are.
#include "DisplayColours.h"
#include "DisplayWindowTest.h"
#include "display/PanelIds.h"

using DisplayWindowPictures = CDisplayWindowTest;

namespace {

const std::vector<bool> ALL_DRAWN = {true, true, true};

}  // namespace

TEST_F(DisplayWindowPictures, AllThreeAreDrawnAndDrawnAgainAfterAnErasingRepaint) {
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    RecordProperty("display_bits", DisplayColourBits());
    EXPECT_TRUE(WaitForPictures(ALL_DRAWN)) << "after the first paint";

    // The panel does not clip its children, so erasing its background paints over the picture
    // controls too: only the panel's own paint brings the pictures back.
    ASSERT_TRUE(RepaintPanel(true));
    EXPECT_TRUE(WaitForPictures(ALL_DRAWN)) << "after a repaint";
}

TEST_F(DisplayWindowPictures, WithoutThePrinterFileNoneIsDrawnOnAPaletteDisplay) {
    ASSERT_NO_FATAL_FAILURE(RemovePictureFile(PRINTER_PICTURE_FILE));
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    if (IsPaletteDisplay()) {
        EXPECT_TRUE(WaitForPictures({false, false, false}));
    } else {
        EXPECT_TRUE(WaitForPictures(ALL_DRAWN)) << "the high-colour pictures need no file";
    }
    ASSERT_TRUE(RepaintPanel(true));
    EXPECT_TRUE(
        WaitForPictures(IsPaletteDisplay() ? std::vector<bool>{false, false, false} : ALL_DRAWN))
        << "after a repaint";
}

TEST_F(DisplayWindowPictures, WithoutTheLogoFilePrinterAndMonitorAreStillDrawn) {
    ASSERT_NO_FATAL_FAILURE(RemovePictureFile(LOGO_PICTURE_FILE));
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    if (IsPaletteDisplay()) {
        EXPECT_TRUE(WaitForPictures({true, true, false}));
    } else {
        EXPECT_TRUE(WaitForPictures(ALL_DRAWN)) << "the high-colour pictures need no file";
    }
}

TEST_F(DisplayWindowPictures, PaletteDrawingLeavesAOnePixelMarginHighColourFillsTheControl) {
    // The logo's own edge is dark all round and it has exactly its control's size, so its
    // control's edge pixels show whether the picture reaches them.
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    ASSERT_TRUE(WaitForPictures(ALL_DRAWN));
    POINT ptSpot;
    ASSERT_TRUE(FindBackgroundSpot(&ptSpot));
    const std::unique_ptr<CScreenCapture> pCapture = CaptureWindow();
    const COLORREF clrBackground = EvenColourAround(*pCapture, ptSpot);
    ASSERT_NE(clrBackground, CLR_INVALID);

    RECT client = {0, 0, 0, 0};
    ASSERT_TRUE(GetClientRect(Ui().Control(PANEL_LOGO_PICTURE), &client));
    const int w = client.right;
    const int h = client.bottom;
    ASSERT_GT(w, 4);
    ASSERT_GT(h, 4);
    const struct {
        const char* pszWhere;
        POINT ptEdge;
        POINT ptInside;
    } aSides[] = {{"left", {0, h / 2}, {1, h / 2}},
                  {"right", {w - 1, h / 2}, {w - 2, h / 2}},
                  {"top", {w / 2, 0}, {w / 2, 1}},
                  {"bottom", {w / 2, h - 1}, {w / 2, h - 2}}};
    const bool bMargin = IsPaletteDisplay();
    for (const auto& side : aSides) {
        SCOPED_TRACE(side.pszWhere);
        const COLORREF clrEdge = ControlPixel(*pCapture, PANEL_LOGO_PICTURE, side.ptEdge);
        const COLORREF clrInside = ControlPixel(*pCapture, PANEL_LOGO_PICTURE, side.ptInside);
        EXPECT_NE(clrInside, clrBackground) << "the picture does not reach one pixel inside";
        if (bMargin) {
            EXPECT_EQ(DescribeColour(clrEdge), DescribeColour(clrBackground))
                << "a palette display keeps a one-pixel margin round the picture";
        } else {
            EXPECT_NE(clrEdge, clrBackground) << "a high-colour display fills the whole control";
        }
    }
}

TEST_F(DisplayWindowPictures, APictureFileInTheStartFolderServesAsWell) {
    // The files are named without a folder: after the program's own folder the search takes the
    // current folder, which is the destination the program was started in.
    const std::string strInStartFolder =
        m_session.DestinationFolder() + "\\" + PRINTER_PICTURE_FILE;
    ASSERT_TRUE(CopyFileA((m_session.InstallFolder() + "\\" + PRINTER_PICTURE_FILE).c_str(),
                          strInStartFolder.c_str(), FALSE));
    ASSERT_TRUE(DeleteFileA((m_session.InstallFolder() + "\\" + PRINTER_PICTURE_FILE).c_str()));
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    EXPECT_TRUE(WaitForPictures(ALL_DRAWN));
}
