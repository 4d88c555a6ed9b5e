#include <thread>

#include "LinkScenario.h"
#include "Waiting.h"

namespace {
enum Form { FETCH, TREE_WALK };           // FetchFile, or OpenCardFile into the caller's buffer
enum PcFile { NO_FILE, CARD_BYTES, OLDER_BYTES };  // what the destination holds afterwards

struct FileRow {
    const char* name = {};
    uint32_t size = 0;  // of the card file \DCIM\IMG.JPG
    std::vector<std::string> faults = {};
    Form form = FETCH;
    DWORD chunk = CHUNK_SMALL;
    DWORD timeoutMs = PORT_TIMEOUT_MS;
    bool older = false;  // an older IMG.JPG is in the destination
    bool inWalk = true;
    bool stopAtSecondRead = false;
    bool smallDisk = false;

    int result = {};
    std::vector<std::string> packets = {};
    Reports reports = {};
    FileOutcome outcome = FILE_COPIED;
    PcFile file = NO_FILE;
};

const std::string OPEN = OpenPacket("\\DCIM\\IMG.JPG");
std::string FR(uint32_t count) { return ReadPacket(count); }

const FileRow kRows[] = {
    {.name = "SmallChunks", .size = 12288,
     .result = 1, .packets = {OPEN, FR(5120), FR(5120), FR(2048)}, .outcome = FILE_COPIED, .file = CARD_BYTES},
    {.name = "LargeChunkOutsideAWalk", .size = 12288, .chunk = CHUNK_LARGE, .inWalk = false,
     .result = 1, .packets = {OPEN, FR(12288)}, .reports = {.sent = {3001}}, .outcome = FILE_COPIED, .file = CARD_BYTES},
    {.name = "ShortReplyContinued", .size = 12288, .faults = {"--cut", "2:1001"}, .timeoutMs = 2000,
     .result = 1, .packets = {OPEN, FR(5120), FR(5120), FR(5120), FR(1048)}, .outcome = FILE_COPIED, .file = CARD_BYTES},
    {.name = "SplitRepliesJoined", .size = 9000, .faults = {"--split", "2:700:300", "--split", "3:1:200"},
     .result = 1, .packets = {OPEN, FR(5120), FR(3880)}, .outcome = FILE_COPIED, .file = CARD_BYTES},
    // Stray bytes after a whole reply shift every later byte of the file: it is not kept.
    {.name = "SurplusBytesAfterAWholeReply", .size = 12288, .faults = {"--extra", "3:0000"},
     .result = 0, .packets = {OPEN, FR(5120), FR(5120), FR(2048)}, .outcome = FILE_READ_FAILED},
    // A reply of a status byte alone moves nothing; only three of them in a row break the transfer.
    {.name = "StatusOnlyRepliesApart", .size = 12288, .faults = {"--cut", "2:1", "--cut", "4:1", "--cut", "6:1"},
     .timeoutMs = 2000, .result = 1,
     .packets = {OPEN, FR(5120), FR(5120), FR(5120), FR(5120), FR(2048), FR(2048)},
     .outcome = FILE_COPIED, .file = CARD_BYTES},
    {.name = "StatusOnlyRepliesInARow", .size = 12288, .faults = {"--cut", "2:1", "--cut", "3:1", "--cut", "4:1"},
     .timeoutMs = 2000, .result = 0, .packets = {OPEN, FR(5120), FR(5120), FR(5120)}, .outcome = FILE_READ_FAILED},
    {.name = "OpenRefused", .size = 100, .faults = {"--fo-status", "ff"},
     .result = 0, .packets = {OPEN}, .reports = {.errorText = 3008, .sent = {3003}}, .outcome = FILE_READ_FAILED},
    {.name = "OpenErrorCode", .size = 100, .faults = {"--fo-status", "07"},
     .result = 0, .packets = {OPEN}, .reports = {.errorText = 3009, .errorCode = 7, .sent = {3003}},
     .outcome = FILE_READ_FAILED},
    {.name = "TreeWalkIgnoresOpenErrorCode", .size = 6000, .faults = {"--fo-status", "07"}, .form = TREE_WALK,
     .result = 1, .packets = {OPEN, FR(5120), FR(880)}, .outcome = FILE_COPIED},
    {.name = "TreeWalkOpenedWithAnotherSize", .size = 6000, .faults = {"--garbage", "1:0000001000"},
     .form = TREE_WALK, .result = -1, .packets = {OPEN}, .outcome = FILE_READ_FAILED},
    {.name = "TreeWalkOpenRefused", .size = 100, .faults = {"--fo-status", "ff"}, .form = TREE_WALK,
     .result = 0, .packets = {OPEN}, .reports = {.errorText = 3008, .sent = {3003}}, .outcome = FILE_READ_FAILED},
    {.name = "ReadStatusError", .size = 9000, .faults = {"--fr-status", "42"},
     .result = 0, .packets = {OPEN, FR(5120)}, .reports = {.errorText = 3009, .errorCode = 0x42, .sent = {3003}},
     .outcome = FILE_READ_FAILED},
    {.name = "SilenceAfterOpen", .size = 9000, .faults = {"--silence", "2"}, .timeoutMs = 1000,
     .result = 0, .packets = {OPEN, FR(5120)}, .outcome = FILE_READ_FAILED},
    {.name = "DisconnectMidFile", .size = 30000, .faults = {"--disconnect", "3:100"}, .timeoutMs = 1000,
     .result = 0, .packets = {OPEN, FR(5120), FR(5120)}, .outcome = FILE_READ_FAILED},
    // An older file of the name survives a write that fills the disk.
    {.name = "DiskFull", .size = 200000, .chunk = CHUNK_LARGE, .older = true, .smallDisk = true,
     .result = 1, .packets = {OPEN, FR(46125), FR(46125), FR(46125), FR(46125), FR(15500)},
     .outcome = FILE_DISK_FULL, .file = OLDER_BYTES},
    {.name = "StopDuringTheSecondRead", .size = 40000, .faults = {"--rate", "20000"}, .stopAtSecondRead = true,
     .result = 0, .packets = {OPEN, FR(5120), FR(5120)}, .outcome = FILE_STOPPED},
    {.name = "EmptyFile", .size = 0,
     .result = 0, .packets = {OPEN, FR(0)}, .outcome = FILE_COPIED, .file = CARD_BYTES},
};
}  // namespace

