// The one-time window layout: the arithmetic from measures to places, and the moves on real
// windows (the platform's own open dialog with template 502 is laid out by the window's
// end-to-end tests).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <map>
#include <ostream>
#include <string>

#include "display/PanelIds.h"
#include "display/PanelLayout.h"
#include "display/TransferPanelLayout.h"

bool operator==(const ControlPlace& a, const ControlPlace& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
std::ostream& operator<<(std::ostream& os, const ControlPlace& p) {
    return os << "(" << p.x << ", " << p.y << ") " << p.width << " x " << p.height;
}

namespace {

LayoutMeasures ExampleMeasures() {
    LayoutMeasures m{};
    m.c = 7;
    m.h = 16;
    m.cyCaption = 18;
    m.cyBorder = 1;
    m.parentW = 26;
    m.parentH = 24;
    m.frameW = 170;
    m.frameH = 30;
    m.lampW = 9;
    m.lampH = 9;
    return m;
}

int Right(const ControlPlace& p) { return p.x + p.width; }
int Bottom(const ControlPlace& p) { return p.y + p.height; }

TEST(DisplayPanelLayoutTest, ReferenceMeasuresGiveTheReferenceWindow) {
    const PanelLayout l = ComputePanelLayout(ExampleMeasures());
    EXPECT_EQ(l.width, 629);
    EXPECT_EQ(l.height, 460);
    EXPECT_EQ(l.panelWidth, 629);
    EXPECT_EQ(l.panelHeight, 442);
    EXPECT_EQ(l.cardList, (ControlPlace{14, 56, 231, 192}));
    EXPECT_EQ(l.folderView, (ControlPlace{384, 56, 231, 192}));
    EXPECT_EQ(l.fileList, l.folderView);
    EXPECT_EQ(l.copyButton, (ControlPlace{291, 129, 47, 47}));
    EXPECT_EQ(l.exitStopButton, (ControlPlace{267, 201, 95, 47}));
    EXPECT_EQ(l.selectAll, (ControlPlace{14, 256, 231, 16}));
    EXPECT_EQ(l.printerPicture, (ControlPlace{65, 293, 128, 128}));
    EXPECT_EQ(l.monitorPicture, (ControlPlace{419, 277, 160, 160}));
    EXPECT_EQ(l.statusLine, (ControlPlace{193, 280, 226, 16}));
    EXPECT_EQ(l.logo, (ControlPlace{242, 389, 144, 23}));
}

TEST(DisplayPanelLayoutTest, RowsSpanTheColumnsExactly) {
    for (int c : {6, 7, 8, 9}) {
        for (int h : {13, 15, 16, 19}) {
            LayoutMeasures m = ExampleMeasures();
            m.c = c;
            m.h = h;
            const PanelLayout l = ComputePanelLayout(m);
            SCOPED_TRACE(testing::Message() << "c " << c << " h " << h);
            // left column: path and PARENT, the two labels, from 2c to 35c
            EXPECT_EQ(l.cardPath.x, 2 * c);
            EXPECT_EQ(Right(l.cardPath), l.parentButton.x);
            EXPECT_EQ(Right(l.parentButton), 35 * c);
            EXPECT_EQ(l.copyFromLabel.x, 2 * c);
            EXPECT_EQ(Right(l.modelLabel), 35 * c);
            EXPECT_EQ(Right(l.cardList), 35 * c);
            // right column mirrors the left one
            EXPECT_EQ(l.copyToLabel.width, l.cardList.width);
            EXPECT_EQ(l.width - Right(l.folderView), l.cardList.x);
            EXPECT_EQ(Right(l.folderCombo), l.toolbar.x);
            EXPECT_EQ(l.folderCombo.height, m.parentH + 70);
            EXPECT_EQ(l.toolbar, (ControlPlace{l.width - 2 * c - 34, h / 2 + h, 32, 24}));
            // the status line joins the two pictures
            EXPECT_EQ(l.statusLine.x, Right(l.printerPicture));
            EXPECT_EQ(Right(l.statusLine), l.monitorPicture.x);
            // the logo is placed from the outer height, not the panel's
            EXPECT_EQ(l.logo.y, l.height - 3 * h - 23);
        }
    }
}

TEST(DisplayPanelLayoutTest, ExitStopBottomMeetsListBottomOnlyForEvenLineHeight) {
    LayoutMeasures m = ExampleMeasures();
    PanelLayout even = ComputePanelLayout(m);
    EXPECT_EQ(Bottom(even.cardList), Bottom(even.exitStopButton));
    EXPECT_EQ(Bottom(even.folderView), Bottom(even.exitStopButton));

    m.h = 15;
    PanelLayout odd = ComputePanelLayout(m);
    EXPECT_EQ(Bottom(odd.exitStopButton), m.parentH + 14 * 15);
    EXPECT_EQ(Bottom(odd.cardList), Bottom(odd.exitStopButton) - 1);
    EXPECT_EQ(Bottom(odd.folderView), Bottom(odd.exitStopButton) - 1);
}

TEST(DisplayPanelLayoutTest, LampsAreSpacedByTheTruncatedNinthOfTheFrame) {
    LayoutMeasures m = ExampleMeasures();
    m.frameW = 170;
    m.frameH = 31;
    m.lampW = 9;
    m.lampH = 10;
    const PanelLayout l = ComputePanelLayout(m);
    const int x0 = l.width / 2 - 170 / 2;
    EXPECT_EQ(l.lampFrame.x, x0);
    EXPECT_EQ(l.lampFrame.width, 170);
    for (int k = 0; k < LAYOUT_LAMP_COUNT; ++k) {
        EXPECT_EQ(l.lamps[k].x, x0 + 18 * k) << k;
        EXPECT_EQ(l.lamps[k].y, l.lampFrame.y + (31 - 10) / 2) << k;
        EXPECT_EQ(l.lamps[k].width, 9);
        EXPECT_EQ(l.lamps[k].height, 10);
    }
    EXPECT_EQ(l.lamps[8].x, x0 + 144);
    // The frame and the pictures share the picture band's centre line.
    EXPECT_EQ(l.lampFrame.y + 31 / 2, l.printerPicture.y + l.printerPicture.height / 2);
}

// ---- real windows ---------------------------------------------------------------------------

ControlPlace PlaceOf(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE OuterSize(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

HFONT g_standardFont = nullptr;

LRESULT CALLBACK StandardDialogStandIn(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(g_standardFont);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// A standard dialog without control 1120: its own font supplies the metrics and goes to the panel.
TEST(DisplayTransferPanelLayoutTest, WithoutFileListTheDialogFontIsMeasured) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = StandardDialogStandIn;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DisplayLayoutStandIn";
    RegisterClassA(&wc);
    g_standardFont =
        CreateFontA(-19, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    HWND standard = CreateWindowExA(0, wc.lpszClassName, "", WS_POPUP, 40, 40, 300, 200, nullptr,
                                    nullptr, wc.hInstance, nullptr);
    ASSERT_NE(standard, nullptr);
    HWND panel = CreateWindowExA(0, wc.lpszClassName, "", WS_CHILD, 0, 0, 280, 180, standard,
                                 nullptr, wc.hInstance, nullptr);
    auto child = [&](const char* cls, int id, int w, int h) {
        return CreateWindowExA(0, cls, "", WS_CHILD, 3, 3, w, h, panel,
                               reinterpret_cast<HMENU>(INT_PTR(id)), wc.hInstance, nullptr);
    };
    child("Button", PANEL_PARENT_BUTTON, 26, 24);
    child("Static", PANEL_LAMP_FRAME, 170, 30);
    child("Static", PANEL_LAMP_LIT_FIRST, 9, 9);
    HWND label = child("Static", PANEL_STATUS_LINE, 100, 16);

    EXPECT_EQ(LayoutTransferPanel(panel, standard), 1);

    HDC screen = GetDC(nullptr);
    HGDIOBJ old = SelectObject(screen, g_standardFont);
    TEXTMETRICA metrics;
    GetTextMetricsA(screen, &metrics);
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    const LayoutMeasures m = ReadLayoutMeasures(panel, standard);
    EXPECT_EQ(m.c, metrics.tmAveCharWidth);
    EXPECT_EQ(m.h, metrics.tmHeight);
    EXPECT_EQ(SendMessageA(label, WM_GETFONT, 0, 0), reinterpret_cast<LRESULT>(g_standardFont));
    const PanelLayout l = ComputePanelLayout(m);
    EXPECT_EQ(OuterSize(standard).cx, l.width);
    EXPECT_EQ(PlaceOf(label), l.statusLine);

    DestroyWindow(standard);
    DeleteObject(g_standardFont);
    g_standardFont = nullptr;
}

}  // namespace
