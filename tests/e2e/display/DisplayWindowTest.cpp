#include "DisplayWindowTest.h"

#include "DisplayColours.h"
#include "LaidOutControls.h"
#include "display/PanelIds.h"
#include "display/TransferPanelLayout.h"

const std::vector<std::string> CARD_ROOT_NAMES = {"AUTPRINT.MRK", "DCIM", "MISC"};

namespace {

constexpr int PICTURE_GRID_COLUMNS = 12;
constexpr int PICTURE_GRID_ROWS = 6;

// The first visible window of the tree that still waits for a paint, or null.
HWND FirstUnpainted(HWND hTop) {
    std::vector<HWND> aWindows = CUiDriver::Descendants(hTop);
    aWindows.insert(aWindows.begin(), hTop);
    HRGN hRegion = CreateRectRgn(0, 0, 0, 0);
    HWND hUnpainted = nullptr;
    for (HWND hWnd : aWindows) {
        if (IsWindowVisible(hWnd) && GetUpdateRgn(hWnd, hRegion, FALSE) > NULLREGION) {
            hUnpainted = hWnd;
            break;
        }
    }
    DeleteObject(hRegion);
    return hUnpainted;
}

std::string Describe(const std::vector<PictureCoverage>& aCoverage,
                     const std::vector<bool>& aDrawn) {
    std::string strText;
    for (size_t k = 0; k < aCoverage.size(); ++k) {
        strText += "\n  control " + std::to_string(PICTURE_CONTROL_IDS[k]) + ": " +
                   std::to_string(aCoverage[k].nUnlikeBackground) + " of " +
                   std::to_string(aCoverage[k].nSamples) + " samples unlike the background (" +
                   (aDrawn[k] ? "should show its picture)" : "should show none)");
    }
    return strText;
}

}  // namespace

void CDisplayWindowTest::RemovePictureFile(const std::string& strName) {
    const std::string strPath = m_session.InstallFolder() + "\\" + strName;
    ASSERT_TRUE(DeleteFileA(strPath.c_str())) << "cannot remove " << strPath;
    // A bare name is searched in the current folder too: the program starts in the destination.
    ASSERT_FALSE(FileExists(m_session.DestinationFolder() + "\\" + strName));
}

void CDisplayWindowTest::StartOnTheCard() {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("AUTPRINT.MRK", 300));
    ASSERT_NO_FATAL_FAILURE(AddCardFile("DCIM\\100PHOTO\\P0000001.JPG", 4000));
    ASSERT_NO_FATAL_FAILURE(AddCardFolder("MISC"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing(CARD_ROOT_NAMES));
    ASSERT_TRUE(WaitForLayout());
    ASSERT_TRUE(WaitForPainted());
}

PanelLayout CDisplayWindowTest::ExpectedLayout() {
    // Measured from this process: a fresh device context of another process's window carries
    // the same system font as one taken inside the program.
    return ComputePanelLayout(ReadLayoutMeasures(Ui().Panel(), Ui().MainDialog()));
}

::testing::AssertionResult CDisplayWindowTest::WaitForLayout() {
    ::testing::AssertionResult placed = ::testing::AssertionFailure();
    WaitUntil(
        [&] {
            placed = AllAtTheirPlaces(
                LaidOutControls(Ui().Panel(), Ui().MainDialog(), ExpectedLayout()));
            return static_cast<bool>(placed);
        },
        PAINT_TIMEOUT_MS);
    return placed;
}

