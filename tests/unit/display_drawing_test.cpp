// Pictures and button pictures drawn into real controls of a real window, checked pixel by pixel.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "Waiting.h"
#include "display/BitmapButtonSet.h"
#include "display/BitmapStretch.h"
#include "display/Dib.h"
#include "display/PanelIds.h"
#include "display/PictureDraw.h"
#include "display/PicturePaint.h"

namespace {

constexpr COLORREF MAGENTA = RGB(255, 0, 255);
constexpr COLORREF BLUE = RGB(0, 0, 255);
constexpr COLORREF GREEN = RGB(0, 128, 0);
constexpr COLORREF RED = RGB(255, 0, 0);
constexpr COLORREF NAVY = RGB(0, 0, 128);
constexpr COLORREF PANEL_BACKGROUND = RGB(192, 220, 192);
constexpr COLORREF HIGH_COLOR_BACKGROUND = RGB(180, 171, 206);
constexpr int REF_RELEASED = 9001;  // reference controls showing a picture drawn directly
constexpr int REF_PRESSED = 9002;
constexpr int OTHER_STATIC = 9003;
constexpr WORD LAMP_LIT = 517;  // two of the program's own bitmaps stand in for button pictures
constexpr WORD LAMP_DARK = 518;
constexpr DWORD PAINT_TIMEOUT_MS = 5000;

// One solid-colour picture in the reader's memory layout (header, table, bits).
PackedDib* MakeSolidDib(WORD bits, int w, int h, COLORREF color, DWORD tableEntries) {
    const DWORD rowBytes = (DWORD(w) * bits + 31) / 32 * 4;
    const DWORD size = rowBytes * DWORD(h);
    auto* block = static_cast<BYTE*>(std::calloc(1, 40 + 4 * tableEntries + size));
    auto* header = reinterpret_cast<BITMAPINFOHEADER*>(block);
    header->biSize = 40;
    header->biWidth = w;
    header->biHeight = h;
    header->biPlanes = 1;
    header->biBitCount = bits;
    header->biCompression = BI_RGB;
    header->biSizeImage = size;
    header->biClrUsed = tableEntries;
    auto* table = reinterpret_cast<RGBQUAD*>(block + 40);
    BYTE* pixels = block + 40 + 4 * tableEntries;
    if (bits == 8) {
        table[1] = {GetBValue(color), GetGValue(color), GetRValue(color), 0};
        for (int y = 0; y < h; ++y) std::memset(pixels + y * rowBytes, 1, size_t(w));
    } else {
        for (DWORD i = 0; i < tableEntries; ++i)
            table[i] = {0, 0, 255, 0};  // red: must not be used
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                BYTE* p = pixels + y * rowBytes + 3 * x;
                p[0] = GetBValue(color);
                p[1] = GetGValue(color);
                p[2] = GetRValue(color);
            }
        }
    }
    return reinterpret_cast<PackedDib*>(block);
}

struct PanelState {
    PackedDib* slots[PICTURE_COUNT] = {};
    int displayMode = 1;
    bool paintPictures = false;
};
PanelState g_panel;

