#pragma once

// The one-time arrangement of the main window in three columns, computed from the dialog font's
// text metrics, two system metrics and the template sizes of three controls. Pure arithmetic:
// every halving and the division by 9 truncate toward zero.

struct LayoutMeasures {
    int c;          // average character width
    int h;          // text line height
    int cyCaption;  // SM_CYCAPTION
    int cyBorder;   // SM_CYBORDER
    int parentW;    // PARENT button as created from the template
    int parentH;
    int frameW;  // lamp-strip frame 3400 as created
    int frameH;
    int lampW;  // lamp 528 as created
    int lampH;
};

struct ControlPlace {
    int x;
    int y;
    int width;
    int height;
};

constexpr int LAYOUT_LAMP_COUNT = 9;

// Places of template controls are in the panel's client area, those of the standard dialog's
// controls (folder combo box, toolbar, file list, folder view) in the standard dialog's.
struct PanelLayout {
    int width;  // outer size of the standard dialog
    int height;
    int panelWidth;  // the panel window, placed at (0, 0) of the standard dialog
    int panelHeight;

    ControlPlace copyFromLabel;             // 1006
    ControlPlace modelLabel;                // 1011
    ControlPlace cardPath;                  // 1017
    ControlPlace parentButton;              // 1010
    ControlPlace cardList;                  // 1000
    ControlPlace copyButton;                // 1002
    ControlPlace exitStopButton;            // 1008
    ControlPlace copyToLabel;               // 1007
    ControlPlace folderCombo;               // standard 1137
    ControlPlace toolbar;                   // standard toolbar, the window after 1038
    ControlPlace fileList;                  // standard 1120
    ControlPlace folderView;                // standard 1121
    ControlPlace selectAll;                 // 1001
    ControlPlace printerPicture;            // 1012
    ControlPlace monitorPicture;            // 1013
    ControlPlace statusLine;                // 1009
    ControlPlace logo;                      // 1015
    ControlPlace lampFrame;                 // 3400
    ControlPlace lamps[LAYOUT_LAMP_COUNT];  // pair k: lamps 528 + k and 519 + k, one on the other
};

PanelLayout ComputePanelLayout(const LayoutMeasures& m);
