#include <cstdio>

#include "LinkScenario.h"
#include "Waiting.h"

namespace {
// An entry as the test spells it: a folder's name ends in "\", a file's has ":" and its size.
std::string Spelled(const CardEntry& e) {
    return e.name + (e.IsFolder() ? std::string("\\") : ":" + std::to_string(e.size));
}

struct ListingRow {
    const char* name = {};
    std::vector<std::pair<std::string, size_t>> files = {};  // card path and size; "NAME\" is a folder
    int manyFiles = 0;                                  // more files at the root, all empty
    std::vector<std::string> faults = {};
    std::vector<std::string> paths = {""};  // listed in turn; the last one's outcome is compared
    bool raw = false;                       // the tree walk's form, which keeps every record
    DWORD timeoutMs = PORT_TIMEOUT_MS;
    size_t repliesBeforeNext = 0;           // the next path waits until this many replies went out
    bool whole = true;                      // the tree walk's form has every record announced

    int result = {};
    std::vector<std::string> packets = {};
    std::vector<std::string> replies = {};  // of each reply: its header, ":" and its length
    Reports reports = {};
    std::vector<std::string> entries = {};  // of the last listing, in the printer's order
    int entryCount = -1;               // when not all entries are spelled out above
};

const std::string ROOT = ListingPacket("\\*.*");
const std::string DCIM = ListingPacket("\\DCIM\\*.*");

const ListingRow kRows[] = {
    {.name = "FoldersAndFiles", .files = {{"DCIM\\", 0}, {"README.TXT", 10}, {"BIG.JPG", 70000}},
     .result = 1, .packets = {ROOT, ROOT}, .replies = {"000003:3", "000003:63"}, .reports = {.posted = {3002}},
     .entries = {"BIG.JPG:70000", "DCIM\\", "README.TXT:10"}},
    {.name = "DotEntriesDropped", .files = {{"DCIM\\100PHOTO\\", 0}, {"DCIM\\A.JPG", 5}}, .paths = {"\\DCIM"},
     .result = 1, .packets = {DCIM, DCIM}, .replies = {"000004:3", "000004:83"}, .reports = {.posted = {3002}},
     .entries = {"100PHOTO\\", "A.JPG:5"}},
    {.name = "RootOfOneBackslashDoubled", .files = {{"A.JPG", 1}}, .paths = {"\\"},
     .result = 1, .packets = {ListingPacket("\\\\*.*"), ListingPacket("\\\\*.*")},
     .replies = {"000001:3", "000001:23"}, .reports = {.posted = {3002}}, .entries = {"A.JPG:1"}},
    {.name = "CountZeroWithStatus", .faults = {"--ir-status", "05"},
     .result = 0, .packets = {ROOT, ROOT}, .replies = {"050000:3", "050000:3"}, .reports = {.posted = {3002}}},
    {.name = "StatusWithRecords", .files = {{"A.JPG", 1}, {"B.JPG", 2}}, .faults = {"--ir-status", "05"},
     .result = 0, .packets = {ROOT, ROOT}, .replies = {"050002:3", "050002:43"},
     .reports = {.errorText = 3009, .errorCode = 5, .sent = {3003}}, .entries = {"A.JPG:1", "B.JPG:2"}},
    // The root's reply is cut through its second record: only the whole one is handed back. The
    // tree walk's form keeps every record, so a record cut short would show whatever it was read as.
    {.name = "MoreRecordsAnnouncedThanArrive", .files = {{"A.JPG", 1}, {"B.JPG", 2}, {"C.JPG", 3}},
     .faults = {"--cut", "2:30"}, .paths = {"\\"}, .raw = true, .timeoutMs = 1000, .whole = false,
     .result = 1, .packets = {ROOT, ROOT}, .replies = {"000003:3", "000003:30"}, .entries = {"A.JPG:1"}},
    {.name = "CountBytes0102", .manyFiles = 258,
     .result = 1, .packets = {ROOT, ROOT}, .replies = {"000102:3", "000102:5163"}, .reports = {.posted = {3002}},
     .entries = {"F00000.DAT:0", "F00001.DAT:0"}, .entryCount = 258},
    {.name = "LargerThanTheReplyBuffer", .manyFiles = 2560,
     .result = 1, .packets = {ROOT, ROOT}, .replies = {"000a00:3", "000a00:51203"}, .reports = {.posted = {3002}},
     .entries = {"F00000.DAT:0"}, .entryCount = 2560},
    {.name = "TreeWalkFormKeepsEveryRecord", .files = {{"DCIM\\IMG.JPG", 3}}, .paths = {"\\", "\\DCIM"}, .raw = true,
     .result = 1, .packets = {ROOT, ROOT, DCIM, DCIM},
     .replies = {"000001:3", "000001:23", "000003:3", "000003:63"}, .entries = {".\\", "..\\", "IMG.JPG:3"}},
    {.name = "TreeWalkFormKnowsAShortListing", .files = {{"A.JPG", 1}}, .faults = {"--count-extra", "1"}, .raw = true,
     .timeoutMs = 1000, .whole = false, .result = 1, .packets = {ROOT, ROOT}, .replies = {"000002:3", "000002:23"},
     .entries = {"A.JPG:1"}},
    // The records of the first listing come after its time-out and lie in the port when the
    // next listing asks: they are not its answer.
    {.name = "LateRestOfAReplyIsNotTheNextAnswer", .files = {{"A.JPG", 1}}, .faults = {"--split", "2:3:1500"},
     .paths = {"", ""}, .timeoutMs = 1000, .repliesBeforeNext = 3,
     .result = 1, .packets = {ROOT, ROOT, ROOT, ROOT}, .replies = {"000001:3", "000001:3", "412020:20", "000001:3", "000001:23"},
     .reports = {.posted = {3002, 3002}}, .entries = {"A.JPG:1"}},
};
}  // namespace