// The panel's window procedure as the main window routes it: button set first, then painting.
LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (BitmapButtonSet* set = GetBitmapButtonSet(hwnd)) {
        if (BitmapButtonSetProc(hwnd, msg, wParam, lParam, set)) return TRUE;
    }
    if (msg == WM_PAINT && g_panel.paintPictures) {
        PaintPictures(hwnd, g_panel.slots, g_panel.displayMode);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

COLORREF PixelOf(HWND control, int x, int y) {
    HDC dc = GetDC(control);
    COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(control, dc);
    return c;
}

void Fill(HWND control, COLORREF color) {
    HDC dc = GetDC(control);
    RECT r;
    GetClientRect(control, &r);
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    ReleaseDC(control, dc);
}

// Within reach of a colour: on a palette display pictures come out in the nearest colours the
// display has, which the GDI's own matching does not always pick the same way.
bool Near(COLORREF actual, COLORREF wanted, int reach = 48) {
    return std::abs(GetRValue(actual) - GetRValue(wanted)) <= reach &&
           std::abs(GetGValue(actual) - GetGValue(wanted)) <= reach &&
           std::abs(GetBValue(actual) - GetBValue(wanted)) <= reach;
}

std::string Hex(COLORREF c) {
    char s[16];
    std::snprintf(s, sizeof s, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
    return s;
}

class DisplayDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_panel = PanelState{};
        WNDCLASSA wc{};
        wc.lpfnWndProc = PanelProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DisplayDrawingPanel";
        static HBRUSH background = CreateSolidBrush(PANEL_BACKGROUND);
        wc.hbrBackground = background;
        RegisterClassA(&wc);
        m_panel =
            CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "DisplayDrawingPanel", "", WS_POPUP,
                            300, 200, 400, 300, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(m_panel, nullptr);
        Child("Static", PANEL_PRINTER_PICTURE, SS_SIMPLE, 10, 10, 85, 60);
        Child("Static", PANEL_MONITOR_PICTURE, SS_SIMPLE, 120, 10, 100, 100);
        Child("Static", PANEL_LOGO_PICTURE, SS_SIMPLE, 10, 150, 144, 23);
        Child("Static", OTHER_STATIC, SS_SIMPLE, 250, 150, 60, 20);
        Child("Button", PANEL_EXIT_STOP_BUTTON, BS_OWNERDRAW, 250, 200, 95, 47);
        Child("Static", REF_RELEASED, SS_SIMPLE, 10, 200, 95, 47);
        Child("Static", REF_PRESSED, SS_SIMPLE, 120, 200, 95, 47);
        ShowWindow(m_panel, SW_SHOWNOACTIVATE);
        UpdateWindow(m_panel);
        PumpMessages();
    }
    void TearDown() override {
        if (m_panel != nullptr) DestroyWindow(m_panel);
        PumpMessages();
        for (PackedDib*& slot : g_panel.slots) {
            FreeDib(slot);
            slot = nullptr;
        }
        g_panel = PanelState{};
    }
    HWND Child(const char* cls, int id, DWORD style, int x, int y, int w, int h) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, x, y, w, h, m_panel,
                               reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }
    HWND Item(int id) const { return GetDlgItem(m_panel, id); }
    RECT PanelRectOf(int id) const {
        RECT r;
        GetWindowRect(Item(id), &r);
        MapWindowPoints(HWND_DESKTOP, m_panel, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    // Draws each picture straight into its reference control, for comparison with the button.
    void DrawReferences() {
        HBITMAP lit = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(LAMP_LIT));
        HBITMAP dark = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(LAMP_DARK));
        ASSERT_NE(lit, nullptr);
        ASSERT_NE(dark, nullptr);
        StretchBitmapToControl(m_panel, REF_RELEASED, lit);
        StretchBitmapToControl(m_panel, REF_PRESSED, dark);
        DeleteObject(lit);
        DeleteObject(dark);
        for (const POINT& p : SAMPLES) {
            m_released.push_back(PixelOf(Item(REF_RELEASED), p.x, p.y));
            m_pressed.push_back(PixelOf(Item(REF_PRESSED), p.x, p.y));
        }
        ASSERT_NE(m_released, m_pressed) << "the two pictures must look different";
    }
    std::vector<COLORREF> ButtonPixels() const {
        std::vector<COLORREF> out;
        for (const POINT& p : SAMPLES)
            out.push_back(PixelOf(Item(PANEL_EXIT_STOP_BUTTON), p.x, p.y));
        return out;
    }
    bool ButtonShows(const std::vector<COLORREF>& expected) const {
        return ButtonPixels() == expected;
    }

    static constexpr POINT SAMPLES[] = {{47, 23}, {20, 12}, {70, 35}, {0, 0}, {94, 46}};
    HWND m_panel = nullptr;
    std::vector<COLORREF> m_released;
    std::vector<COLORREF> m_pressed;
};

// ---- palette path ---------------------------------------------------------------------------

