#include <thread>

#include "LinkFixture.h"

class FetchTest : public LinkTest {
protected:
    void Fetch(const std::string& cardFile, const std::string& pcName) {
        EnterFolder(destination.Path());
        ASSERT_TRUE(link->SetCardPath(cardFile.c_str()));
        ASSERT_TRUE(link->SetPcFileName(pcName.c_str()));
        owner.m_bBusy = 1;
        owner.m_bInSelectionWalk = 1;
    }
    std::vector<unsigned char> Received(const std::string& name) {
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(ReadBytes(destination / name, &bytes)) << name;
        return bytes;
    }
};

TEST_F(FetchTest, SmallChunksAskForTheRestAtTheEnd) {
    const auto bytes = AddFile("DCIM\\IMG00001.JPG", 12288);
    ASSERT_NO_FATAL_FAILURE(Start());
    Fetch("\\DCIM\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 1);
    EXPECT_EQ(emulator.Packets(FR_PREFIX),
              (std::vector<std::string>{ReadPacket(5120), ReadPacket(5120), ReadPacket(2048)}));
    EXPECT_EQ(Received("IMG00001.JPG"), bytes);
    EXPECT_EQ(ListFolder(destination.Path()), std::vector<std::string>{"IMG00001.JPG"}) << "no temporary left";
    EXPECT_TRUE(owner.Sent().empty()) << "inside a selection walk the walk reports the end";
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(FetchTest, LargeChunkTakesTheFileInOneRequest) {
    const auto bytes = AddFile("IMG00001.JPG", 12288);
    ASSERT_NO_FATAL_FAILURE(Start());
    TransferChunkSize = CHUNK_LARGE;
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    owner.m_bInSelectionWalk = 0;
    EXPECT_EQ(link->FetchFile(), 1);
    EXPECT_EQ(emulator.Packets(FR_PREFIX), std::vector<std::string>{ReadPacket(12288)});
    EXPECT_EQ(Received("IMG00001.JPG"), bytes);
    EXPECT_EQ(owner.Sent(), std::vector<UINT>{3001}) << "a single file outside a walk reports its end";
}

TEST_F(FetchTest, ShortReplyIsContinuedFromWhereItEnded) {
    const auto bytes = AddFile("IMG00001.JPG", 12288);
    ASSERT_NO_FATAL_FAILURE(Start({"--cut", "2:1001"});  // exchange 1 is FO, 2 the first FR
    Fetch("\\IMG00001.JPG", "IMG00001.JPG"));
    EXPECT_EQ(link->FetchFile(), 1);
    EXPECT_EQ(emulator.Packets(FR_PREFIX),
              (std::vector<std::string>{ReadPacket(5120), ReadPacket(5120), ReadPacket(5120),
                                        ReadPacket(1048)}));
    EXPECT_EQ(Received("IMG00001.JPG"), bytes);
}

TEST_F(FetchTest, SplitRepliesAreReassembled) {
    const auto bytes = AddFile("IMG00001.JPG", 9000);
    ASSERT_NO_FATAL_FAILURE(Start({"--split", "2:700:300", "--split", "3:1:200"}));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 1);
    EXPECT_EQ(Received("IMG00001.JPG"), bytes);
}

TEST_F(FetchTest, RefusedOpenSendsNoReadRequest) {
    AddFile("IMG00001.JPG", 100);
    ASSERT_NO_FATAL_FAILURE(Start({"--fo-status", "ff"}));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 0);
    EXPECT_EQ(owner.errorTextId, 3008);
    EXPECT_EQ(owner.errorCode, 0);
    EXPECT_EQ(owner.Sent(), std::vector<UINT>{3003});
    EXPECT_TRUE(emulator.Packets(FR_PREFIX).empty());
    EXPECT_TRUE(ListFolder(destination.Path()).empty());
}

TEST_F(FetchTest, OpenErrorCodeEndsTheSingleFileFetch) {
    AddFile("IMG00001.JPG", 100);
    ASSERT_NO_FATAL_FAILURE(Start({"--fo-status", "07"}));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 0);
    EXPECT_EQ(owner.errorTextId, 3009);
    EXPECT_EQ(owner.errorCode, 7);
    EXPECT_TRUE(emulator.Packets(FR_PREFIX).empty());
}