LINK_SCENARIO_TABLE(LinkListing, ListingRow, kRows);

TEST_P(LinkListing, Scenario) {
    const ListingRow& row = GetParam();
    for (const auto& [path, size] : row.files) {
        const bool folder = path.back() == '\\';
        ASSERT_TRUE(folder ? card.AddFolder(path.substr(0, path.size() - 1)) : card.AddFile(path, size)) << path;
    }
    for (int i = 0; i < row.manyFiles; ++i) {
        char name[16];
        std::snprintf(name, sizeof(name), "F%05d.DAT", i);
        ASSERT_TRUE(card.AddFile(name, 0));
    }
    ASSERT_NO_FATAL_FAILURE(Start(row.faults, row.timeoutMs));

    int result = -1;
    std::vector<CardEntry> entries;
    for (const std::string& path : row.paths) {
        entries.clear();
        if (row.raw) {
            RawListing listing;
            result = ReadRawListing(link->GetPort(), path.c_str(), &listing);
            EXPECT_EQ(listing.whole, row.whole);
            for (int i = 0; i < listing.count; ++i) {
                ConvertEntry(entries.emplace_back(), listing.records + i * CARD_RECORD_SIZE);
            }
            FreeRawListing(listing);
        } else {
            ASSERT_TRUE(link->SetCardPath(path.c_str()));
            result = link->ListFolder();
            entries = link->TakeEntries();
        }
        ASSERT_TRUE(WaitUntil([&] { return emulator.Replies().size() >= row.repliesBeforeNext; }, 5000));
    }
    EXPECT_EQ(result, row.result);
    EXPECT_EQ(emulator.Packets(), row.packets);
    std::vector<std::string> replies = {};
    for (const std::string& r : emulator.Replies()) replies.push_back(r.substr(0, 6) + ":" + std::to_string(r.size() / 2));
    EXPECT_EQ(replies, row.replies);
    EXPECT_EQ(owner.Observed(), row.reports);
    std::vector<std::string> spelled;
    for (const CardEntry& e : entries) spelled.push_back(Spelled(e));
    if (row.entryCount >= 0) {
        EXPECT_EQ(static_cast<int>(spelled.size()), row.entryCount);
        spelled.resize(std::min(spelled.size(), row.entries.size()));
    }
    EXPECT_EQ(spelled, row.entries);
}