void ExpectOnePixelMargin(HWND control, COLORREF margin, COLORREF inside) {
    RECT r;
    GetClientRect(control, &r);
    const int w = r.right, h = r.bottom;
    const POINT edge[] = {{0, 0},     {w - 1, 0},     {0, h - 1}, {w - 1, h - 1},
                          {w / 2, 0}, {w / 2, h - 1}, {0, h / 2}, {w - 1, h / 2}};
    const POINT in[] = {{1, 1}, {w - 2, 1}, {1, h - 2}, {w - 2, h - 2}, {w / 2, h / 2}};
    for (const POINT& p : edge)
        EXPECT_EQ(Hex(PixelOf(control, p.x, p.y)), Hex(margin)) << p.x << "," << p.y;
    for (const POINT& p : in)
        EXPECT_EQ(Hex(PixelOf(control, p.x, p.y)), Hex(inside)) << p.x << "," << p.y;
}

TEST_F(DisplayDrawingTest, EightBitPictureFillsTheControlLessOnePixelThroughItsPalette) {
    PackedDib* dib = MakeSolidDib(8, 4, 3, BLUE, 256);
    HWND control = Item(PANEL_PRINTER_PICTURE);  // 85 x 60: the picture becomes 83 x 58 at (1, 1)
    Fill(control, MAGENTA);
    EXPECT_EQ(DrawDibInControl(m_panel, PANEL_PRINTER_PICTURE, dib), 1);
    ExpectOnePixelMargin(control, MAGENTA, BLUE);
    FreeDib(dib);
}

TEST_F(DisplayDrawingTest, TwentyFourBitPicturesUseTheirOwnColoursEvenWithATable) {
    PackedDib* plain = MakeSolidDib(24, 3, 3, GREEN, 0);
    Fill(Item(PANEL_MONITOR_PICTURE), MAGENTA);
    EXPECT_EQ(DrawDibInControl(m_panel, PANEL_MONITOR_PICTURE, plain), 1);
    ExpectOnePixelMargin(Item(PANEL_MONITOR_PICTURE), MAGENTA, GREEN);

    PackedDib* tabled = MakeSolidDib(24, 3, 3, NAVY, 2);  // table entries are red
    Fill(Item(PANEL_LOGO_PICTURE), MAGENTA);
    EXPECT_EQ(DrawDibInControl(m_panel, PANEL_LOGO_PICTURE, tabled), 1);
    ExpectOnePixelMargin(Item(PANEL_LOGO_PICTURE), MAGENTA, NAVY);
    FreeDib(plain);
    FreeDib(tabled);
}

TEST_F(DisplayDrawingTest, MissingControlIsReportedAndNothingDrawn) {
    PackedDib* dib = MakeSolidDib(8, 4, 3, BLUE, 256);
    EXPECT_EQ(DrawDibInControl(m_panel, 4242, dib), 0);
    EXPECT_EQ(DrawPictureBitmap(m_panel, 4242), 0);
    FreeDib(dib);
}

// ---- high-colour path -----------------------------------------------------------------------

TEST_F(DisplayDrawingTest, ResourcePicturesCoverTheWholeControl) {
    // Resources 142 to 144 are 24-bit pictures of the sizes the template expects.
    const struct {
        int resource;
        LONG w, h;
    } sizes[] = {
        {RES_MONITOR_BITMAP, 194, 175}, {RES_LOGO_BITMAP, 144, 23}, {RES_PRINTER_BITMAP, 150, 136}};
    for (const auto& s : sizes) {
        HBITMAP b = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(s.resource));
        ASSERT_NE(b, nullptr) << s.resource;
        BITMAP info;
        GetObject(b, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, s.w) << s.resource;
        EXPECT_EQ(info.bmHeight, s.h) << s.resource;
        DeleteObject(b);
    }

    // Each picture's corners show the high-colour panel background it was drawn on.
    for (int id : PICTURE_CONTROL_IDS) {
        HWND control = Item(id);
        Fill(control, MAGENTA);
        EXPECT_EQ(DrawPictureBitmap(m_panel, id), 1);
        RECT r;
        GetClientRect(control, &r);
        for (POINT p : {POINT{0, 0}, POINT{r.right - 1, 0}, POINT{0, r.bottom - 1},
                        POINT{r.right - 1, r.bottom - 1}})
            EXPECT_TRUE(Near(PixelOf(control, p.x, p.y), HIGH_COLOR_BACKGROUND))
                << id << " at " << p.x << "," << p.y << ": " << Hex(PixelOf(control, p.x, p.y));
        EXPECT_NE(PixelOf(control, r.right / 2, r.bottom / 2), MAGENTA) << id;
    }

    Fill(Item(OTHER_STATIC), MAGENTA);  // a control without a picture resource
    EXPECT_EQ(DrawPictureBitmap(m_panel, OTHER_STATIC), 1);
    EXPECT_EQ(PixelOf(Item(OTHER_STATIC), 30, 10), MAGENTA);
}

