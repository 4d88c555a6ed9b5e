// The one-time layout of the window: after the first paint every moved control sits where the
// font metrics and the template sizes put it, and nothing later moves it again.
#include "DisplayWindowTest.h"
#include "LaidOutControls.h"
#include "StandInWindow.h"
#include "display/PanelIds.h"
#include "display/TransferPanelLayout.h"

using DisplayWindowLayout = CDisplayWindowTest;

namespace {

SIZE OuterSize(HWND hWnd) {
    RECT rect = {0, 0, 0, 0};
    GetWindowRect(hWnd, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

TEST_F(DisplayWindowLayout, FirstPaintPlacesEveryControlByTheFontMetrics) {
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());

    const LayoutMeasures measures = ReadLayoutMeasures(Ui().Panel(), Ui().MainDialog());
    ASSERT_GT(measures.c, 0) << "no text metrics could be read from control 1120";
    ASSERT_GT(measures.h, 0);
    ASSERT_GT(measures.parentH, 0) << "no PARENT button";
    RecordProperty("char_width", measures.c);
    RecordProperty("line_height", measures.h);
    const PanelLayout layout = ComputePanelLayout(measures);

    const SIZE size = OuterSize(Ui().MainDialog());
    EXPECT_EQ(size.cx, layout.width);
    EXPECT_EQ(size.cy, layout.height);
    EXPECT_TRUE(AllAtTheirPlaces(LaidOutControls(Ui().Panel(), Ui().MainDialog(), layout)));

    char className[64] = "";
    GetClassNameA(StandardToolbar(Ui().MainDialog()), className, sizeof(className));
    EXPECT_STREQ(className, "ToolbarWindow32") << "the window after Help is not the toolbar";
}

TEST_F(DisplayWindowLayout, RepaintMoveAndActivationMoveNothing) {
    ASSERT_NO_FATAL_FAILURE(StartOnTheCard());
    const PanelLayout layout = ExpectedLayout();
    std::vector<LaidOutControl> aControls =
        LaidOutControls(Ui().Panel(), Ui().MainDialog(), layout);
    ASSERT_TRUE(AllAtTheirPlaces(aControls));

    // A layout that ran again would put the same places back; one control put elsewhere shows it.
    for (LaidOutControl& control : aControls) {
        if (control.hWnd != Ui().Control(PANEL_SELECT_ALL)) continue;
        control.expected.y += 5;
        control.expected.width -= 10;
        ASSERT_TRUE(MoveWindow(control.hWnd, control.expected.x, control.expected.y,
                               control.expected.width, control.expected.height, TRUE));
    }
    ASSERT_TRUE(WaitForPainted());
    ASSERT_TRUE(AllAtTheirPlaces(aControls)) << "after the repaint that the move itself causes";

    {
        SCOPED_TRACE("a second paint");
        ASSERT_TRUE(RepaintPanel(true));
        EXPECT_TRUE(AllAtTheirPlaces(aControls));
    }
    {
        SCOPED_TRACE("a move of the window");
        // As a user drags the window by its title bar.
        RECT before = {0, 0, 0, 0};
        GetWindowRect(Ui().MainDialog(), &before);
        const POINT ptTarget = {before.left + 40, before.top + 30};
        ASSERT_TRUE(SetWindowPos(Ui().MainDialog(), nullptr, ptTarget.x, ptTarget.y, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
        ASSERT_TRUE(WaitForPainted());
        RECT after = {0, 0, 0, 0};
        GetWindowRect(Ui().MainDialog(), &after);
        EXPECT_EQ(after.left, ptTarget.x);
        EXPECT_EQ(after.top, ptTarget.y);
        EXPECT_EQ(OuterSize(Ui().MainDialog()).cx, layout.width);
        EXPECT_EQ(OuterSize(Ui().MainDialog()).cy, layout.height);
        EXPECT_TRUE(AllAtTheirPlaces(aControls));
    }
    {
        SCOPED_TRACE("a deactivation and an activation");
        CStandInWindow other;
        ASSERT_TRUE(other.TakeForeground());
        ASSERT_TRUE(WaitForPainted());
        EXPECT_TRUE(AllAtTheirPlaces(aControls));
        ASSERT_TRUE(Succeeded(Ui().BringToFront()));
        ASSERT_TRUE(WaitForPainted());
        EXPECT_TRUE(AllAtTheirPlaces(aControls));
        EXPECT_EQ(OuterSize(Ui().MainDialog()).cx, layout.width);
        EXPECT_EQ(OuterSize(Ui().MainDialog()).cy, layout.height);
    }
}
