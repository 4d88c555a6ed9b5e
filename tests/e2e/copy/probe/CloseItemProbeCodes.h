#pragma once

// What the Close-item probe answers: the exit code of its thread.
enum CloseItemProbeCode : unsigned long {
    CLOSE_ITEM_ENABLED = 1,
    CLOSE_ITEM_DISABLED = 2,
    CLOSE_ITEM_MISSING = 3,
    CLOSE_ITEM_NO_MENU = 4,
};