// ---- painting -------------------------------------------------------------------------------

TEST(DisplayRectsOverlapTest, SharedAreaOverlapsTouchingEdgesDoNot) {
    const RECT control = {10, 20, 50, 60};
    EXPECT_EQ(RectsOverlap({0, 0, 100, 100}, control), 1);
    EXPECT_EQ(RectsOverlap({20, 30, 30, 40}, control), 1);  // inside
    EXPECT_EQ(RectsOverlap({49, 59, 51, 61}, control), 1);  // one pixel of the corner
    EXPECT_EQ(RectsOverlap({50, 0, 90, 100}, control), 0);  // left edge on the right edge
    EXPECT_EQ(RectsOverlap({0, 0, 10, 100}, control), 0);   // right edge on the left edge
    EXPECT_EQ(RectsOverlap({0, 60, 100, 90}, control), 0);  // top on the bottom
    EXPECT_EQ(RectsOverlap({0, 0, 100, 20}, control), 0);   // bottom on the top
}

TEST_F(DisplayDrawingTest, DirtyPicturesAreThoseUnderTheUpdateArea) {
    for (int k = 0; k < PICTURE_COUNT; ++k) g_panel.slots[k] = MakeSolidDib(8, 2, 2, BLUE, 256);
    int ids[PICTURE_COUNT] = {};
    const PackedDib* images[PICTURE_COUNT] = {};
    const RECT all = {0, 0, 400, 300};

    ASSERT_EQ(CollectDirtyPictures(m_panel, all, ids, g_panel.slots, images, 1), 3);
    for (int k = 0; k < PICTURE_COUNT; ++k) {
        EXPECT_EQ(ids[k], PICTURE_CONTROL_IDS[k]);
        EXPECT_EQ(images[k], g_panel.slots[k]);
    }
    ASSERT_EQ(CollectDirtyPictures(m_panel, all, ids, g_panel.slots, images, 0), 3);
    for (const PackedDib* image : images) EXPECT_EQ(image, nullptr);  // high colour: ids only

    ASSERT_EQ(CollectDirtyPictures(m_panel, PanelRectOf(PANEL_MONITOR_PICTURE), ids, g_panel.slots,
                                   images, 1),
              1);
    EXPECT_EQ(ids[0], PANEL_MONITOR_PICTURE);
    EXPECT_EQ(images[0], g_panel.slots[1]);

    RECT right = PanelRectOf(PANEL_PRINTER_PICTURE);  // starts where the printer ends
    right.left = right.right;
    right.right = right.left + 5;
    EXPECT_EQ(CollectDirtyPictures(m_panel, right, ids, g_panel.slots, images, 1), 0);

    // Without the first image none is handed out; a missing control is left out.
    FreeDib(g_panel.slots[0]);
    g_panel.slots[0] = nullptr;
    DestroyWindow(Item(PANEL_MONITOR_PICTURE));
    ASSERT_EQ(CollectDirtyPictures(m_panel, all, ids, g_panel.slots, images, 1), 2);
    EXPECT_EQ(ids[0], PANEL_PRINTER_PICTURE);
    EXPECT_EQ(ids[1], PANEL_LOGO_PICTURE);
    EXPECT_EQ(images[0], nullptr);
    EXPECT_EQ(images[1], nullptr);
}

