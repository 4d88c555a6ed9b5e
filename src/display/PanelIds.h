#pragma once

// Control ids the display code touches: the transfer panel's (template 502) and the few
// controls of the standard open dialog that the layout moves.
enum PanelControlId : int {
    PANEL_CARD_LIST = 1000,
    PANEL_SELECT_ALL = 1001,
    PANEL_COPY_BUTTON = 1002,
    PANEL_COPY_FROM_LABEL = 1006,
    PANEL_COPY_TO_LABEL = 1007,
    PANEL_EXIT_STOP_BUTTON = 1008,
    PANEL_STATUS_LINE = 1009,
    PANEL_PARENT_BUTTON = 1010,
    PANEL_MODEL_LABEL = 1011,
    PANEL_PRINTER_PICTURE = 1012,
    PANEL_MONITOR_PICTURE = 1013,
    PANEL_LOGO_PICTURE = 1015,
    PANEL_CARD_PATH = 1017,
    PANEL_LAMP_FRAME = 3400,
    PANEL_LAMP_DARK_FIRST = 519,  // 519..527: the lamps' dark pictures, shown when idle
    PANEL_LAMP_LIT_FIRST = 528,   // 528..536: the lit pictures, same places
    PANEL_LAMP_COUNT = 9,

    STD_HELP_BUTTON = 1038,   // pshHelp; the toolbar is the window after it
    STD_FILE_LIST = 1120,     // lst1
    STD_FOLDER_VIEW = 1121,   // lst2, the shell's file view
    STD_FOLDER_COMBO = 1137,  // cmb2
};

// The program's own 24-bit picture resources of high-colour mode.
enum PictureResourceId : int {
    RES_MONITOR_BITMAP = 142,
    RES_LOGO_BITMAP = 143,
    RES_PRINTER_BITMAP = 144,
};

// Picture controls in painting order; slot k of the loaded images belongs to the k-th control.
constexpr int PICTURE_COUNT = 3;
constexpr int PICTURE_CONTROL_IDS[PICTURE_COUNT] = {PANEL_PRINTER_PICTURE, PANEL_MONITOR_PICTURE,
                                                    PANEL_LOGO_PICTURE};