LINK_SCENARIO_TABLE(LinkFileRead, FileRow, kRows);

TEST_P(LinkFileRead, Scenario) {
    const FileRow& row = GetParam();
    const std::string small = row.smallDisk ? EnvironmentValue("SMALL_DISK") : "";
    ASSERT_FALSE(row.smallDisk && small.empty()) << "no small disk: run under scripts/test-env.sh";
    ASSERT_TRUE(card.AddFile("DCIM\\IMG.JPG", row.size));
    const std::vector<unsigned char> cardBytes = card.Bytes("DCIM\\IMG.JPG");
    const std::vector<unsigned char> olderBytes = PatternBytes(1000, 7);
    TempFolder destination(small.empty() ? "" : FromUnixPath(small));
    if (row.older) {
        ASSERT_TRUE(WriteBytes(destination / "IMG.JPG", olderBytes));
    }
    ASSERT_NO_FATAL_FAILURE(Start(row.faults, row.timeoutMs));
    TransferChunkSize = row.chunk;
    owner.m_bBusy = 1;
    owner.m_bInSelectionWalk = row.inWalk;

    // The window's standard part keeps the process in the folder it shows; a bare name lands there.
    char previous[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(destination.Path().c_str()));
    std::vector<uint8_t> buffer(row.size + 131072);
    int result = -1;
    std::thread worker([&] {
        if (row.form == TREE_WALK) {
            result = link->OpenCardFile(link->GetPort(), buffer.data(), row.size, "\\DCIM\\IMG.JPG");
        } else if (link->SetCardPath("\\DCIM\\IMG.JPG") && link->SetPcFileName("IMG.JPG")) {
            result = link->FetchFile();
        }
    });
    if (row.stopAtSecondRead) {
        EXPECT_TRUE(WaitUntil([&] { return emulator.Packets(FR_PREFIX).size() >= 2; }, 20000));
        owner.m_bBusy = 0;  // STOP
    }
    worker.join();
    SetCurrentDirectoryA(previous);

    EXPECT_EQ(result, row.result);
    EXPECT_EQ(emulator.Packets(), row.packets);
    EXPECT_EQ(owner.Observed(), row.reports);
    EXPECT_EQ(link->LastOutcome(), row.outcome);
    if (row.form == TREE_WALK && row.outcome == FILE_COPIED) {
        EXPECT_TRUE(std::equal(cardBytes.begin(), cardBytes.end(), buffer.begin() + 1));
    }
    std::vector<unsigned char> written;
    if (row.file == NO_FILE) {
        EXPECT_EQ(ListFolder(destination.Path()), std::vector<std::string>{});
    } else {
        EXPECT_EQ(ListFolder(destination.Path()), std::vector<std::string>{"IMG.JPG"}) << "nothing partial beside it";
        EXPECT_TRUE(ReadBytes(destination / "IMG.JPG", &written));
        EXPECT_EQ(written, row.file == CARD_BYTES ? cardBytes : olderBytes);
    }
}