TEST_F(DisplayDrawingTest, PaintRedrawsOnlyThePicturesInTheUpdateArea) {
    g_panel.slots[0] = MakeSolidDib(8, 2, 2, BLUE, 256);
    g_panel.slots[1] = MakeSolidDib(8, 2, 2, GREEN, 256);
    g_panel.slots[2] = MakeSolidDib(24, 2, 2, RED, 0);
    g_panel.paintPictures = true;
    g_panel.displayMode = 1;
    auto centre = [&](int id) {
        RECT r;
        GetClientRect(Item(id), &r);
        return PixelOf(Item(id), r.right / 2, r.bottom / 2);
    };

    InvalidateRect(m_panel, nullptr, TRUE);
    ASSERT_TRUE(WaitUntil([&] { return centre(PANEL_PRINTER_PICTURE) == BLUE; }, PAINT_TIMEOUT_MS));
    EXPECT_EQ(centre(PANEL_MONITOR_PICTURE), GREEN);
    EXPECT_EQ(centre(PANEL_LOGO_PICTURE), RED);

    for (int id : PICTURE_CONTROL_IDS) Fill(Item(id), MAGENTA);
    const RECT monitor = PanelRectOf(PANEL_MONITOR_PICTURE);
    InvalidateRect(m_panel, &monitor, FALSE);
    ASSERT_TRUE(
        WaitUntil([&] { return centre(PANEL_MONITOR_PICTURE) == GREEN; }, PAINT_TIMEOUT_MS));
    EXPECT_EQ(centre(PANEL_PRINTER_PICTURE), MAGENTA);
    EXPECT_EQ(centre(PANEL_LOGO_PICTURE), MAGENTA);
}

TEST_F(DisplayDrawingTest, PalettePaintWithoutTheFirstImageDrawsNothing) {
    g_panel.slots[1] = MakeSolidDib(8, 2, 2, GREEN, 256);
    g_panel.slots[2] = MakeSolidDib(8, 2, 2, BLUE, 256);
    g_panel.paintPictures = true;
    for (int id : PICTURE_CONTROL_IDS) Fill(Item(id), MAGENTA);
    InvalidateRect(m_panel, nullptr, FALSE);
    UpdateWindow(m_panel);
    PumpMessages();
    EXPECT_FALSE(GetUpdateRect(m_panel, nullptr, FALSE));  // the paint has run
    for (int id : PICTURE_CONTROL_IDS) EXPECT_EQ(PixelOf(Item(id), 20, 10), MAGENTA) << id;
}

TEST_F(DisplayDrawingTest, HighColourPaintDrawsTheResourcePictures) {
    g_panel.paintPictures = true;
    g_panel.displayMode = 0;
    for (int id : PICTURE_CONTROL_IDS) Fill(Item(id), MAGENTA);
    InvalidateRect(m_panel, nullptr, FALSE);
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (int id : PICTURE_CONTROL_IDS)
                if (!Near(PixelOf(Item(id), 0, 0), HIGH_COLOR_BACKGROUND)) return false;
            return true;
        },
        PAINT_TIMEOUT_MS));
}

// ---- bitmap buttons -------------------------------------------------------------------------

struct SetDeleter {
    void operator()(BitmapButtonSet* s) const { DestroyBitmapButtonSet(s); }
};
using SetPtr = std::unique_ptr<BitmapButtonSet, SetDeleter>;

SetPtr MakeSet(WORD released, WORD pressed, HMODULE module = GetModuleHandleA(nullptr)) {
    const WORD ids[] = {PANEL_EXIT_STOP_BUTTON};
    const BitmapPicturePair pictures[] = {{released, pressed}};
    return SetPtr(CreateBitmapButtonSet(ids, pictures, 1, module));
}

DRAWITEMSTRUCT DrawRequest(HWND button, UINT action, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = UINT(GetDlgCtrlID(button));
    item.itemAction = action;
    item.itemState = state;
    item.hwndItem = button;
    item.hDC = nullptr;  // the control's own device context is used instead
    GetClientRect(button, &item.rcItem);
    return item;
}

