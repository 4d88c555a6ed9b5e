// CBitmapButton on a real owner-drawn button of a dialog from a template resource: pictures
// loaded by caption, the button sized to them, and the pixels it paints in each state.
#include <gtest/gtest.h>

#include <windows.h>

#include "framework/BitmapButton.h"
#include "framework/Dialog.h"

namespace {

// Ids of framework_test.rc.
constexpr UINT IDD_BUTTON_DIALOG = 7100;
constexpr UINT IDC_PICTURE_BUTTON = 7101;
constexpr LONG PICTURE_WIDTH = 24;
constexpr LONG PICTURE_HEIGHT = 16;
constexpr COLORREF UP_LEFT = RGB(255, 0, 0);
constexpr COLORREF UP_RIGHT = RGB(0, 0, 255);
constexpr COLORREF DOWN = RGB(0, 255, 0);
constexpr COLORREF DISABLED = RGB(255, 255, 0);
constexpr UINT_PTR TIMER_STEP = 1;

// Two pixels of the button: in the left and in the right half of its picture.
struct Sample {
    COLORREF left = CLR_INVALID;
    COLORREF right = CLR_INVALID;
};

class CButtonProbeDialog : public CDialog {
public:
    CButtonProbeDialog() : CDialog(IDD_BUTTON_DIALOG) {}

    CBitmapButton m_button;
    BOOL m_bAutoLoaded = FALSE;
    POINT m_originBefore = {};
    POINT m_originAfter = {};
    SIZE m_sizeAfter = {};
    Sample m_released, m_pressed, m_releasedAgain, m_disabled, m_swapped;
    BOOL m_bSwapLoaded = FALSE;
    BOOL m_bMissingLoaded = TRUE;

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        m_originBefore = OriginOf(GetDlgItem(IDC_PICTURE_BUTTON));
        m_bAutoLoaded = m_button.AutoLoad(IDC_PICTURE_BUTTON, this);
        HWND hButton = m_button.GetSafeHwnd();
        m_originAfter = OriginOf(hButton);
        RECT rect;
        ::GetWindowRect(hButton, &rect);
        m_sizeAfter = {rect.right - rect.left, rect.bottom - rect.top};
        // Larger than the picture again, so that a stretched picture would show.
        ::SetWindowPos(hButton, nullptr, 0, 0, 2 * PICTURE_WIDTH, 2 * PICTURE_HEIGHT,
                       SWP_NOMOVE | SWP_NOZORDER);
        ::SetTimer(m_hWnd, TIMER_STEP, 20, nullptr);
        return TRUE;
    }

protected:
    LRESULT OnTimer(WPARAM, LPARAM) {
        Measure();
        EndDialog(IDOK);
        return 0;
    }

    DECLARE_MESSAGE_MAP()

private:
    POINT OriginOf(HWND hControl) const {
        RECT rect;
        ::GetWindowRect(hControl, &rect);
        POINT origin = {rect.left, rect.top};
        ::ScreenToClient(m_hWnd, &origin);
        return origin;
    }

    // The button paints itself into a bitmap of ours, exactly as on the screen (WM_DRAWITEM to the
    // dialog, reflected to the button object), but where no other window can cover it.
    Sample Redraw() {
        HWND hButton = m_button.GetSafeHwnd();
        RECT client;
        ::GetClientRect(hButton, &client);
        HDC hScreenDC = ::GetDC(nullptr);
        HDC hDC = ::CreateCompatibleDC(hScreenDC);
        HBITMAP hBitmap = ::CreateCompatibleBitmap(hScreenDC, client.right, client.bottom);
        HGDIOBJ hOld = ::SelectObject(hDC, hBitmap);
        ::SendMessageA(hButton, WM_PRINT, reinterpret_cast<WPARAM>(hDC),
                       PRF_CLIENT | PRF_ERASEBKGND);
        Sample sample;
        sample.left = ::GetPixel(hDC, 2, PICTURE_HEIGHT / 2);
        sample.right = ::GetPixel(hDC, PICTURE_WIDTH - 3, PICTURE_HEIGHT / 2);
        ::SelectObject(hDC, hOld);
        ::DeleteObject(hBitmap);
        ::DeleteDC(hDC);
        ::ReleaseDC(nullptr, hScreenDC);
        return sample;
    }

    void Measure() {
        HWND hButton = m_button.GetSafeHwnd();
        m_released = Redraw();
        ::SendMessageA(hButton, BM_SETSTATE, TRUE, 0);
        m_pressed = Redraw();
        ::SendMessageA(hButton, BM_SETSTATE, FALSE, 0);
        m_releasedAgain = Redraw();
        ::EnableWindow(hButton, FALSE);
        m_disabled = Redraw();
        ::EnableWindow(hButton, TRUE);
        m_bSwapLoaded = m_button.LoadBitmaps("FWBTND", "FWBTNU");
        m_swapped = Redraw();
        m_bMissingLoaded = m_button.LoadBitmaps("FWBTNU", "FWBTNNONE");
    }
};

BEGIN_MESSAGE_MAP(CButtonProbeDialog, CDialog)
    ON_MESSAGE(WM_TIMER, OnTimer)
END_MESSAGE_MAP()

// The colour a screen-compatible bitmap holds for an exact colour (the same on a high-colour
// display).
COLORREF OnScreen(COLORREF colour) {
    HDC hDC = ::GetDC(nullptr);
    const COLORREF nearest = ::GetNearestColor(hDC, colour);
    ::ReleaseDC(nullptr, hDC);
    return nearest;
}

TEST(FrameworkBitmapButton, DrawsThePictureOfEachStateUnscaled) {
    CButtonProbeDialog dialog;

    ASSERT_EQ(dialog.DoModal(), IDOK);

    ASSERT_TRUE(dialog.m_bAutoLoaded);
    EXPECT_EQ(dialog.m_released.left, OnScreen(UP_LEFT));
    EXPECT_EQ(dialog.m_released.right, OnScreen(UP_RIGHT)) << "the picture was stretched";
    EXPECT_EQ(dialog.m_pressed.left, OnScreen(DOWN));
    EXPECT_EQ(dialog.m_pressed.right, OnScreen(DOWN));
    EXPECT_EQ(dialog.m_releasedAgain.left, OnScreen(UP_LEFT));
    EXPECT_EQ(dialog.m_disabled.left, OnScreen(DISABLED));
}

TEST(FrameworkBitmapButton, AutoLoadSizesTheButtonToItsPictureInPlace) {
    CButtonProbeDialog dialog;

    ASSERT_EQ(dialog.DoModal(), IDOK);

    ASSERT_TRUE(dialog.m_bAutoLoaded);
    EXPECT_EQ(dialog.m_sizeAfter.cx, PICTURE_WIDTH);
    EXPECT_EQ(dialog.m_sizeAfter.cy, PICTURE_HEIGHT);
    EXPECT_EQ(dialog.m_originAfter.x, dialog.m_originBefore.x);
    EXPECT_EQ(dialog.m_originAfter.y, dialog.m_originBefore.y);
}

TEST(FrameworkBitmapButton, LoadBitmapsReplacesThePictures) {
    CButtonProbeDialog dialog;

    ASSERT_EQ(dialog.DoModal(), IDOK);

    EXPECT_TRUE(dialog.m_bSwapLoaded);
    EXPECT_EQ(dialog.m_swapped.left, OnScreen(DOWN));
    EXPECT_FALSE(dialog.m_bMissingLoaded) << "a missing picture must be reported";
}

}  // namespace
