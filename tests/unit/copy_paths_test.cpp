#include <gtest/gtest.h>

#include "copy/CardPaths.h"

TEST(CardPaths, CutToParentStopsAtTheRoot) {
    EXPECT_EQ(CutToParent("\\DCIM\\100PHOTO"), "\\DCIM");
    EXPECT_EQ(CutToParent("\\DCIM"), "\\");
    EXPECT_EQ(CutToParent("\\"), "\\");
    EXPECT_EQ(CutToParent("NAME"), "");
    EXPECT_EQ(CutToParent("C:\\Pictures\\*.*"), "C:\\Pictures") << "the destination of a whole-card copy";
    EXPECT_EQ(CutToParent("C:\\*.*"), "C:") << "a drive root";
}

TEST(CardPaths, CutLastComponentAndLabels) {
    EXPECT_EQ(CutLastComponent("C:\\Pictures\\*.*"), "C:\\Pictures");
    EXPECT_EQ(CutLastComponent("\\DCIM"), "");
    EXPECT_EQ(CutLastComponent("NAME"), "NAME");
    EXPECT_EQ(GetFolderLabel("\\"), "");
    EXPECT_EQ(GetFolderLabel("\\DCIM"), "DCIM");
    EXPECT_EQ(GetFolderLabel("\\DCIM\\100PHOTO"), "100PHOTO");
    EXPECT_EQ(GetFolderLabel("\\A"), "A") << "a one-character folder still has a label";
}

TEST(CardPaths, JoinAndPrefixLength) {
    EXPECT_EQ(JoinCardPath("\\", "DCIM"), "\\DCIM");
    EXPECT_EQ(JoinCardPath("\\DCIM", "100PHOTO"), "\\DCIM\\100PHOTO");
    EXPECT_EQ(PrefixLength("\\"), 1);
    EXPECT_EQ(PrefixLength("\\DCIM"), 1);
    EXPECT_EQ(PrefixLength("\\DCIM\\100PHOTO"), 6);
}