TEST(DisplayBitmapButtonSetTest, LoadsEachPairAndKeepsMissingPicturesNull) {
    const WORD ids[] = {1008, 1002};
    const BitmapPicturePair pictures[] = {{LAMP_LIT, LAMP_DARK}, {LAMP_DARK, 9991}};
    SetPtr set(CreateBitmapButtonSet(ids, pictures, 2, GetModuleHandleA(nullptr)));
    ASSERT_TRUE(set);
    ASSERT_EQ(set->count, 2);
    EXPECT_EQ(set->entries[0].controlId, 1008);
    EXPECT_NE(set->entries[0].hReleased, nullptr);
    EXPECT_NE(set->entries[0].hPressed, nullptr);
    EXPECT_EQ(set->entries[1].controlId, 1002);
    EXPECT_NE(set->entries[1].hReleased, nullptr);
    EXPECT_EQ(set->entries[1].hPressed, nullptr);
    EXPECT_NE(GlobalFlags(GlobalHandle(set.get())) & GMEM_LOCKCOUNT, 0u);  // locked for its life

    SetPtr noModule = MakeSet(LAMP_LIT, LAMP_DARK, nullptr);  // the language module failed to load
    ASSERT_TRUE(noModule);
    EXPECT_EQ(noModule->entries[0].hReleased, nullptr);
    EXPECT_EQ(noModule->entries[0].hPressed, nullptr);
}

TEST_F(DisplayDrawingTest, DrawRequestShowsThePictureForTheButtonState) {
    DrawReferences();
    SetPtr set = MakeSet(LAMP_LIT, LAMP_DARK);
    HWND button = Item(PANEL_EXIT_STOP_BUTTON);
    struct Case {
        UINT action, state;
        bool pressed;
    } cases[] = {
        {ODA_DRAWENTIRE, 0, false},
        {ODA_DRAWENTIRE, ODS_SELECTED, true},
        {ODA_SELECT, ODS_SELECTED | ODS_FOCUS, true},
        {ODA_SELECT, 0, false},
        {ODA_FOCUS, ODS_SELECTED, true},        // focus lost: picture by the pressed state
        {ODA_DRAWENTIRE, ODS_DISABLED, false},  // no disabled look
    };
    for (const Case& c : cases) {
        Fill(button, MAGENTA);
        DRAWITEMSTRUCT item = DrawRequest(button, c.action, c.state);
        EXPECT_EQ(DrawBitmapButton(m_panel, set.get(), PANEL_EXIT_STOP_BUTTON, &item), 1);
        EXPECT_EQ(ButtonPixels(), c.pressed ? m_pressed : m_released) << c.action << " " << c.state;
    }
    // Focus arriving, or an action it does not know, is handled without drawing.
    for (UINT action : {UINT(ODA_FOCUS), 8u}) {
        Fill(button, MAGENTA);
        DRAWITEMSTRUCT item = DrawRequest(button, action, ODS_FOCUS);
        EXPECT_EQ(DrawBitmapButton(m_panel, set.get(), PANEL_EXIT_STOP_BUTTON, &item), 1);
        EXPECT_EQ(PixelOf(button, 47, 23), MAGENTA) << action;
    }
}

