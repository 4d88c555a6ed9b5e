#include "display/PicturePaint.h"

#include "display/PictureDraw.h"

int RectsOverlap(const RECT& update, const RECT& control) {
    return control.top < update.bottom && control.bottom > update.top &&
           control.left < update.right && control.right > update.left;
}

int CollectDirtyPictures(HWND panel, const RECT& update, int ids[PICTURE_COUNT],
                         PackedDib* const slots[PICTURE_COUNT],
                         const PackedDib* images[PICTURE_COUNT], int displayMode) {
    int count = 0;
    for (int k = 0; k < PICTURE_COUNT; ++k) {
        HWND control = GetDlgItem(panel, PICTURE_CONTROL_IDS[k]);
        if (control == nullptr) continue;
        RECT area;
        GetWindowRect(control, &area);
        POINT corners[2] = {{area.left, area.top}, {area.right, area.bottom}};
        ScreenToClient(panel, &corners[0]);
        ScreenToClient(panel, &corners[1]);
        const RECT inPanel = {corners[0].x, corners[0].y, corners[1].x, corners[1].y};
        if (!RectsOverlap(update, inPanel)) continue;

        ids[count] = PICTURE_CONTROL_IDS[k];
        // Without the first image none is drawn: the three files load in order or not at all.
        const bool withImages = displayMode == 1 && slots != nullptr && slots[0] != nullptr;
        images[count] = withImages ? slots[k] : nullptr;
        ++count;
    }
    return count;
}

void PaintPictures(HWND panel, PackedDib* const slots[PICTURE_COUNT], int displayMode) {
    PAINTSTRUCT paint;
    BeginPaint(panel, &paint);
    int ids[PICTURE_COUNT];
    const PackedDib* images[PICTURE_COUNT];
    const int count = CollectDirtyPictures(panel, paint.rcPaint, ids, slots, images, displayMode);
    for (int i = 0; i < count; ++i) {
        if (displayMode == 1) {
            if (images[i] != nullptr) DrawDibInControl(panel, ids[i], images[i]);
        } else {
            DrawPictureBitmap(panel, ids[i]);
        }
    }
    EndPaint(panel, &paint);
}
