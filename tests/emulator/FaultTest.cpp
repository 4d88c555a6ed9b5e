// Every fault kind once, seen from the PC's end of a real pty.
#include "ByteHex.h"
#include "TestSupport.h"

namespace {

class FaultTest : public EmulatorTest {
protected:
    void SetUp() override {
        m_aPhoto = PatternBytes(3000, 11);
        WriteFileBytes(Card() + "/DCIM/IMG0001.JPG", m_aPhoto);
    }

    void StartWith(std::vector<std::string> aOptions) {
        aOptions.insert(aOptions.begin(), {"--card-dir", Card()});
        Start(aOptions);
    }
    Bytes OpenPhoto() { return m_port.Exchange(PacketFo("\\DCIM\\IMG0001.JPG"), 5); }
    Bytes Read(uint32_t nCount) { return m_port.Exchange(PacketFr(nCount), nCount + 1); }
    Bytes Data(size_t nFrom, size_t nCount, uint8_t nStatus = 0x00) {
        return Reply(nStatus, m_aPhoto, nFrom, nCount);
    }

    Bytes m_aPhoto;
    const Bytes PHOTO_OPENED{0x00, 0x00, 0x00, 0x0B, 0xB8};
};

TEST_F(FaultTest, StatusListsAnswerSuccessiveCommandsThenZero) {
    StartWith({"--sr-status", "01", "--sc-status", "10,21", "--fo-status", "ff,07", "--ir-status",
               "05", "--fr-status", "33"});
    EXPECT_EQ(m_port.Exchange(PacketSr(0xFF), 1), Bytes{0x00});  // the farewell takes none
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x01});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x21, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
    EXPECT_EQ(OpenPhoto(), (Bytes{0xFF, 0, 0, 0, 0}));
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 1), Bytes{0xFF});
    // An error code other than a refusal still opens the file.
    EXPECT_EQ(OpenPhoto(), (Bytes{0x07, 0x00, 0x00, 0x0B, 0xB8}));
    EXPECT_EQ(Read(5), Data(0, 5, 0x33));
    uint8_t nStatus = 0;
    EXPECT_EQ(NamesOf(List(m_port, "\\*.*", &nStatus)), Names{"DCIM"});
    EXPECT_EQ(nStatus, 0x05);
}

TEST_F(FaultTest, ListingAnnouncesExtraRecordsAndCarriesInjectedOnesByteForByte) {
    StartWith({"--count-extra", "2", "--inject-record", "\\\\dcim\\:2e2e2f2f0d0a20202020ff:10:7"});
    EXPECT_EQ(m_port.Exchange(PacketIr("\\DCIM\\*.*"), 3), (Bytes{0x00, 0x00, 0x06}));
    const Bytes aReply = m_port.Exchange(PacketIr("\\DCIM\\*.*"), 3 + 4 * 20);
    ASSERT_EQ(aReply.size(), 83u);
    EXPECT_EQ(ToHex(Bytes(aReply.begin() + 63, aReply.end())),
              "2e2e2f2f0d0a20202020ff100000000007000000");
    ASSERT_TRUE(WaitForLog("< " + ToHex(aReply)));
    EXPECT_EQ(m_port.Waiting(), 0u);
}

