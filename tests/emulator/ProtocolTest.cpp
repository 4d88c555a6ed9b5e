// The printer's side of the protocol through a real pty and the real emulator program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "ByteHex.h"
#include "TestSupport.h"

namespace {

class ProtocolTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(mkdir((m_dir / "card").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((m_dir / "card/DCIM").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((m_dir / "card/DCIM/100PHOTO").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((m_dir / "card/EMPTY").c_str(), 0755), 0);
        m_aPhoto = PatternBytes(60000, 7);
        WriteFileBytes(m_dir / "card/DCIM/100PHOTO/IMG0001.JPG", m_aPhoto);
        WriteFileBytes(m_dir / "card/DCIM/100PHOTO/IMG0002.JPG", PatternBytes(10, 8));
        WriteFileBytes(m_dir / "card/README.TXT", PatternBytes(3, 9));
        ASSERT_TRUE(m_emulator.Start({"--card-dir", m_dir / "card"}));
        ASSERT_TRUE(m_port.Open(m_emulator.LinkPath()));
    }

    Bytes OpenPhoto() { return m_port.Exchange(PacketFo("\\DCIM\\100PHOTO\\IMG0001.JPG"), 5); }

    CTempDir m_dir;
    Bytes m_aPhoto;
    CEmulatorProcess m_emulator;
    CPcPort m_port;
};

TEST_F(ProtocolTest, GreetingStatusAndFarewellAreLoggedExactly) {
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0x00});
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketSr(0xFF), 1), Bytes{0x00});
    const std::vector<std::string> aExpected = {"> 1b535200", "< 00",       "> 1b5343",
                                                "< 0000",     "> 1b5352ff", "< 00"};
    EXPECT_EQ(m_emulator.Log(), aExpected);
}

TEST_F(ProtocolTest, ListingPairSendsHeaderFirstThenHeaderAndRecords) {
    const Bytes aPattern = PacketIr("\\*.*");
    EXPECT_EQ(m_port.Exchange(aPattern, 3), (Bytes{0x00, 0x00, 0x03}));
    ASSERT_TRUE(m_emulator.WaitForLogLine("< 000003"));
    EXPECT_EQ(m_port.Waiting(), 0u) << "the first IR of a pair is answered with the header alone";

    const Bytes aFull = m_port.Exchange(aPattern, 3 + 60);
    ASSERT_EQ(aFull.size(), 63u);
    const std::vector<WireRecord> aRecords = ParseRecords(aFull, 3, 3);
    EXPECT_EQ(aRecords[0].Name(), "DCIM");
    EXPECT_EQ(aRecords[0].m_nAttributes, 0x10);
    EXPECT_EQ(aRecords[1].Name(), "EMPTY");
    EXPECT_EQ(aRecords[2].Name(), "README.TXT");
    EXPECT_EQ(aRecords[2].m_nAttributes, 0x20);
    EXPECT_EQ(aRecords[2].m_nSize, 3u);

    // A third identical IR begins a new pair.
    EXPECT_EQ(m_port.Exchange(aPattern, 3), (Bytes{0x00, 0x00, 0x03}));
    ASSERT_TRUE(m_emulator.WaitForLogLine("> " + ToHex(aPattern)));
    const std::vector<std::string> aLog = m_emulator.Log();
    ASSERT_EQ(aLog.size(), 6u);
    EXPECT_EQ(aLog[5], "< 000003");
}

TEST_F(ProtocolTest, AnotherCommandBetweenTwoListingsBreaksThePair) {
    EXPECT_EQ(m_port.Exchange(PacketIr("\\DCIM\\*.*"), 3), (Bytes{0x00, 0x00, 0x03}));
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x00, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketIr("\\DCIM\\*.*"), 3), (Bytes{0x00, 0x00, 0x03}));
    EXPECT_EQ(m_port.Exchange(PacketIr("\\EMPTY\\*.*"), 3), (Bytes{0x00, 0x00, 0x02}));
    ASSERT_TRUE(m_emulator.WaitForLogLine("< 000002"));
    EXPECT_EQ(m_port.Waiting(), 0u);
}

TEST_F(ProtocolTest, ListingPathsAreCaseBlindWithDoubledSeparators) {
    const std::vector<WireRecord> aPlain = m_port.List("\\DCIM\\100PHOTO\\*.*");
    ASSERT_EQ(aPlain.size(), 4u);
    EXPECT_EQ(aPlain[0].Name(), ".");
    EXPECT_EQ(aPlain[1].Name(), "..");
    EXPECT_EQ(aPlain[2].Name(), "IMG0001.JPG");
    EXPECT_EQ(aPlain[2].m_nSize, 60000u);
    EXPECT_EQ(aPlain[3].Name(), "IMG0002.JPG");

    const std::vector<WireRecord> aOdd = m_port.List("\\\\dcim\\\\100photo\\*.*");
    ASSERT_EQ(aOdd.size(), aPlain.size());
    EXPECT_EQ(m_port.List("\\\\*.*").size(), 3u);  // the root as the PC sends it
}

TEST_F(ProtocolTest, UnknownFolderListsAsEmptyWithStatusZero) {
    EXPECT_EQ(m_port.Exchange(PacketIr("\\NOPE\\*.*"), 3), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketIr("\\NOPE\\*.*"), 3), (Bytes{0x00, 0x00, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketIr("\\README.TXT\\*.*"), 3), (Bytes{0x00, 0x00, 0x00}));
}

