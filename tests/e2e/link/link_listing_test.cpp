#include <algorithm>
#include <set>

#include "LinkFixture.h"

namespace {
std::vector<CardEntry> Entries(CPrinterLink& link) { return link.TakeEntries(); }
std::set<std::string> Names(const std::vector<CardEntry>& entries) {
    std::set<std::string> names;
    for (const CardEntry& e : entries) names.insert(e.name);
    return names;
}
}  // namespace

TEST_F(LinkTest, RootListingGivesFoldersAndFilesWithTwoIdenticalRequests) {
    AddFolder("DCIM");
    AddFile("README.TXT", 10);
    AddFile("BIG.JPG", 70000);
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(link->SetCardPath(""));
    EXPECT_EQ(link->ListFolder(), 1);
    EXPECT_EQ(emulator.Packets(), std::vector<std::string>(2, ListingPacket("\\*.*")));
    const auto entries = Entries(*link);
    EXPECT_EQ(Names(entries), (std::set<std::string>{"BIG.JPG", "DCIM", "README.TXT"}));
    for (const CardEntry& e : entries) {
        const std::string name = e.name;
        EXPECT_EQ(e.IsFolder(), name == "DCIM") << name;
        if (name == "BIG.JPG") {
            EXPECT_EQ(e.size, 70000u);
        }
    }
    EXPECT_EQ(owner.Posted(), std::vector<UINT>{3002});
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(LinkTest, SubFolderListingDropsDotEntries) {
    AddFile("DCIM\\100PHOTO\\IMG00001.JPG", 100);
    ASSERT_NO_FATAL_FAILURE(Start());
    link->SetCardPath("\\DCIM");
    EXPECT_EQ(link->ListFolder(), 1);
    EXPECT_EQ(Names(Entries(*link)), std::set<std::string>{"100PHOTO"});
    EXPECT_EQ(emulator.Packets().front(), ListingPacket("\\DCIM\\*.*"));
}

TEST_F(LinkTest, ARootPathOfOneBackslashIsSentDoubled) {
    ASSERT_NO_FATAL_FAILURE(Start());
    link->SetCardPath("\\");
    link->ListFolder();
    EXPECT_EQ(emulator.Packets().front(), ListingPacket("\\\\*.*"));
}

TEST_F(LinkTest, LargeFolderArrivesWhole) {
    for (int i = 0; i < 258; ++i) {
        char name[32];
        snprintf(name, sizeof(name), "F%05d.DAT", i);
        AddFile(name, i);
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(link->ListFolder(), 1);
    EXPECT_EQ(int(link->TakeEntries().size()), 258);
    const auto replies = emulator.Replies();
    ASSERT_EQ(replies.size(), 2u);
    EXPECT_EQ(replies[0], "000102");
    EXPECT_EQ(replies[1].size(), 2u * 5163);
}

TEST_F(LinkTest, FolderBeyondTheReplyBufferIsStillReadWhole) {
    for (int i = 0; i < 2600; ++i) {
        char name[32];
        snprintf(name, sizeof(name), "G%05d.DAT", i);
        AddFile(name, 0);
    }
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(link->ListFolder(), 1);
    EXPECT_EQ(int(link->TakeEntries().size()), 2600);
}

TEST_F(LinkTest, PrinterErrorOnAListingWithRecordsEndsTheWork) {
    AddFile("A.JPG", 1);
    AddFile("B.JPG", 2);
    ASSERT_NO_FATAL_FAILURE(Start({"--ir-status", "05"}));
    EXPECT_EQ(link->ListFolder(), 0);
    EXPECT_EQ(owner.errorTextId, 3009);
    EXPECT_EQ(owner.errorCode, 5);
    EXPECT_EQ(owner.Sent(), std::vector<UINT>{3003});
    EXPECT_EQ(int(link->TakeEntries().size()), 2) << "the records that were parsed stay";
}

TEST_F(LinkTest, EmptyFolderIsNotAnErrorWhateverTheStatus) {
    ASSERT_NO_FATAL_FAILURE(Start({"--ir-status", "05"}));
    EXPECT_EQ(link->ListFolder(), 0);
    EXPECT_EQ(owner.errorTextId, 0);
    EXPECT_EQ(owner.Posted(), std::vector<UINT>{3002});
    EXPECT_EQ(emulator.Replies(), (std::vector<std::string>{"050000", "050000"}));
}

TEST_F(LinkTest, EmptyFolderGivesAnEmptyList) {
    ASSERT_NO_FATAL_FAILURE(Start());
    EXPECT_EQ(link->ListFolder(), 0);
    EXPECT_EQ(int(link->TakeEntries().size()), 0);
    EXPECT_EQ(owner.Posted(), std::vector<UINT>{3002});
    EXPECT_EQ(emulator.Replies(), (std::vector<std::string>{"000000", "000000"}));
}

TEST_F(LinkTest, HeaderAnnouncingMoreRecordsThanArriveParsesOnlyWholeOnes) {
    AddFile("A.JPG", 1);
    AddFile("B.JPG", 2);
    ASSERT_NO_FATAL_FAILURE(Start({"--count-extra", "3"}));
    EXPECT_EQ(link->ListFolder(), 1);
    EXPECT_EQ(Names(Entries(*link)), (std::set<std::string>{"A.JPG", "B.JPG"}));
}

TEST_F(LinkTest, HostileRecordsAreNotOffered) {
    AddFile("GOOD.JPG", 1);
    ASSERT_NO_FATAL_FAILURE(Start({"--inject-record", "\\:2e2e202020202020202020:10:0",  // ".."
                                   "--inject-record", "\\:434f4e2020202020202020:20:5",  // "CON"
                                   "--inject-record", "\\:412f422020202020545854:20:5",  // "A/B.TXT"
                                   "--inject-record", "\\:41014220202020204a5047:20:5",  // control byte
                                   "--inject-record", "\\:433a582020202020545854:20:5"}));  // "C:X.TXT"
    EXPECT_EQ(link->ListFolder(), 1);
    EXPECT_EQ(Names(Entries(*link)), std::set<std::string>{"GOOD.JPG"});
}

TEST_F(LinkTest, ListingThatNeverAnswersEndsWithAnEmptyList) {
    AddFile("A.JPG", 1);
    ASSERT_NO_FATAL_FAILURE(Start({"--silence", "1"}));
    EXPECT_EQ(link->ListFolder(), 0);
    EXPECT_EQ(owner.Posted(), std::vector<UINT>{3002});
    EXPECT_EQ(int(link->TakeEntries().size()), 0);
    EXPECT_FALSE(IsLinkBusy());
}

TEST_F(LinkTest, RawListingUsesOneSeparatorAndKeepsEveryRecord) {
    AddFile("DCIM\\100PHOTO\\IMG00001.JPG", 3);
    AddFile("DCIM\\IMG00002.JPG", 4);
    ASSERT_NO_FATAL_FAILURE(Start());
    RawListing root;
    ASSERT_EQ(ReadRawListing(link->GetPort(), "\\", &root), 1);
    EXPECT_EQ(root.count, 1);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(root.records), 11), "DCIM       ");
    FreeRawListing(root);

    RawListing folder;
    ASSERT_EQ(ReadRawListing(link->GetPort(), "\\DCIM", &folder), 1);
    EXPECT_EQ(folder.status, 0);
    EXPECT_EQ(folder.count, 4) << "\".\" and \"..\" are handed back too";
    FreeRawListing(folder);

    const std::vector<std::string> rootPacket(2, ListingPacket("\\*.*"));
    const std::vector<std::string> dcimPacket(2, ListingPacket("\\DCIM\\*.*"));
    auto packets = emulator.Packets();
    EXPECT_EQ(std::vector<std::string>(packets.begin(), packets.begin() + 2), rootPacket);
    EXPECT_EQ(std::vector<std::string>(packets.begin() + 2, packets.end()), dcimPacket);
}
