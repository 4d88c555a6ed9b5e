// The window's face on the display it finds: every control where the layout puts it for this
// display's measures, the three pictures, the button pictures and the background colour. The
// same story runs once more on an 8-bit palette display (make test, -R DisplayWindow).
#include "ScreenCapture.h"
#include "WindowStory.h"
#include "display/TransferPanelLayout.h"

namespace {

class DisplayWindow : public CWindowStory {
protected:
    ::testing::AssertionResult ShowsPicture(int k, bool bDrawn);
};

// On a palette display Wine maps the pictures' colours onto the reserved colours in a way of its
// own: up to a sixth of the pixels come out unlike the nearest ones. A wrong palette spoils far
// more.
constexpr double MAX_UNLIKE_SHARE = 0.25;

// Where the windows the layout moves are not, described; empty when each is at its place.
std::string Misplaced(HWND hDialog, HWND hPanel, const PanelLayout& layout) {
    std::vector<std::pair<HWND, ControlPlace>> aPanel = {
        {GetDlgItem(hPanel, PANEL_COPY_FROM_LABEL), layout.copyFromLabel},
        {GetDlgItem(hPanel, PANEL_MODEL_LABEL), layout.modelLabel},
        {GetDlgItem(hPanel, PANEL_CARD_PATH), layout.cardPath},
        {GetDlgItem(hPanel, PANEL_PARENT_BUTTON), layout.parentButton},
        {GetDlgItem(hPanel, PANEL_CARD_LIST), layout.cardList},
        {GetDlgItem(hPanel, PANEL_COPY_BUTTON), layout.copyButton},
        {GetDlgItem(hPanel, PANEL_EXIT_STOP_BUTTON), layout.exitStopButton},
        {GetDlgItem(hPanel, PANEL_COPY_TO_LABEL), layout.copyToLabel},
        {GetDlgItem(hPanel, PANEL_SELECT_ALL), layout.selectAll},
        {GetDlgItem(hPanel, PANEL_PRINTER_PICTURE), layout.printerPicture},
        {GetDlgItem(hPanel, PANEL_MONITOR_PICTURE), layout.monitorPicture},
        {GetDlgItem(hPanel, PANEL_STATUS_LINE), layout.statusLine},
        {GetDlgItem(hPanel, PANEL_LOGO_PICTURE), layout.logo},
        {GetDlgItem(hPanel, PANEL_LAMP_FRAME), layout.lampFrame}};
    for (int k = 0; k < PANEL_LAMP_COUNT; ++k) {
        aPanel.push_back({GetDlgItem(hPanel, PANEL_LAMP_LIT_FIRST + k), layout.lamps[k]});
        aPanel.push_back({GetDlgItem(hPanel, PANEL_LAMP_DARK_FIRST + k), layout.lamps[k]});
    }
    const std::vector<std::pair<HWND, ControlPlace>> aDialog = {
        {hPanel, {0, 0, layout.panelWidth, layout.panelHeight}},
        {GetDlgItem(hDialog, STD_FOLDER_COMBO), layout.folderCombo},
        {FindStandardToolbar(hDialog), layout.toolbar},
        {GetDlgItem(hDialog, STD_FILE_LIST), layout.fileList},
        {GetDlgItem(hDialog, STD_FOLDER_VIEW), layout.folderView}};
    std::string strWrong;
    for (const auto& [aPlaces, hClientOf] :
         {std::make_pair(aPanel, hPanel), std::make_pair(aDialog, hDialog)}) {
        for (const auto& [hWnd, expected] : aPlaces) {
            RECT rect = {-1, -1, -1, -1};
            GetWindowRect(hWnd, &rect);
            MapWindowPoints(nullptr, hClientOf, reinterpret_cast<POINT*>(&rect), 2);
            int nHeight = rect.bottom - rect.top;
            // A drop-down combo box keeps its closed height; the rest went to its list.
            RECT dropped = {};
            if (hWnd == GetDlgItem(hDialog, STD_FOLDER_COMBO)) {
                SendMessageA(hWnd, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
                nHeight += dropped.bottom - dropped.top;
            }
            if (rect.left != expected.x || rect.top != expected.y || nHeight != expected.height ||
                rect.right - rect.left != expected.width) {
                strWrong += "\n  control " + std::to_string(GetDlgCtrlID(hWnd)) + " at " +
                            std::to_string(rect.left) + "," + std::to_string(rect.top) + " (" +
                            std::to_string(rect.right - rect.left) + " x " +
                            std::to_string(nHeight) + "), expected " + std::to_string(expected.x) +
                            "," + std::to_string(expected.y) + " (" +
                            std::to_string(expected.width) + " x " +
                            std::to_string(expected.height) + ")";
            }
        }
    }
    RECT outer = {};
    GetWindowRect(hDialog, &outer);
    if (outer.right - outer.left != layout.width || outer.bottom - outer.top != layout.height)
        strWrong += "\n  the window's size";
    return strWrong;
}

RECT ScreenClientRect(HWND hWnd, int nInset) {
    RECT rect = {};
    GetClientRect(hWnd, &rect);
    InflateRect(&rect, -nInset, -nInset);
    MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

COLORREF Background() {
    return IsPaletteDisplay() ? ShownColour(RGB(192, 220, 192)) : RGB(180, 171, 206);
}

}  // namespace

// Picture k shows its picture: on a palette display the one from the file beside the program,
// drawn through its own palette a pixel inside the control; on high colour the program's own,
// over the whole control. Not drawn, it shows the background once the window has painted.
::testing::AssertionResult DisplayWindow::ShowsPicture(int k, bool bDrawn) {
    const bool bPalette = IsPaletteDisplay();
    const HWND hControl = Ui().Control(PICTURE_CONTROL_IDS[k]);
    const RECT area = ScreenClientRect(hControl, bPalette ? 1 : 0);
    const int nWidth = area.right - area.left, nHeight = area.bottom - area.top;
    std::vector<COLORREF> aExpected(size_t(nWidth) * nHeight, Background());
    if (bDrawn) {
        HMODULE hProgram =
            LoadLibraryExA(m_session.ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        const int aResources[PICTURE_COUNT] = {RES_PRINTER_BITMAP, RES_MONITOR_BITMAP,
                                               RES_LOGO_BITMAP};
        const HBITMAP hPicture = static_cast<HBITMAP>(
            bPalette
                ? LoadImageA(nullptr,
                             (m_session.InstallFolder() + "\\" + PICTURE_FILE_NAMES[k]).c_str(),
                             IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)
                : LoadImageA(hProgram, MAKEINTRESOURCEA(aResources[k]), IMAGE_BITMAP, 0, 0,
                             LR_CREATEDIBSECTION));
        FreeLibrary(hProgram);
        if (!hPicture) return ::testing::AssertionFailure() << "picture " << k << " does not load";
        aExpected = StretchedPixels(hPicture, nWidth, nHeight, false);
        DeleteObject(hPicture);
    } else if (!WaitUntil(
                   [&] {
                       return !GetUpdateRect(Ui().Panel(), nullptr, FALSE) &&
                              !GetUpdateRect(hControl, nullptr, FALSE);
                   },
                   WAIT_MS) ||
               !Ui().WaitForWindowThread()) {
        return ::testing::AssertionFailure() << "the window does not finish painting";
    }
    // Drawn, it may still be on its way; not drawn, it never comes.
    double share = 1;
    if (WaitUntil([&] { return (share = ShareUnlike(area, aExpected)) <= MAX_UNLIKE_SHARE; },
                  bDrawn ? WAIT_MS : 0)) {
        return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "control " << PICTURE_CONTROL_IDS[k] << ": " << share << " of its pixels unlike "
           << (bDrawn ? "its picture" : "the background");
}

TEST_F(DisplayWindow, FaceShowsItsPicturesAndColoursWhereTheLayoutPutsThem) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\P0000001.JPG", 4000));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("AUTPRINT.MRK", 300));
    ASSERT_TRUE(MakeFolders(Destination() + "\\Holiday 2003"));  // the PC side, not empty
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitForListing({"AUTPRINT.MRK", "DCIM"}));
    RecordProperty("display_bits", DisplayColourBits());

    // The layout computed from the measures of the running window (its numbers are the unit
    // tests' business).
    const PanelLayout layout =
        ComputePanelLayout(ReadLayoutMeasures(Ui().Panel(), Ui().MainDialog()));
    std::string strMisplaced;
    EXPECT_TRUE(WaitUntil(
        [&] { return (strMisplaced = Misplaced(Ui().MainDialog(), Ui().Panel(), layout)).empty(); },
        WAIT_MS))
        << strMisplaced;

    for (int k = 0; k < PICTURE_COUNT; ++k) EXPECT_TRUE(ShowsPicture(k, true));

    EXPECT_TRUE(WaitUntil(
        [&] { return m_pFaces->Read(Ui().Control(PANEL_COPY_BUTTON)) == ButtonFace::COPY; },
        WAIT_MS));
    EXPECT_EQ(ReadPanel().face, ButtonFace::EXIT);
    // The background beside the card list, in the colour of the display mode.
    const RECT list = ScreenClientRect(Ui().Control(PANEL_CARD_LIST), 0);
    const POINT spot = {list.left - layout.cardList.x / 2, (list.top + list.bottom) / 2};
    EXPECT_EQ(CScreenCapture({spot.x, spot.y, spot.x + 1, spot.y + 1}).Pixel(spot), Background());

    // The README's pictures (scripts/make-screenshots.sh).
    const std::string strShot = EnvironmentValue("BRISLING_SCREENSHOT");
    if (!strShot.empty()) {
        EXPECT_TRUE(CScreenCapture(ScreenClientRect(Ui().MainDialog(), 0))
                        .SaveBitmapFile(FromUnixPath(strShot)));
    }

    // EXIT shows its pressed picture while held down, and ends the program when let go.
    ASSERT_TRUE(Succeeded(Ui().HoldButton(PANEL_EXIT_STOP_BUTTON)));
    EXPECT_TRUE(WaitUntil([&] { return ReadPanel().face == ButtonFace::EXIT_PRESSED; }, WAIT_MS));
    ASSERT_TRUE(Succeeded(Ui().ReleaseButton(PANEL_EXIT_STOP_BUTTON)));
    ASSERT_TRUE(WaitForOwnEnd());
    EXPECT_EQ(Packets(SR_FAREWELL), std::vector<std::string>{SR_FAREWELL});
    EXPECT_EQ(Packets().back(), SR_FAREWELL);
}

// On a palette display the picture files load in order, and a missing one leaves itself and the
// later ones undrawn; without the printer's, none is drawn. High colour reads no file.
struct MissingPictureFile {
    const char* pName;
    int nMissing;                // slot of the file taken away
    bool aDrawn[PICTURE_COUNT];  // what the window then shows
};

class DisplayWindowWithoutAFile : public DisplayWindow,
                                  public ::testing::WithParamInterface<MissingPictureFile> {};

TEST_P(DisplayWindowWithoutAFile, DrawsOnlyThePicturesBeforeIt) {
    const MissingPictureFile& c = GetParam();
    // make test runs these on its palette display only.
    ASSERT_TRUE(IsPaletteDisplay()) << "pictures come from files on a palette display only";
    ASSERT_TRUE(
        DeleteFileA((m_session.InstallFolder() + "\\" + PICTURE_FILE_NAMES[c.nMissing]).c_str()));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
    for (int k = 0; k < PICTURE_COUNT; ++k) EXPECT_TRUE(ShowsPicture(k, c.aDrawn[k]));
}

INSTANTIATE_TEST_SUITE_P(Palette, DisplayWindowWithoutAFile,
                         ::testing::Values(MissingPictureFile{"Printer", 0, {false, false, false}},
                                           MissingPictureFile{"Monitor", 1, {true, false, false}},
                                           MissingPictureFile{"Logo", 2, {true, true, false}}),
                         [](const auto& info) { return std::string(info.param.pName); });