::testing::AssertionResult CDisplayWindowTest::WaitForPainted() {
    // A paint comes only when the thread's queue is empty, and clears the update region at its
    // start; the window thread taking a later message shows that the paint has ended.
    HWND hUnpainted = nullptr;
    const bool bPainted = WaitUntil(
        [&] {
            hUnpainted = FirstUnpainted(Ui().MainDialog());
            return hUnpainted == nullptr;
        },
        PAINT_TIMEOUT_MS);
    if (!bPainted) {
        return ::testing::AssertionFailure()
               << "window " << hUnpainted << " (id " << GetDlgCtrlID(hUnpainted)
               << ") is still waiting for its paint";
    }
    if (!Ui().WaitForWindowThread()) {
        return ::testing::AssertionFailure() << "the window thread does not take messages";
    }
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult CDisplayWindowTest::RepaintPanel(bool bErase) {
    if (!InvalidateRect(Ui().Panel(), nullptr, bErase ? TRUE : FALSE)) {
        return ::testing::AssertionFailure() << "cannot invalidate the panel";
    }
    return WaitForPainted();
}

std::unique_ptr<CScreenCapture> CDisplayWindowTest::CaptureWindow() {
    RECT rect = {0, 0, 0, 0};
    GetClientRect(Ui().MainDialog(), &rect);
    MapWindowPoints(Ui().MainDialog(), nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return std::make_unique<CScreenCapture>(rect);
}

::testing::AssertionResult CDisplayWindowTest::FindBackgroundSpot(POINT* pptScreen) {
    const PanelLayout layout = ExpectedLayout();
    // The left margin beside the card list, and the top of the middle column.
    const POINT aCandidates[] = {
        {layout.cardList.x / 2, layout.cardList.y + layout.cardList.height / 2},
        {layout.panelWidth / 2, layout.cardPath.y + layout.cardPath.height / 2},
    };
    for (POINT pt : aCandidates) {
        ClientToScreen(Ui().Panel(), &pt);
        bool bFree = true;
        for (int dy = -1; dy <= 1 && bFree; ++dy) {
            for (int dx = -1; dx <= 1 && bFree; ++dx) {
                bFree = WindowFromPoint(POINT{pt.x + dx, pt.y + dy}) == Ui().Panel();
            }
        }
        if (bFree) {
            *pptScreen = pt;
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << "every spot looked at is covered by a control";
}

COLORREF CDisplayWindowTest::EvenColourAround(const CScreenCapture& capture, POINT ptScreen) {
    const COLORREF clrCentre = capture.Pixel(ptScreen);
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (capture.Pixel(POINT{ptScreen.x + dx, ptScreen.y + dy}) != clrCentre)
                return CLR_INVALID;
        }
    }
    return clrCentre;
}

COLORREF CDisplayWindowTest::ControlPixel(const CScreenCapture& capture, int nControlId,
                                          POINT ptClient) {
    HWND hControl = Ui().Control(nControlId);
    if (!hControl) return CLR_INVALID;
    ClientToScreen(hControl, &ptClient);
    return capture.Pixel(ptClient);
}

PictureCoverage CDisplayWindowTest::Coverage(const CScreenCapture& capture, int nControlId,
                                             COLORREF clrBackground) {
    PictureCoverage coverage;
    HWND hControl = Ui().Control(nControlId);
    RECT client = {0, 0, 0, 0};
    if (!hControl || !GetClientRect(hControl, &client)) return coverage;
    // Clear of the margin that the palette path leaves on each side.
    InflateRect(&client, -2, -2);
    const int nWidth = client.right - client.left;
    const int nHeight = client.bottom - client.top;
    if (nWidth <= 0 || nHeight <= 0) return coverage;
    for (int row = 0; row < PICTURE_GRID_ROWS; ++row) {
        for (int column = 0; column < PICTURE_GRID_COLUMNS; ++column) {
            POINT pt = {client.left + (2 * column + 1) * nWidth / (2 * PICTURE_GRID_COLUMNS),
                        client.top + (2 * row + 1) * nHeight / (2 * PICTURE_GRID_ROWS)};
            ClientToScreen(hControl, &pt);
            ++coverage.nSamples;
            coverage.nUnlikeBackground += capture.Pixel(pt) != clrBackground;
        }
    }
    return coverage;
}

::testing::AssertionResult CDisplayWindowTest::WaitForPictures(const std::vector<bool>& aDrawn) {
    POINT ptSpot;
    ::testing::AssertionResult found = FindBackgroundSpot(&ptSpot);
    if (!found) return found;
    std::vector<PictureCoverage> aCoverage;
    COLORREF clrBackground = CLR_INVALID;
    const bool bAsAsked = WaitUntil(
        [&] {
            const std::unique_ptr<CScreenCapture> pCapture = CaptureWindow();
            clrBackground = EvenColourAround(*pCapture, ptSpot);
            if (clrBackground == CLR_INVALID) return false;
            aCoverage.clear();
            bool bAll = true;
            for (size_t k = 0; k < aDrawn.size() && k < PICTURE_COUNT; ++k) {
                aCoverage.push_back(Coverage(*pCapture, PICTURE_CONTROL_IDS[k], clrBackground));
                bAll = bAll && (aDrawn[k] ? aCoverage[k].IsDrawn() : aCoverage[k].IsBlank());
            }
            return bAll;
        },
        PAINT_TIMEOUT_MS);
    if (bAsAsked) return ::testing::AssertionSuccess();
    if (clrBackground == CLR_INVALID) {
        return ::testing::AssertionFailure() << "the panel's background is not of one colour";
    }
    return ::testing::AssertionFailure()
           << "against the background " << DescribeColour(clrBackground) << ":"
           << Describe(aCoverage, aDrawn);
}
