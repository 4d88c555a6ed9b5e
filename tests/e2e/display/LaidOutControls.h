#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "display/PanelLayout.h"

// One window the layout places, with the place it must have and the window in whose client
// area that place is measured.
struct LaidOutControl {
    std::string strName;
    HWND hWnd;
    HWND hClientOf;
    ControlPlace expected;
};

// The place a window has now, in the client coordinates of another window. For a drop-down combo
// box the height is the one it was given: the closed box and its list together.
ControlPlace PlaceInClient(HWND hWnd, HWND hClientOf);

// Every window the layout moves: the panel inside the standard dialog, the panel's controls (in
// the panel's client area), and the standard dialog's folder combo box, toolbar, file list and
// folder view (in the standard dialog's). A control that cannot be found is listed with a null
// window, so that the comparison reports it.
std::vector<LaidOutControl> LaidOutControls(HWND hPanel, HWND hStandardDialog,
                                            const PanelLayout& layout);

// The standard dialog's toolbar: the window after its Help button (1038) in child order.
HWND StandardToolbar(HWND hStandardDialog);

// Succeeds when every control is at its expected place; the failure lists each one that is not.
::testing::AssertionResult AllAtTheirPlaces(const std::vector<LaidOutControl>& aControls);

std::string DescribePlace(const ControlPlace& place);  // "(x, y) w x h"