TEST_F(DisplayDrawingTest, RequestsTheSetCannotServeAreNotConsumed) {
    SetPtr set = MakeSet(LAMP_LIT, LAMP_DARK);
    HWND button = Item(PANEL_EXIT_STOP_BUTTON);
    DRAWITEMSTRUCT item = DrawRequest(button, ODA_DRAWENTIRE, 0);
    item.CtlID = PANEL_COPY_BUTTON;
    EXPECT_EQ(BitmapButtonSetProc(m_panel, WM_DRAWITEM, PANEL_COPY_BUTTON,
                                  reinterpret_cast<LPARAM>(&item), set.get()),
              0);
    EXPECT_EQ(BitmapButtonSetProc(m_panel, WM_COMMAND, PANEL_EXIT_STOP_BUTTON, 0, set.get()), 0);

    SetPtr missing = MakeSet(9990, 9991);  // neither picture in the module
    item = DrawRequest(button, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(BitmapButtonSetProc(m_panel, WM_DRAWITEM, PANEL_EXIT_STOP_BUTTON,
                                  reinterpret_cast<LPARAM>(&item), missing.get()),
              0);

    SetPtr half = MakeSet(9990, LAMP_DARK);  // a null picture leaves the button's area as it was
    Fill(button, MAGENTA);
    EXPECT_EQ(DrawBitmapButton(m_panel, half.get(), PANEL_EXIT_STOP_BUTTON, &item), 1);
    EXPECT_EQ(PixelOf(button, 47, 23), MAGENTA);
}

TEST_F(DisplayDrawingTest, OwnerDrawnButtonShowsPressedPictureWhileHeldDown) {
    DrawReferences();
    StoreBitmapButtonSet(m_panel, MakeSet(LAMP_LIT, LAMP_DARK).release());
    HWND button = Item(PANEL_EXIT_STOP_BUTTON);
    InvalidateRect(button, nullptr, FALSE);
    ASSERT_TRUE(WaitUntil([&] { return ButtonShows(m_released); }, PAINT_TIMEOUT_MS))
        << Hex(ButtonPixels()[0]);

    SendMessageA(button, BM_SETSTATE, TRUE, 0);
    EXPECT_TRUE(WaitUntil([&] { return ButtonShows(m_pressed); }, PAINT_TIMEOUT_MS));
    SendMessageA(button, BM_SETSTATE, FALSE, 0);
    EXPECT_TRUE(WaitUntil([&] { return ButtonShows(m_released); }, PAINT_TIMEOUT_MS));

    // Disabled, it still shows its picture.
    Fill(button, MAGENTA);
    EnableWindow(button, FALSE);
    InvalidateRect(button, nullptr, FALSE);
    EXPECT_TRUE(WaitUntil([&] { return ButtonShows(m_released); }, PAINT_TIMEOUT_MS));
}

TEST_F(DisplayDrawingTest, SwitchedPicturesAppearAfterRepaint) {
    DrawReferences();
    BitmapButtonSet* set = MakeSet(LAMP_LIT, LAMP_DARK).release();
    StoreBitmapButtonSet(m_panel, set);
    HWND button = Item(PANEL_EXIT_STOP_BUTTON);
    InvalidateRect(button, nullptr, FALSE);
    ASSERT_TRUE(WaitUntil([&] { return ButtonShows(m_released); }, PAINT_TIMEOUT_MS));

    EXPECT_EQ(SetBitmapButtonImages(set, PANEL_COPY_BUTTON, {LAMP_DARK, LAMP_LIT}), 0);
    EXPECT_EQ(SetBitmapButtonImages(set, PANEL_EXIT_STOP_BUTTON, {LAMP_DARK, LAMP_LIT}), 1);
    PumpMessages();
    EXPECT_TRUE(ButtonShows(m_released)) << "switching alone does not repaint";

    EXPECT_EQ(RepaintBitmapButton(m_panel, PANEL_EXIT_STOP_BUTTON), 1);
    // The dark picture, released.
    EXPECT_TRUE(WaitUntil([&] { return ButtonShows(m_pressed); }, PAINT_TIMEOUT_MS));
    EXPECT_EQ(RepaintBitmapButton(m_panel, 4242), 0);
}

TEST_F(DisplayDrawingTest, DestroyFreesTheSetAndLetsNormalProcessingRun) {
    BitmapButtonSet* set = MakeSet(LAMP_LIT, LAMP_DARK).release();
    StoreBitmapButtonSet(m_panel, set);
    EXPECT_EQ(BitmapButtonSetProc(m_panel, WM_DESTROY, 0, 0, set), 0);
    EXPECT_EQ(GetBitmapButtonSet(m_panel), nullptr);
    // The window goes on working, and its own destruction finds no set.
    EXPECT_TRUE(DestroyWindow(m_panel));
    m_panel = nullptr;
}

}  // namespace
