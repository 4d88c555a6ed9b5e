#include <cstdio>
#include "CardSelection.h"
#include "CopyTest.h"
#include "LampRow.h"

TEST_F(CCopyTest, ExploreCopy) {
    AddCardData("A.TXT", 100);
    AddCardData("B.TXT", 30000);
    ASSERT_NO_FATAL_FAILURE(StartProgramIn("C:\\", {"--rate", "10000"}));
    ASSERT_TRUE(WaitForListing({"A.TXT", "B.TXT"}));
    std::printf("folder %s file %s\n", Standard().FolderPath().c_str(), Standard().FilePath().c_str());
    EXPECT_TRUE(Select({"B.TXT"}));
    EXPECT_TRUE(PressCopy());
    EXPECT_TRUE(WaitForCopying());
    std::printf("panel %s close %lu\n", ::testing::PrintToString(ReadPanel()).c_str(), CloseItemState());
    DWORD t0 = GetTickCount();
    std::string last;
    while (GetTickCount() - t0 < 5000) {
        LampRowView v = ReadLampRow(Ui());
        std::string s = "lit";
        for (int k : v.aLit) s += " " + std::to_string(k);
        s += " dark " + std::to_string(v.nDarkShown) + " dbl " + std::to_string(v.aDoubled.size());
        if (s != last) std::printf("%5lu %s\n", GetTickCount() - t0, s.c_str());
        last = s;
        if (ReadPanel().strStatus.empty()) break;
    }
    EXPECT_TRUE(WaitForCopyEnd());
    std::printf("close %lu\n", CloseItemState());
    std::printf("exists %d\n", FileExists("C:\\B.TXT"));
    DeleteFileA("C:\\B.TXT");
}
