// The protocol as the PC sees it, through a real pty and the real emulator program.
#include <sys/stat.h>

#include "ByteHex.h"
#include "TestSupport.h"

namespace {

class ProtocolTest : public EmulatorTest {
protected:
    void SetUp() override {
        m_aPhoto = PatternBytes(60000, 7);
        WriteFileBytes(Card() + "/DCIM/100PHOTO/IMG0001.JPG", m_aPhoto);
        WriteFileBytes(Card() + "/README.TXT", PatternBytes(3, 9));
        ASSERT_EQ(mkdir((Card() + "/EMPTY").c_str(), 0755), 0);
        Start({"--card-dir", Card()});
    }

    Bytes m_aPhoto;
};

TEST_F(ProtocolTest, GreetingStatusFarewellAndStrayBytesAreAnsweredAndLoggedExactly) {
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
    // Bytes that start no packet are skipped; a packet in pieces is answered once whole.
    m_port.Send({'A', 'B', 0x1B, 'S'});
    EXPECT_EQ(Log().size(), 4u);  // the round trip lets the emulator take this piece alone
    EXPECT_EQ(m_port.Exchange({'R', 0xFF}, 1), Bytes{0x00});
    ASSERT_TRUE(WaitForLog("> 1b5352ff"));
    EXPECT_EQ(Log(), (std::vector<std::string>{"> 1b535200", "< 00", "> 1b5343", "< 0000", "? 4142",
                                               "> 1b5352ff", "< 00"}));
}

TEST_F(ProtocolTest, ListingPairIsHeaderAloneThenHeaderAndRecords) {
    const Bytes aRoot = PacketIr("\\*.*");
    const Bytes aHeader{0x00, 0x00, 0x03};
    EXPECT_EQ(m_port.Exchange(aRoot, 3), aHeader);
    const Bytes aFull = m_port.Exchange(aRoot, 63);
    // A third identical IR begins a new pair; so does one after another packet or pattern.
    EXPECT_EQ(m_port.Exchange(aRoot, 3), aHeader);
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
    EXPECT_EQ(m_port.Exchange(aRoot, 3), aHeader);
    EXPECT_EQ(m_port.Exchange(PacketIr("\\EMPTY\\*.*"), 3), (Bytes{0x00, 0x00, 0x02}));
    ASSERT_TRUE(WaitFor([&] { return Log().size() == 12; }));
    EXPECT_EQ(m_port.Waiting(), 0u);
    const std::vector<std::string> aLog = Log();
    for (size_t i : {1, 5, 9}) EXPECT_EQ(aLog[i], "< 000003") << i;
    EXPECT_EQ(aLog[3], "< " + ToHex(aFull));
    // An unknown folder lists as empty, and the PC's doubled separator names the root.
    EXPECT_EQ(m_port.Exchange(PacketIr("\\NOPE\\*.*"), 3), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketIr("\\NOPE\\*.*"), 3), (Bytes{0x00, 0x00, 0x00}));

    const std::vector<CardRecord> aRecords = List(m_port, "\\\\*.*");
    ASSERT_EQ(NamesOf(aRecords), (Names{"DCIM", "EMPTY", "README.TXT"}));
    EXPECT_EQ(aRecords[0].m_nAttributes, 0x10);
    EXPECT_EQ(aRecords[2].m_nAttributes, 0x20);
    EXPECT_EQ(aRecords[2].m_nSize, 3u);
}

TEST_F(ProtocolTest, FileIsReadFromThePrintersPositionAndOnlyWhenOpen) {
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 1), Bytes{0xFF});  // nothing open yet
    const Bytes aOpened{0x00, 0x00, 0x00, 0xEA, 0x60};
    EXPECT_EQ(m_port.Exchange(PacketFo("\\DCIM\\100PHOTO\\IMG0001.JPG"), 5), aOpened);
    Bytes aReceived;
    // The last request asks for more than is left and gets the rest; then the status alone.
    for (uint32_t nChunk : {5120u, 46125u, 1u, 46125u, 5120u}) {
        const size_t nExpected = std::min<size_t>(nChunk, m_aPhoto.size() - aReceived.size());
        const Bytes aReply = m_port.Exchange(PacketFr(nChunk), nExpected + 1);
        ASSERT_EQ(aReply.size(), nExpected + 1);
        EXPECT_EQ(aReply[0], 0x00);
        aReceived.insert(aReceived.end(), aReply.begin() + 1, aReply.end());
    }
    EXPECT_EQ(aReceived, m_aPhoto);
    // Opening again starts from the beginning.
    EXPECT_EQ(m_port.Exchange(PacketFo("\\dcim\\100photo\\img0001.jpg"), 5), aOpened);
    EXPECT_EQ(m_port.Exchange(PacketFr(100), 101), Reply(0x00, m_aPhoto, 0, 100));
    // Folders and missing files are refused, and a refusal closes the file opened before.
    for (const char* pszPath : {"\\DCIM\\100PHOTO", "\\DCIM\\NOPE.JPG", ""}) {
        EXPECT_EQ(m_port.Exchange(PacketFo(pszPath), 5), (Bytes{0xFF, 0, 0, 0, 0})) << pszPath;
        EXPECT_EQ(m_port.Exchange(PacketFr(10), 1), Bytes{0xFF});
    }
}

}  // namespace
