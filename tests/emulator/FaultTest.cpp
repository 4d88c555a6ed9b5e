// Every fault option, seen from the PC's end of a real pty.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ByteHex.h"
#include "TestSupport.h"

namespace {

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mkdir((m_dir / "card").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((m_dir / "card/DCIM").c_str(), 0755), 0);
        m_aPhoto = PatternBytes(3000, 11);
        WriteFileBytes(m_dir / "card/DCIM/IMG0001.JPG", m_aPhoto);
    }

    void Start(std::vector<std::string> aOptions) {
        aOptions.insert(aOptions.begin(), {"--card-dir", m_dir / "card"});
        ASSERT_TRUE(m_emulator.Start(aOptions));
        ASSERT_TRUE(m_port.Open(m_emulator.LinkPath()));
    }

    Bytes Photo(size_t nFrom, size_t nCount) {
        return Bytes(m_aPhoto.begin() + static_cast<std::ptrdiff_t>(nFrom),
                     m_aPhoto.begin() + static_cast<std::ptrdiff_t>(nFrom + nCount));
    }

    Bytes OpenPhoto() { return m_port.Exchange(PacketFo("\\DCIM\\IMG0001.JPG"), 5); }

    bool LinkExists() const { return access(m_emulator.LinkPath().c_str(), F_OK) == 0; }

    CTempDir m_dir;
    Bytes m_aPhoto;
    CEmulatorProcess m_emulator;
    CPcPort m_port;
};

const Bytes PHOTO_OPENED{0x00, 0x00, 0x00, 0x0B, 0xB8};

TEST_F(FaultTest, StatusListsAnswerSuccessiveCommandsThenZero) {
    Start({"--sr-status", "01,01", "--sc-status", "10,10,10", "--fo-status", "ff,07"});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x01});
    EXPECT_EQ(m_port.Exchange(PacketSr(0xFF), 1), Bytes{0x00});  // the farewell takes no status
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x01});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    for (int i = 0; i < 3; ++i) EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));

    EXPECT_EQ(OpenPhoto(), (Bytes{0xFF, 0, 0, 0, 0}));
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 1), Bytes{0xFF});
    // An error code other than a refusal still opens the file.
    EXPECT_EQ(OpenPhoto(), (Bytes{0x07, 0x00, 0x00, 0x0B, 0xB8}));
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 11), Concat({0x00}, Photo(0, 10)));
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);

    ASSERT_EQ(m_emulator.Reset({"--card-dir", m_dir / "card", "--sc-status", "21"}), "ok");
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x21, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
}

TEST_F(FaultTest, ListingAndReadStatusBytesAreReplaced) {
    Start({"--ir-status", "05", "--fr-status", "33"});
    uint8_t nStatus = 0;
    const std::vector<WireRecord> aRecords = m_port.List("\\*.*", &nStatus);
    EXPECT_EQ(nStatus, 0x05);
    ASSERT_EQ(aRecords.size(), 1u);
    EXPECT_EQ(aRecords[0].Name(), "DCIM");
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    EXPECT_EQ(m_port.Exchange(PacketFr(5), 6), Concat({0x33}, Photo(0, 5)));
}

TEST_F(FaultTest, CountExtraAnnouncesRecordsThatNeverCome) {
    Start({"--count-extra", "2"});
    EXPECT_EQ(m_port.Exchange(PacketIr("\\DCIM\\*.*"), 3), (Bytes{0x00, 0x00, 0x05}));
    m_port.Send(PacketIr("\\DCIM\\*.*"));
    const Bytes aReply = m_port.Receive(63);
    ASSERT_EQ(aReply.size(), 63u);
    EXPECT_EQ(Bytes(aReply.begin(), aReply.begin() + 3), (Bytes{0x00, 0x00, 0x05}));
    ASSERT_TRUE(m_emulator.WaitForLogLine("< " + ToHex(aReply)));
    EXPECT_EQ(m_port.Waiting(), 0u);
}

