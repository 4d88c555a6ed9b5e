// The control channel as the Windows tests use it: reset to a scenario, read the packet log.
#include <fstream>
#include <sstream>

#include "TestSupport.h"

namespace {

class ControlChannelTest : public EmulatorTest {};

TEST_F(ControlChannelTest, ResetReplacesTheWholeScenarioAndDropsPendingBytesOrFailsAndKeepsIt) {
    WriteFileBytes(Card() + "/one/A.TXT", PatternBytes(1, 1));
    WriteFileBytes(Card() + "/two/B.TXT", PatternBytes(2, 2));
    std::vector<std::string> aOptions = {"--card-dir", Card() + "/one", "--sc-status",
                                         "10",         "--garbage",     "2:aa"};
    Start(aOptions);
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0xAA});
    EXPECT_EQ(m_port.Exchange(PacketFo("\\A.TXT"), 5)[0], 0x00);
    EXPECT_EQ(m_port.Exchange(PacketIr("\\*.*"), 3), (Bytes{0x00, 0x00, 0x01}));
    m_port.Send(PacketSr(0x00));  // a reply the PC never reads
    ASSERT_TRUE(WaitFor([&] { return m_port.Waiting() == 1; }));
    m_port.Send({0x1B, 'S'});  // half a packet

    aOptions[1] = Card() + "/two";
    ASSERT_EQ(Reset(aOptions), "ok");
    EXPECT_TRUE(Log().empty());
    EXPECT_EQ(m_port.Waiting(), 0u);
    m_port.Send({'R', 0x00});  // the rest of the forgotten half packet is no packet
    // Status lists and exchange numbers start again; the open file and the listing pair are gone.
    EXPECT_EQ(m_port.Exchange(PacketSc(), 2), (Bytes{0x10, 0x00}));
    EXPECT_EQ(m_port.Exchange(PacketSr(0x00), 1), Bytes{0xAA});
    EXPECT_EQ(m_port.Exchange(PacketFr(1), 1), Bytes{0xFF});
    EXPECT_EQ(NamesOf(List(m_port, "\\*.*")), Names{"B.TXT"});
    EXPECT_EQ(Log().at(0), "? 5200");

    // The log file keeps every line, with a note at each reset.
    std::stringstream file;
    file << std::ifstream(Dir("packets.log")).rdbuf();
    EXPECT_NE(file.str().find("> 1b535200\n< 00\n# reset --card-dir " + Card() + "/two"),
              std::string::npos);

    // A reset that fails answers why, and the scenario before it stays.
    WriteFileBytes(Dir("junk.img"), PatternBytes(100000, 3));
    for (const std::vector<std::string>& aBad : std::vector<std::vector<std::string>>{
             {"--bogus"}, {"--card-dir", Dir("missing")}, {"--card-image", Dir("junk.img")}})
        EXPECT_EQ(Reset(aBad).rfind("error ", 0), 0u) << aBad[0];
    EXPECT_EQ(NamesOf(List(m_port, "\\*.*")), Names{"B.TXT"});
}

}  // namespace