TEST_F(FetchTest, OpenErrorCodeIsIgnoredByTheTreeWalkForm) {
    const auto bytes = AddFile("IMG00001.JPG", 6000);
    ASSERT_NO_FATAL_FAILURE(Start({"--fo-status", "07"}));
    owner.m_bBusy = 1;
    std::vector<uint8_t> buffer(6000 + 131072);
    EXPECT_EQ(link->OpenCardFile(link->GetPort(), buffer.data(), 6000, "\\IMG00001.JPG"), 1);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), buffer.begin() + 1));
    EXPECT_EQ(owner.errorTextId, 0);
    EXPECT_EQ(emulator.Packets().front(), OpenPacket("\\IMG00001.JPG"));
}

TEST_F(FetchTest, EmptyFileAsksForZeroBytesAndIsCreated) {
    AddFile("EMPTY.TXT", 0);
    ASSERT_NO_FATAL_FAILURE(Start());
    Fetch("\\EMPTY.TXT", "EMPTY.TXT");
    EXPECT_EQ(link->FetchFile(), 0) << "a size of 0 is reported as 0, the file is made all the same";
    EXPECT_EQ(emulator.Packets(FR_PREFIX), std::vector<std::string>{ReadPacket(0)});
    EXPECT_TRUE(Received("EMPTY.TXT").empty());
}

TEST_F(FetchTest, StopDuringTheSecondChunkWritesNothing) {
    AddFile("BIG.JPG", 40000);
    ASSERT_NO_FATAL_FAILURE(Start({"--rate", "20000"}));
    Fetch("\\BIG.JPG", "BIG.JPG");
    int result = -1;
    std::thread worker([&] { result = link->FetchFile(); });
    EXPECT_TRUE(WaitUntil([&] { return emulator.Packets(FR_PREFIX).size() >= 2; }, 20000));
    owner.m_bBusy = 0;
    worker.join();
    EXPECT_EQ(result, 0);
    EXPECT_EQ(emulator.Packets(FR_PREFIX).size(), 2u);
    EXPECT_TRUE(ListFolder(destination.Path()).empty());
}

TEST_F(FetchTest, ExistingFileKeptWhenTheUserSaysNo) {
    AddFile("IMG00001.JPG", 500);
    ASSERT_NO_FATAL_FAILURE(Start());
    const auto old = PatternBytes(77, 9);
    ASSERT_TRUE(WriteBytes(destination / "IMG00001.JPG", old));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    owner.answers = {IDNO};
    EXPECT_EQ(link->FetchFile(), 1);
    EXPECT_EQ(owner.questions, std::vector<std::string>{"overwrite?"});
    EXPECT_EQ(owner.questionTypes, std::vector<UINT>{MB_YESNO | MB_TASKMODAL});
    EXPECT_TRUE(emulator.Packets().empty()) << "nothing is sent for a skipped file";
    EXPECT_EQ(Received("IMG00001.JPG"), old);
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(FetchTest, ExistingFileReplacedWhenTheUserSaysYes) {
    const auto bytes = AddFile("IMG00001.JPG", 500);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(WriteBytes(destination / "IMG00001.JPG", PatternBytes(9000, 9)));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    owner.answers = {IDYES};
    EXPECT_EQ(link->FetchFile(), 1);
    EXPECT_EQ(Received("IMG00001.JPG"), bytes);
}

TEST_F(FetchTest, FullDiskShowsOneMessageAndLeavesNoFile) {
    const std::string small = EnvironmentValue("SMALL_DISK");
    if (small.empty()) GTEST_SKIP() << "no small tmpfs (needs root)";
    AddFile("BIG.JPG", 200000);
    ASSERT_NO_FATAL_FAILURE(Start());
    const std::string folder = FromUnixPath(small);
    const auto old = PatternBytes(1000, 3);
    ASSERT_TRUE(WriteBytes(folder + "\\BIG.JPG", old));
    EnterFolder(folder);
    link->SetCardPath("\\BIG.JPG");
    link->SetPcFileName("BIG.JPG");
    owner.m_bBusy = 1;
    owner.m_bInSelectionWalk = 1;
    owner.answers = {IDYES};
    link->FetchFile();
    EXPECT_EQ(owner.questions, (std::vector<std::string>{"overwrite?", "text 3310"}));
    std::vector<unsigned char> kept;
    EXPECT_TRUE(ReadBytes(folder + "\\BIG.JPG", &kept));
    EXPECT_EQ(kept, old) << "the old file is not destroyed by a copy that could not finish";
    EXPECT_EQ(ListFolder(folder), std::vector<std::string>{"BIG.JPG"});
    DeleteFileA((folder + "\\BIG.JPG").c_str());
}

TEST_F(FetchTest, SilentPrinterAfterOpenWritesNothing) {
    AddFile("IMG00001.JPG", 100);
    ASSERT_NO_FATAL_FAILURE(Start({"--silence", "1"}));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 0);
    EXPECT_TRUE(emulator.Packets(FR_PREFIX).empty());
    EXPECT_TRUE(ListFolder(destination.Path()).empty()) << "no empty file from an unanswered open";
}

