#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "display/PanelLayout.h"

namespace {
using Place = std::array<int, 4>;  // x, y, width, height

std::vector<Place> Places(const PanelLayout& l) {
    std::vector<Place> places;
    for (const ControlPlace& p : {l.copyFromLabel, l.modelLabel, l.cardPath, l.parentButton, l.cardList,
                                  l.copyButton, l.exitStopButton, l.copyToLabel, l.folderCombo, l.toolbar,
                                  l.fileList, l.folderView, l.selectAll, l.printerPicture, l.monitorPicture,
                                  l.statusLine, l.logo, l.lampFrame})
        places.push_back({p.x, p.y, p.width, p.height});
    for (const ControlPlace& p : l.lamps) places.push_back({p.x, p.y, p.width, p.height});
    return places;
}

struct LayoutCase {
    LayoutMeasures measures;  // c, h, cyCaption, cyBorder, PARENT, lamp frame, lamp
    Place sizes;              // standard dialog's outer width and height, the panel's
    std::vector<Place> places;  // in the order of Places()
};

const LayoutCase kCases[] = {
    // The worked example: c 7, h 16, cyBorder 1, cyCaption 18, PARENT 24 high; frame 170 wide.
    {{7, 16, 18, 1, 26, 24, 170, 30, 9, 9},
     {629, 460, 629, 442},
     {{14, 8, 70, 16}, {84, 8, 161, 16}, {14, 24, 205, 24}, {219, 24, 26, 24}, {14, 56, 231, 192},
      {291, 129, 47, 47}, {267, 201, 95, 47}, {384, 8, 231, 16}, {384, 24, 197, 94}, {581, 24, 32, 24},
      {384, 56, 231, 192}, {384, 56, 231, 192}, {14, 256, 231, 16}, {65, 293, 128, 128},
      {419, 277, 160, 160}, {193, 280, 226, 16}, {242, 389, 144, 23}, {229, 342, 170, 30},
      {229, 352, 9, 9}, {247, 352, 9, 9}, {265, 352, 9, 9}, {283, 352, 9, 9}, {301, 352, 9, 9},
      {319, 352, 9, 9}, {337, 352, 9, 9}, {355, 352, 9, 9}, {373, 352, 9, 9}}},
    // An odd line height (the lists end one pixel above EXIT/STOP's bottom) and a frame of 181
    // (lamps 20 apart, the ninth of 181 truncated).
    {{8, 15, 20, 2, 30, 22, 181, 28, 10, 12},
     {707, 436, 707, 416},
     {{16, 7, 80, 15}, {96, 7, 184, 15}, {16, 22, 234, 22}, {250, 22, 30, 22}, {16, 51, 264, 180},
      {330, 118, 47, 47}, {306, 185, 95, 47}, {427, 7, 264, 15}, {427, 22, 230, 92}, {657, 22, 32, 24},
      {427, 51, 264, 180}, {427, 51, 264, 180}, {16, 239, 264, 15}, {88, 275, 120, 120},
      {484, 260, 150, 150}, {208, 261, 276, 15}, {281, 368, 144, 23}, {263, 321, 181, 28},
      {263, 329, 10, 12}, {283, 329, 10, 12}, {303, 329, 10, 12}, {323, 329, 10, 12}, {343, 329, 10, 12},
      {363, 329, 10, 12}, {383, 329, 10, 12}, {403, 329, 10, 12}, {423, 329, 10, 12}}},
};
}  // namespace

TEST(Layout, MeasuresGiveTheWindowAndEveryPlace) {
    for (const LayoutCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "c " << c.measures.c << ", h " << c.measures.h);
        const PanelLayout l = ComputePanelLayout(c.measures);
        EXPECT_EQ((Place{l.width, l.height, l.panelWidth, l.panelHeight}), c.sizes);
        const std::vector<Place> places = Places(l);
        ASSERT_EQ(places.size(), c.places.size());
        for (size_t i = 0; i < places.size(); ++i) EXPECT_EQ(places[i], c.places[i]) << "place " << i;
    }
}
