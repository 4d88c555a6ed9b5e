#include "display/PanelLayout.h"

PanelLayout ComputePanelLayout(const LayoutMeasures& m) {
    const int c = m.c;
    const int h = m.h;
    const int W = 76 * c + 2 * m.cyBorder + 95;
    const int H = 26 * h + m.parentH + m.cyCaption + 2 * m.cyBorder;
    const int half = h / 2;
    const int row1 = half + h;
    const int listTop = 2 * half + h + m.parentH;
    const int listH = 12 * h;
    const int colL = 2 * c;
    const int colR = W - 35 * c;
    const int colW = 33 * c;
    const int midX = W / 2;
    const int selTop = m.parentH + 14 * h + half;
    const int band = selTop + h;
    const int bandMid = band + ((H - m.cyCaption) - band) / 2;
    const int K = 8 * h;
    const int M = 10 * h;
    const int step = m.frameW / 9;
    // The toolbar sits at the right end of the PC side's top row, the combo box fills up to it.
    const int toolbarX = W - 2 * c - 34;

    PanelLayout layout{};
    layout.width = W;
    layout.height = H;
    layout.panelWidth = W;
    layout.panelHeight = H - m.cyCaption;

    layout.copyFromLabel = {colL, half, 10 * c, h};
    layout.modelLabel = {12 * c, half, 23 * c, h};
    layout.cardPath = {colL, row1, colW - m.parentW, m.parentH};
    layout.parentButton = {35 * c - m.parentW, row1, m.parentW, m.parentH};
    layout.cardList = {colL, listTop, colW, listH};
    layout.copyButton = {midX - 23, listTop + listH / 2 - 23, 47, 47};
    layout.exitStopButton = {midX - 47, m.parentH + 14 * h - 47, 95, 47};
    layout.copyToLabel = {colR, half, W - colL - colR, h};
    layout.folderCombo = {colR, row1, toolbarX - colR, m.parentH + 70};
    layout.toolbar = {toolbarX, row1, 32, 24};
    layout.fileList = {colR, listTop, colW, listH};
    layout.folderView = {colR, listTop, colW, listH};
    layout.selectAll = {colL, selTop, colW, h};
    layout.printerPicture = {colL + colW / 2 - K / 2, bandMid - K / 2, K, K};
    layout.monitorPicture = {colR + colW / 2 - M / 2, bandMid - M / 2, M, M};
    const int statusX = colL + colW / 2 + (K - K / 2);
    layout.statusLine = {statusX, band + half, layout.monitorPicture.x - statusX, h};
    layout.logo = {midX - 72, H - 3 * h - 23, 144, 23};

    const int frameX = midX - m.frameW / 2;
    const int frameY = bandMid - m.frameH / 2;
    layout.lampFrame = {frameX, frameY, m.frameW, m.frameH};
    for (int k = 0; k < LAYOUT_LAMP_COUNT; ++k) {
        layout.lamps[k] = {frameX + k * step, frameY + (m.frameH - m.lampH) / 2, m.lampW, m.lampH};
    }
    return layout;
}