TEST_F(FetchTest, ReadRequestWithoutAnswerIsAPortFailure) {
    AddFile("IMG00001.JPG", 9000);
    ASSERT_NO_FATAL_FAILURE(Start({"--silence", "3"}));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 0);
    EXPECT_TRUE(ListFolder(destination.Path()).empty());
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(FetchTest, DisconnectInTheMiddleWritesNothing) {
    AddFile("IMG00001.JPG", 30000);
    ASSERT_NO_FATAL_FAILURE(Start({"--disconnect", "3:100"}));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 0);
    EXPECT_TRUE(ListFolder(destination.Path()).empty());
}

TEST_F(FetchTest, ReadStatusErrorEndsTheWork) {
    AddFile("IMG00001.JPG", 9000);
    ASSERT_NO_FATAL_FAILURE(Start({"--fr-status", "42"}));
    Fetch("\\IMG00001.JPG", "IMG00001.JPG");
    EXPECT_EQ(link->FetchFile(), 0);
    EXPECT_EQ(owner.errorTextId, 3009);
    EXPECT_EQ(owner.errorCode, 0x42);
    EXPECT_EQ(owner.Sent(), std::vector<UINT>{3003});
    EXPECT_TRUE(ListFolder(destination.Path()).empty());
}

TEST_F(FetchTest, StaleListingStatusDoesNotAbortALaterTransfer) {
    const auto bytes = AddFile("DCIM\\IMG00001.JPG", 7000);
    ASSERT_NO_FATAL_FAILURE(Start({"--ir-status", "05"}));
    link->SetCardPath("\\NOWHERE");
    link->ListFolder();  // nothing listed with a non-zero status: no error, the status left behind
    owner.m_bBusy = 1;
    std::vector<uint8_t> buffer(7000 + 131072);
    EXPECT_EQ(link->OpenCardFile(link->GetPort(), buffer.data(), 7000, "\\DCIM\\IMG00001.JPG"), 1);
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), buffer.begin() + 1));
    EXPECT_EQ(owner.errorTextId, 0);
}

TEST_F(FetchTest, HostileOrDeviceNamesAreNeverWritten) {
    AddFile("IMG00001.JPG", 100);
    ASSERT_NO_FATAL_FAILURE(Start());
    for (const char* name : {"..", "CON", "NUL.JPG", "A\\B.JPG", "..\\X.JPG", "C:X.JPG"}) {
        Fetch("\\IMG00001.JPG", name);
        EXPECT_EQ(link->FetchFile(), 0) << name;
    }
    EXPECT_TRUE(emulator.Packets().empty());
    EXPECT_TRUE(ListFolder(destination.Path()).empty());
}

TEST_F(FetchTest, TreeWalkFormStopsOnStopAndReportsIncomplete) {
    AddFile("BIG.JPG", 40000);
    ASSERT_NO_FATAL_FAILURE(Start({"--rate", "20000"}));
    owner.m_bBusy = 1;
    std::vector<uint8_t> buffer(40000 + 131072);
    int result = -1;
    std::thread worker([&] { result = link->OpenCardFile(link->GetPort(), buffer.data(), 40000, "\\BIG.JPG"); });
    EXPECT_TRUE(WaitUntil([&] { return emulator.Packets(FR_PREFIX).size() >= 2; }, 20000));
    owner.m_bBusy = 0;
    worker.join();
    EXPECT_EQ(result, 0);
}

TEST_F(FetchTest, TreeWalkFormReportsAPortFailureAsIncomplete) {
    AddFile("BIG.JPG", 20000);
    ASSERT_NO_FATAL_FAILURE(Start({"--silence", "3"}));
    owner.m_bBusy = 1;
    std::vector<uint8_t> buffer(20000 + 131072);
    EXPECT_EQ(link->OpenCardFile(link->GetPort(), buffer.data(), 20000, "\\BIG.JPG"), 0)
        << "a transfer cut short must not be taken for a whole file";
}