TEST_F(ProtocolTest, FileIsReadInChunksFromThePrintersPosition) {
    EXPECT_EQ(OpenPhoto(), (Bytes{0x00, 0x00, 0x00, 0xEA, 0x60}));
    Bytes aReceived;
    for (uint32_t nChunk : {5120u, 46125u, 1u}) {
        const Bytes aReply = m_port.Exchange(PacketFr(nChunk), nChunk + 1);
        ASSERT_EQ(aReply.size(), nChunk + 1);
        EXPECT_EQ(aReply[0], 0x00);
        aReceived.insert(aReceived.end(), aReply.begin() + 1, aReply.end());
    }
    // Asking for more than is left brings the rest; past the end only the status byte.
    const Bytes aRest = m_port.Exchange(PacketFr(46125), 60000 - 51246 + 1);
    ASSERT_EQ(aRest.size(), 60000u - 51246 + 1);
    aReceived.insert(aReceived.end(), aRest.begin() + 1, aRest.end());
    EXPECT_EQ(aReceived, m_aPhoto);
    EXPECT_EQ(m_port.Exchange(PacketFr(5120), 1), Bytes{0x00});
    ASSERT_TRUE(m_emulator.WaitForLogLine("> 1b465200001400"));
    EXPECT_EQ(m_emulator.Log().back(), "< 00");
}

TEST_F(ProtocolTest, OpeningAgainStartsFromTheBeginning) {
    OpenPhoto();
    EXPECT_EQ(m_port.Exchange(PacketFr(100), 101),
              Concat({0x00}, Bytes(m_aPhoto.begin(), m_aPhoto.begin() + 100)));
    EXPECT_EQ(m_port.Exchange(PacketFo("\\dcim\\100photo\\img0001.jpg"), 5),
              (Bytes{0x00, 0x00, 0x00, 0xEA, 0x60}));
    EXPECT_EQ(m_port.Exchange(PacketFr(100), 101),
              Concat({0x00}, Bytes(m_aPhoto.begin(), m_aPhoto.begin() + 100)));
}

TEST_F(ProtocolTest, OpenIsRefusedForFoldersAndMissingFilesAndReadThenFails) {
    const Bytes aRefused{0xFF, 0x00, 0x00, 0x00, 0x00};
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 1), Bytes{0xFF});  // nothing opened yet
    EXPECT_EQ(m_port.Exchange(PacketFo("\\DCIM\\100PHOTO"), 5), aRefused);
    EXPECT_EQ(m_port.Exchange(PacketFo("\\DCIM\\100PHOTO\\NOPE.JPG"), 5), aRefused);
    EXPECT_EQ(m_port.Exchange(PacketFo(""), 5), aRefused);
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 1), Bytes{0xFF});
    ASSERT_TRUE(m_emulator.WaitForLogLine("> 1b46520000000a"));
    EXPECT_EQ(m_emulator.Log().back(), "< ff");
    // A refused open also closes the file opened before it.
    OpenPhoto();
    m_port.Exchange(PacketFo("\\NOPE"), 5);
    EXPECT_EQ(m_port.Exchange(PacketFr(10), 1), Bytes{0xFF});
}

TEST_F(ProtocolTest, PacketsArrivingInPiecesAreAnsweredOnceWhole) {
    const Bytes aPacket = PacketFo("\\DCIM\\100PHOTO\\IMG0002.JPG");
    for (size_t i = 0; i + 1 < aPacket.size(); ++i) {
        m_port.Send(Bytes{aPacket[i]});
        // A round trip on the control channel lets the emulator take each piece on its own.
        EXPECT_TRUE(m_emulator.Log().empty()) << "answered after " << i + 1 << " bytes";
    }
    EXPECT_EQ(m_port.Waiting(), 0u);
    m_port.Send(Bytes{aPacket.back()});
    EXPECT_EQ(m_port.Receive(5), (Bytes{0x00, 0x00, 0x00, 0x00, 0x0A}));
    EXPECT_EQ(m_emulator.Log(), (std::vector<std::string>{"> " + ToHex(aPacket), "< 000000000a"}));
}

TEST_F(ProtocolTest, GarbageIsSkippedToTheNextEscapeAndLogged) {
    m_port.Send(
        Bytes{0x41, 0x42, 0x43, 0x1B, 0x5A, 0x5A, 0x00});  // text, then ESC with unknown letters
    m_port.Send(PacketSr(0x00));
    EXPECT_EQ(m_port.Receive(1), Bytes{0x00});
    m_port.Send(Bytes{0x1B, 0x1B, 'S', 'C'});  // a lone ESC right before a packet
    EXPECT_EQ(m_port.Receive(2), (Bytes{0x00, 0x00}));
    ASSERT_TRUE(m_emulator.WaitForLogLine("< 0000"));
    const std::vector<std::string> aExpected = {"? 4142431b5a5a00", "> 1b535200", "< 00", "? 1b",
                                                "> 1b5343",         "< 0000"};
    EXPECT_EQ(m_emulator.Log(), aExpected);
}

TEST_F(ProtocolTest, LogFileHoldsTheSameLines) {
    m_port.Exchange(PacketSr(0x00), 1);
    m_port.Exchange(PacketSc(), 2);
    ASSERT_TRUE(m_emulator.WaitForLogLine("< 0000"));
    const Bytes aFile = ReadFileBytes(m_emulator.LogPath());
    EXPECT_EQ(std::string(aFile.begin(), aFile.end()), "> 1b535200\n< 00\n> 1b5343\n< 0000\n");
}

}  // namespace
