#include <cstdio>
#include "DisplayWindowTest.h"
#include "RemoteMemory.h"
#include "display/TransferPanelLayout.h"
using DisplayWindowProbe = CDisplayWindowTest;
TEST_F(DisplayWindowProbe, Combo) {
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
}
TEST_F(DisplayWindowProbe, Combo2) {
    ASSERT_NO_FATAL_FAILURE(AddCardFile("AUTPRINT.MRK", 300));
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"AUTPRINT.MRK"}));
    WaitForLayout();
    HWND combo = GetDlgItem(Ui().MainDialog(), 1137);
    CRemoteMemory remote(m_session.Process().Handle(), sizeof(RECT));
    RECT r = {};
    LRESULT res = SendMessageA(combo, CB_GETDROPPEDCONTROLRECT, 0, (LPARAM)&r);
    printf("res %ld\n", (long)res);
    RECT w; GetWindowRect(combo, &w);
    printf("dropped %ld %ld %ld %ld window %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom, w.left, w.top, w.right, w.bottom);
    printf("style %lx\n", GetWindowLongA(combo, GWL_STYLE));
}
