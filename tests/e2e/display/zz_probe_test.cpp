#include <cstdio>
#include "WindowTest.h"
#include "display/TransferPanelLayout.h"
static COLORREF DisplayModeColour() { HDC s = GetDC(nullptr); int b = GetDeviceCaps(s, BITSPIXEL) * GetDeviceCaps(s, PLANES); ReleaseDC(nullptr, s); return b >= 16 ? RGB(180,171,206) : RGB(192,220,192); }

TEST_F(CWindowTest, DisplayWindowProbe) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("PHOTO.JPG"));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"PHOTO.JPG"}));
    HDC screen = GetDC(nullptr);
    printf("planes %d bits %d rastercaps palette %d sizepal %d\n", GetDeviceCaps(screen, PLANES), GetDeviceCaps(screen, BITSPIXEL),
           (GetDeviceCaps(screen, RASTERCAPS) & RC_PALETTE) != 0, GetDeviceCaps(screen, SIZEPALETTE));
    HWND panel = Ui().Panel(), dlg = Ui().MainDialog();
    RECT r; GetWindowRect(dlg, &r);
    printf("dialog %ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    LayoutMeasures m = ReadLayoutMeasures(panel, dlg);
    printf("c %d h %d cap %d bord %d P %dx%d F %dx%d L %dx%d\n", m.c, m.h, m.cyCaption, m.cyBorder, m.parentW, m.parentH, m.frameW, m.frameH, m.lampW, m.lampH);
    PanelLayout l = ComputePanelLayout(m);
    printf("W %d H %d\n", l.width, l.height);
    RECT u; BOOL b = GetUpdateRect(panel, &u, FALSE);
    printf("update %d\n", b);
    InvalidateRect(panel, nullptr, FALSE);
    b = GetUpdateRect(panel, &u, FALSE);
    printf("update after invalidate %d %ld %ld %ld %ld\n", b, u.left, u.top, u.right, u.bottom);
    HRGN rgn = CreateRectRgn(0,0,0,0);
    printf("rgn after invalidate %d\n", GetUpdateRgn(panel, rgn, FALSE));
    DWORD t = GetTickCount();
    WaitUntil([&] { return GetUpdateRgn(panel, rgn, FALSE) == NULLREGION; }, 5000);
    printf("validated after %lu ms: %d\n", GetTickCount() - t, GetUpdateRgn(panel, rgn, FALSE));
    POINT p = {m.c, l.cardList.y + 20}; ClientToScreen(panel, &p); for (int dx = 0; dx < 6; ++dx) printf("bg %d: %06lx near %06lx\n", dx, GetPixel(screen, p.x + dx, p.y), GetNearestColor(screen, DisplayModeColour()));
    (void)p;
}