TEST_F(FaultTest, InjectedRecordsAreAppendedByteForByte) {
    Start({"--inject-record", "\\DCIM:2e2e2f2f202020202020ff:10:0", "--inject-record",
           "\\\\dcim\\:434f4e20202020200d0a00:21:4294967295", "--inject-record",
           "\\:2f2f2f2f2f2f2f2f2f2f2f:20:7"});
    const std::vector<WireRecord> aDcim = m_port.List("\\DCIM\\*.*");
    ASSERT_EQ(aDcim.size(), 5u);
    EXPECT_EQ(aDcim[2].Name(), "IMG0001.JPG");
    const ShortName aDots{0x2e, 0x2e, 0x2f, 0x2f, 0x20, 0x20, 0x20, 0x20, 0x20, 0x20, 0xff};
    EXPECT_EQ(aDcim[3].m_name, aDots);
    EXPECT_EQ(aDcim[3].m_nAttributes, 0x10);
    EXPECT_EQ(aDcim[3].m_nSize, 0u);
    const ShortName aControl{'C', 'O', 'N', ' ', ' ', ' ', ' ', ' ', 0x0d, 0x0a, 0x00};
    EXPECT_EQ(aDcim[4].m_name, aControl);
    EXPECT_EQ(aDcim[4].m_nAttributes, 0x21);
    EXPECT_EQ(aDcim[4].m_nSize, 4294967295u);

    const std::vector<WireRecord> aRoot = m_port.List("\\*.*");
    ASSERT_EQ(aRoot.size(), 2u);
    ShortName aSlashes;
    aSlashes.fill('/');
    EXPECT_EQ(aRoot[1].m_name, aSlashes);
    EXPECT_EQ(aRoot[1].m_nSize, 7u);

    // On an empty card, and in a folder that does not exist.
    ASSERT_EQ(m_emulator.Reset({"--inject-record", "\\GHOST:4142432020202020202020:20:1"}), "ok");
    ASSERT_EQ(m_port.List("\\GHOST\\*.*").size(), 1u);
    EXPECT_TRUE(m_port.List("\\*.*").empty());
}

TEST_F(FaultTest, CutSendsTheStartAndReadsAdvanceOnlyBySentData) {
    Start({"--cut", "2:3", "--cut", "4:101"});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    m_port.Send(PacketFo("\\DCIM\\IMG0001.JPG"));
    EXPECT_EQ(m_port.Receive(3), (Bytes{0x00, 0x00, 0x00}));
    ASSERT_TRUE(m_emulator.WaitForLogLine("# exchange 2: cut to 3 of 5 bytes"));
    EXPECT_EQ(m_port.Waiting(), 0u);

    EXPECT_EQ(m_port.Exchange(PacketFr(10), 11), Concat({0x00}, Photo(0, 10)));
    m_port.Send(PacketFr(1000));
    EXPECT_EQ(m_port.Receive(101), Concat({0x00}, Photo(10, 100)));
    ASSERT_TRUE(m_emulator.WaitForLogLine("# exchange 4: cut to 101 of 1001 bytes"));
    EXPECT_EQ(m_port.Waiting(), 0u);
    EXPECT_EQ(m_port.Exchange(PacketFr(1000), 1001), Concat({0x00}, Photo(110, 1000)));
}

TEST_F(FaultTest, SplitSendsEverythingInTwoLoggedParts) {
    Start({"--split", "1:2:150", "--split", "3:400:100"});
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    EXPECT_EQ(m_port.Exchange(PacketFr(5), 6), Concat({0x00}, Photo(0, 5)));
    EXPECT_EQ(m_port.Exchange(PacketFr(1000), 1001), Concat({0x00}, Photo(5, 1000)));
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 11), Concat({0x00}, Photo(1005, 10)));
    ASSERT_TRUE(m_emulator.WaitForLogLine("> 1b46520000000a"));
    const std::vector<std::string> aLog = m_emulator.Log();
    ASSERT_GE(aLog.size(), 5u);
    EXPECT_EQ(aLog[1], "# exchange 1: split after 2 of 5 bytes, pause 150 ms");
    EXPECT_EQ(aLog[2], "< 0000");
    EXPECT_EQ(aLog[3], "< 000bb8");
}

TEST_F(FaultTest, SilenceSendsNothingAndKeepsTheReadPosition) {
    Start({"--silence", "1", "--silence", "3"});
    m_port.Send(PacketSr(0x00));
    ASSERT_TRUE(m_emulator.WaitForLogLine("# exchange 1: silence instead of 1 bytes"));
    EXPECT_EQ(m_port.Waiting(), 0u);
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    m_port.Send(PacketFr(100));
    ASSERT_TRUE(m_emulator.WaitForLogLine("# exchange 3: silence instead of 101 bytes"));
    EXPECT_EQ(m_port.Waiting(), 0u);
    EXPECT_EQ(m_port.Exchange(PacketFr(100), 101), Concat({0x00}, Photo(0, 100)));
}

