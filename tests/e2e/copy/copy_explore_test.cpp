#include <cstdio>
#include "CardSelection.h"
#include "CopyTest.h"
#include "LampRow.h"

namespace {
BOOL CALLBACK Dump(HWND h, LPARAM) {
    char cls[64] = "", text[128] = "";
    GetClassNameA(h, cls, sizeof cls);
    GetWindowTextA(h, text, sizeof text);
    std::printf("  child %p id %d class %s text \"%s\" vis %d en %d parent %p\n", (void*)h, GetDlgCtrlID(h), cls, text,
                IsWindowVisible(h), IsWindowEnabled(h), (void*)GetParent(h));
    return TRUE;
}
}

TEST_F(CCopyTest, ExploreCopy) {
    AddCardData("A.TXT", 100);
    AddCardData("B.TXT", 200);
    AddCardData("DCIM\\C.JPG", 300);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    ASSERT_TRUE(WaitForListing({"A.TXT", "B.TXT", "DCIM"}));
    EnumChildWindows(Ui().MainDialog(), Dump, 0);
    std::printf("folder %s file %s\n", Standard().FolderPath().c_str(), Standard().FilePath().c_str());
    for (auto& s : Standard().FilesViewNames()) std::printf(" view: %s\n", s.c_str());
    std::printf("face %s close %lu\n", ButtonFaceName(ExitStopFace()), CloseItemState());
    std::printf("direct sysmenu %p\n", (void*)GetSystemMenu(Ui().MainDialog(), FALSE));
    EXPECT_TRUE(Select({"A.TXT", "DCIM"}));
    std::printf("panel %s\n", ::testing::PrintToString(ReadPanel()).c_str());
    EXPECT_TRUE(Copy());
    for (auto& s : ListFolder(Destination())) std::printf(" dest: %s\n", s.c_str());
    for (auto& s : Standard().FilesViewNames()) std::printf(" view: %s\n", s.c_str());
    EXPECT_TRUE(Standard().BrowseTo("C:\\", 10000));
    std::printf("folder %s file %s\n", Standard().FolderPath().c_str(), Standard().FilePath().c_str());
    for (auto& s : Standard().FilesViewNames()) std::printf(" view: %s\n", s.c_str());
    for (auto& s : m_emulator.Log()) std::printf("log %s\n", s.c_str());
}