TEST_F(FaultTest, CutSendsTheStartAndTheReadPositionMovesBySentDataOnly) {
    StartWith({"--cut", "2:3", "--cut", "4:101"});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    m_port.Send(PacketFo("\\DCIM\\IMG0001.JPG"));
    EXPECT_EQ(m_port.Receive(3), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(Read(10), Data(0, 10));
    m_port.Send(PacketFr(1000));
    EXPECT_EQ(m_port.Receive(101), Data(10, 100));
    EXPECT_EQ(Read(1000), Data(110, 1000));
}

TEST_F(FaultTest, SplitPausesAndANewCommandDropsWhatIsStillQueued) {
    StartWith({"--split", "1:2:100", "--split", "3:3:60000"});
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    EXPECT_EQ(Read(5), Data(0, 5));
    m_port.Send(PacketFr(100));
    EXPECT_EQ(m_port.Receive(3), Data(5, 2));
    // The PC gives up on the rest; the printer's position holds only what went out.
    EXPECT_EQ(Read(10), Data(7, 10));
    ASSERT_TRUE(WaitForLog("# dropped 98 reply bytes not yet sent"));
    const std::vector<std::string> aLog = Log();  // each part is logged as it goes
    EXPECT_EQ(aLog.at(2) + aLog.at(3), "< 0000< 000bb8");
}

TEST_F(FaultTest, AListingHeaderThePcNeverGotWholeBeginsNoPair) {
    StartWith({"--silence", "1", "--cut", "4:1"});
    const Bytes aRoot = PacketIr("\\*.*");
    const Bytes aHeader{0x00, 0x00, 0x01};
    m_port.Send(aRoot);
    ASSERT_TRUE(WaitForLog("# exchange 1: silence instead of 3 bytes"));
    // The PC gave that listing up, so its next request of the folder is a first one again.
    EXPECT_EQ(m_port.Exchange(aRoot, 3), aHeader);
    ASSERT_TRUE(WaitForLog("< 000001"));
    EXPECT_EQ(m_port.Waiting(), 0u);
    EXPECT_EQ(m_port.Exchange(aRoot, 23).size(), 23u);
    EXPECT_EQ(m_port.Exchange(aRoot, 1), Bytes{0x00});  // a header cut short
    EXPECT_EQ(m_port.Exchange(aRoot, 3), aHeader);
    EXPECT_EQ(m_port.Waiting(), 0u);
}

TEST_F(FaultTest, SilenceSendsNothingAndGarbageIsSentWhateverItsLength) {
    StartWith({"--silence", "2", "--garbage", "4:deadbeef"});
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    m_port.Send(PacketFr(100));
    ASSERT_TRUE(WaitForLog("# exchange 2: silence instead of 101 bytes"));
    EXPECT_EQ(m_port.Waiting(), 0u);
    EXPECT_EQ(Read(100), Data(0, 100));
    // What the PC does not read of the garbage stays in the port.
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0xDE});
    ASSERT_TRUE(WaitForLog("< deadbeef"));
    EXPECT_EQ(m_port.Waiting(), 3u);
}

TEST_F(FaultTest, ExtraBytesFollowTheWholeReply) {
    StartWith({"--extra", "1:abcd"});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 3), (Bytes{0x00, 0xAB, 0xCD}));
}

TEST_F(FaultTest, DisconnectClosesThePortAndRemovesTheLinkUntilAResetWithAPort) {
    StartWith({"--disconnect", "2:3"});
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    EXPECT_EQ(OpenPhoto(), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_TRUE(m_port.HungUp());
    ASSERT_TRUE(WaitForLog("# disconnect: port closed, link removed"));
    EXPECT_FALSE(fs::is_symlink(Link()));
    // A reset brings the port back, unless it asks for none.
    ASSERT_EQ(Reset({"--no-port"}), "ok");
    EXPECT_FALSE(fs::is_symlink(Link()));
    ASSERT_EQ(Reset({}), "ok");
    ASSERT_TRUE(m_port.Open(Link()));
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
}

TEST_F(FaultTest, StatusFaultReplacesTheFirstByteAtTheNamedExchangesOnly) {
    StartWith({"--status", "1:10", "--status", "2:05", "--status", "3:06", "--status", "4:07",
               "--status", "5:08", "--status", "7:ff"});
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketIr("\\*.*"), 3), (Bytes{0x05, 0x00, 0x01}));
    EXPECT_EQ(m_port.Exchange(PacketIr("\\*.*"), 23)[0], 0x06);
    EXPECT_EQ(OpenPhoto(), (Bytes{0x07, 0x00, 0x00, 0x0B, 0xB8}));
    EXPECT_EQ(Read(4), Data(0, 4, 0x08));
    EXPECT_EQ(Read(4), Data(4, 4));
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0xFF});
    ASSERT_TRUE(WaitForLog("# exchange 7: status ff instead of 00"));
}

TEST_F(FaultTest, SlowLinkPacesTheReplyWithItsStatusFaultAndKeepsControlAnswering) {
    StartWith({"--rate", "10000", "--status", "2:21"});
    EXPECT_EQ(OpenPhoto(), PHOTO_OPENED);
    const auto tStart = std::chrono::steady_clock::now();
    m_port.Send(PacketFr(3000));
    ASSERT_TRUE(WaitForLog("> 1b465200000bb8"));
    EXPECT_EQ(m_port.Receive(3001), Data(0, 3000, 0x21));
    EXPECT_GE(std::chrono::steady_clock::now() - tStart, std::chrono::milliseconds(250));
}

}  // namespace