TEST_F(FaultTest, GarbageReplacesTheReplyWhateverItsLength) {
    Start({"--garbage", "1:0102030405", "--garbage", "2:ab", "--garbage", "3:deadbeef"});
    EXPECT_EQ(OpenPhoto(), (Bytes{0x01, 0x02, 0x03, 0x04, 0x05}));
    m_port.Send(PacketSc());
    ASSERT_TRUE(m_emulator.WaitForLogLine("< ab"));
    EXPECT_EQ(m_port.Receive(1), Bytes{0xAB});
    EXPECT_EQ(m_port.Waiting(), 0u);
    // Bytes the PC does not read stay in the port, as any pty keeps them.
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0xDE});
    ASSERT_TRUE(m_emulator.WaitForLogLine("< deadbeef"));
    EXPECT_EQ(m_port.Waiting(), 3u);
    const std::vector<std::string> aExpected = {
        "> " + ToHex(PacketFo("\\DCIM\\IMG0001.JPG")),
        "# exchange 1: garbage 0102030405 instead of 5 bytes",
        "< 0102030405",
        "> 1b5343",
        "# exchange 2: garbage ab instead of 2 bytes",
        "< ab",
        "> 1b535200",
        "# exchange 3: garbage deadbeef instead of 1 bytes",
        "< deadbeef"};
    EXPECT_EQ(m_emulator.Log(), aExpected);
}

TEST_F(FaultTest, ANewCommandDropsWhatIsStillQueuedOfTheLastReply) {
    Start({"--split", "2:3:60000"});
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    m_port.Send(PacketFr(100));
    EXPECT_EQ(m_port.Receive(3), Concat({0x00}, Photo(0, 2)));
    // The PC gives up on the rest and asks again; the paused part never comes, and the
    // printer's position holds only what went out.
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 11), Concat({0x00}, Photo(2, 10)));
    ASSERT_TRUE(m_emulator.WaitForLogLine("# dropped 98 reply bytes not yet sent"));
}

TEST_F(FaultTest, DisconnectClosesThePortUntilTheNextReset) {
    Start({"--disconnect", "2:3"});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    m_port.Send(PacketFo("\\DCIM\\IMG0001.JPG"));
    EXPECT_EQ(m_port.Receive(5), (Bytes{0x00, 0x00, 0x00}));  // three bytes, then the end
    EXPECT_TRUE(m_port.SeesHangup());
    EXPECT_TRUE(WaitFor([&] { return !LinkExists(); }, std::chrono::milliseconds(5000)));
    ASSERT_TRUE(m_emulator.WaitForLogLine("# disconnect: port closed, link removed"));

    ASSERT_EQ(m_emulator.Reset({"--card-dir", m_dir / "card", "--disconnect", "1"}), "ok");
    ASSERT_TRUE(LinkExists());
    CPcPort again;
    ASSERT_TRUE(again.Open(m_emulator.LinkPath()));
    again.Send(PacketSr(0x00));
    EXPECT_TRUE(again.Receive(1).empty());
    EXPECT_TRUE(again.SeesHangup());

    ASSERT_EQ(m_emulator.Reset({}), "ok");
    CPcPort third;
    ASSERT_TRUE(third.Open(m_emulator.LinkPath()));
    EXPECT_EQ(third.Exchange(PacketSr(0x00), 1), Bytes{0x00});
}

TEST_F(FaultTest, SlowRateKeepsTheControlChannelAnswering) {
    Start({"--rate", "1000"});
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    m_port.Send(PacketFr(3000));
    // Three seconds of reply are under way; the control channel answers meanwhile.
    ASSERT_TRUE(m_emulator.WaitForLogLine("> 1b465200000bb8"));
    EXPECT_LT(m_port.Waiting(), 3001u);
    const Bytes aReply = m_port.Receive(3001, std::chrono::milliseconds(20000));
    EXPECT_EQ(aReply, Concat({0x00}, m_aPhoto));
}

TEST_F(FaultTest, NoPortLeavesNoLinkUntilAResetWithout) {
    ASSERT_TRUE(m_emulator.Start({"--no-port"}));
    EXPECT_FALSE(LinkExists());
    ASSERT_EQ(m_emulator.Reset({"--card-dir", m_dir / "card"}), "ok");
    ASSERT_TRUE(LinkExists());
    CPcPort port;
    ASSERT_TRUE(port.Open(m_emulator.LinkPath()));
    EXPECT_EQ(port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    ASSERT_EQ(m_emulator.Reset({"--no-port"}), "ok");
    EXPECT_FALSE(LinkExists());
}

}  // namespace
