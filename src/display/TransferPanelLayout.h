#pragma once

#include <windows.h>

#include "display/PanelLayout.h"

// Reads the layout's measures from the running windows: c and h from the text metrics of a fresh
// device context of the standard dialog's control 1120, the system metrics, and the current
// sizes of the PARENT button, the lamp-strip frame and lamp 528.
LayoutMeasures ReadLayoutMeasures(HWND panel, HWND standardDialog);

// Gives the panel and its controls the standard dialog's font, then resizes the standard dialog,
// places the panel over it and moves every control to its computed place. Runs once per program,
// before the pictures are first drawn. Returns 1.
int LayoutTransferPanel(HWND panel, HWND standardDialog);

// The moves alone, for a layout already computed.
void ApplyPanelLayout(HWND panel, HWND standardDialog, const PanelLayout& layout);

// The standard dialog's toolbar: the window after its Help button in child order.
HWND FindStandardToolbar(HWND standardDialog);
