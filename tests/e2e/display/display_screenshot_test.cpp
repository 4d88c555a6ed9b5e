// Not a check: saves the finished window as a bitmap file for the README's pictures. Run by
// make-screenshots.sh beside this file, once on a high-colour and once on a palette display.
#include "DisplayWindowTest.h"

using DisplayWindowScreenshot = CDisplayWindowTest;

TEST_F(DisplayWindowScreenshot, DISABLED_SavesTheFinishedWindow) {
    std::string strTarget = EnvironmentValue("BRISLING_SCREENSHOT");
    ASSERT_FALSE(strTarget.empty()) << "name the bitmap file to write in BRISLING_SCREENSHOT";
    if (strTarget[0] == '/') strTarget = FromUnixPath(strTarget);

    // Something on the PC side too: the standard part shows the destination folder.
    ASSERT_TRUE(MakeFolders(m_session.DestinationFolder() + "\\Holiday 2003"));
    ASSERT_TRUE(
        WriteBytes(m_session.DestinationFolder() + "\\P0000007.JPG", PatternBytes(2048, 7)));
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    ASSERT_TRUE(WaitForPictures({true, true, true}));
    ASSERT_TRUE(WaitForPainted());

    const std::unique_ptr<CScreenCapture> pCapture = CaptureWindow();
    ASSERT_TRUE(pCapture->IsValid());
    ASSERT_TRUE(pCapture->SaveBitmapFile(strTarget)) << "cannot write " << strTarget;
}
