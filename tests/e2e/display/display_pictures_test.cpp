// The three pictures: on a palette display read from the files beside the program, which load
// in order and stop at the first missing one; on a high-colour display taken from the program's
// own resources whatever files there are.
#include "DisplayColours.h"
#include "DisplayWindowTest.h"
#include "PictureFiles.h"
#include "StandInWindow.h"

using DisplayWindowPictures = CDisplayWindowTest;

namespace {

const std::vector<bool> ALL_DRAWN = {true, true, true};

}  // namespace

TEST_F(DisplayWindowPictures, AllThreeAreDrawnAndRedrawnOnEveryPaint) {
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    RecordProperty("display_bits", DisplayColourBits());
    EXPECT_TRUE(WaitForPictures(ALL_DRAWN)) << "after the first paint";

    // An erasing repaint wipes the panel, pictures included: only the panel's paint brings
    // them back.
    ASSERT_TRUE(RepaintPanel(true));
    EXPECT_TRUE(WaitForPictures(ALL_DRAWN)) << "after a repaint";

    CStandInWindow other;
    ASSERT_TRUE(other.TakeForeground());
    ASSERT_TRUE(Ui().BringToFront());
    ASSERT_TRUE(WaitForPainted());
    EXPECT_TRUE(WaitForPictures(ALL_DRAWN)) << "after an activation";
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
    EXPECT_TRUE(WaitForPictures(IsPaletteDisplay() ? std::vector<bool>{false, false, false} : ALL_DRAWN))
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
