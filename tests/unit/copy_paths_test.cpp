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
        {std::to_string(CardNameFits("IMG0001.JPG", "img*.jpg")), "1"},
        {std::to_string(CardNameFits("IMG0001.JPG", "IMG000?.*")), "1"},
        {std::to_string(CardNameFits("README", "*.*")), "1"},
        {std::to_string(CardNameFits("README", "READ*.")), "1"},
        {std::to_string(CardNameFits("A.JPG", "*.")), "0"},
        {std::to_string(CardNameFits("README.TXT", "*.JPG")), "0"},
        {std::to_string(CardNameFits("ABAB", "*AB*B")), "1"},
        {std::to_string(CardNameFits("IMG.JPG", "IMG?.JPG")), "0"},
    };
    for (size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;
}
