#pragma once

#include <windows.h>

#include "display/Dib.h"
#include "display/PanelIds.h"

// 1 when the rectangles share some area; rectangles that only touch at an edge do not overlap.
int RectsOverlap(const RECT& update, const RECT& control);

// The picture controls (printer, monitor, logo, in that order) that lie in the update rectangle:
// their ids go to ids[] and, in palette mode when slot 0 holds an image, their images to images[]
// (null otherwise). A control that does not exist is left out. Returns how many were collected.
int CollectDirtyPictures(HWND panel, const RECT& update, int ids[PICTURE_COUNT],
                         PackedDib* const slots[PICTURE_COUNT],
                         const PackedDib* images[PICTURE_COUNT], int displayMode);

// The panel's WM_PAINT work after the one-time layout: BeginPaint, redraw the pictures in the
// update area by the display mode's path, EndPaint.
void PaintPictures(HWND panel, PackedDib* const slots[PICTURE_COUNT], int displayMode);
