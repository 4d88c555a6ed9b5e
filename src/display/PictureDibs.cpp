#include "display/PictureDibs.h"

int LoadPictureDibs(PackedDib* slots[PICTURE_COUNT]) {
    FreePictureDibs(slots);
    for (int k = 0; k < PICTURE_COUNT; ++k) {
        slots[k] = LoadDibFile(PICTURE_FILE_NAMES[k]);
        if (slots[k] == nullptr) return 0;
    }
    return 1;
}

void FreePictureDibs(PackedDib* slots[PICTURE_COUNT]) {
    for (int k = 0; k < PICTURE_COUNT; ++k) {
        FreeDib(slots[k]);
        slots[k] = nullptr;
    }
}
