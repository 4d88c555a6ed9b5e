#include <gtest/gtest.h>

#include "copy/CardPaths.h"

TEST(CardPaths, CutsAndJoins) {
    const std::pair<std::string, std::string> rows[] = {
        {CutToParent("\\DCIM\\100PHOTO"), "\\DCIM"},
        {CutToParent("\\DCIM"), "\\"},
        {CutToParent("\\"), "\\"},
        {CutToParent("NAME"), ""},
        {CutToParent("C:\\*.*"), "C:"},
        {CutLastComponent("C:\\Pictures\\*.*"), "C:\\Pictures"},
        {CutLastComponent("\\DCIM"), ""},
        {CutLastComponent("NAME"), "NAME"},
        {GetFolderLabel("\\"), ""},
        {GetFolderLabel("\\A"), "A"},
        {GetFolderLabel("\\DCIM\\100PHOTO"), "100PHOTO"},
        {JoinCardPath("\\", "DCIM"), "\\DCIM"},
        {JoinCardPath("\\DCIM", "100PHOTO"), "\\DCIM\\100PHOTO"},
        {std::to_string(PrefixLength("\\")), "1"},
        {std::to_string(PrefixLength("\\DCIM")), "1"},
        {std::to_string(PrefixLength("\\DCIM\\100PHOTO")), "6"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}
