#include <gtest/gtest.h>

#include <string>

#include "PacketLog.h"
#include "link/LinkCommand.h"
#include "link/PrinterLink.h"

namespace {
std::string Hex(const CLinkCommand& c, int length) {
    return ::Hex(std::string(reinterpret_cast<const char*>(c.GetBytes()), length));
}
}  // namespace

TEST(LinkPackets, EveryFormHasItsBytesAndReplyLength) {
    CLinkCommand c;
    EXPECT_EQ(c.GetReplyLength(), 0) << "nothing built yet";

    EXPECT_EQ(c.BuildByte(CMD_SR, 0), 4);
    EXPECT_EQ(Hex(c, 4), "1b535200");
    EXPECT_EQ(c.GetReplyLength(), 1);

    EXPECT_EQ(c.BuildByte(CMD_SR, 0xFF), 4);
    EXPECT_EQ(Hex(c, 4), "1b5352ff");

    EXPECT_EQ(c.BuildByte(CMD_SC, 0xFE), 3) << "0xFE means no argument";
    EXPECT_EQ(Hex(c, 3), "1b5343");
    EXPECT_EQ(c.GetReplyLength(), 2);

    EXPECT_EQ(c.BuildByte(CMD_SR, 0x100), 4) << "only the low byte counts";
    EXPECT_EQ(Hex(c, 4), "1b535200");

    EXPECT_EQ(c.BuildString(CMD_IR, "\\*.*"), 8);
    EXPECT_EQ(Hex(c, 8), "1b49525c2a2e2a00");
    EXPECT_EQ(c.GetReplyLength(), 3);

    EXPECT_EQ(c.BuildString(CMD_FO, ""), 4);
    EXPECT_EQ(Hex(c, 4), "1b464f00");
    EXPECT_EQ(c.GetReplyLength(), 5);

    EXPECT_EQ(c.BuildDword(CMD_FR, SwapBytes32(5120)), 7);
    EXPECT_EQ(Hex(c, 7), "1b465200001400");
    EXPECT_EQ(c.GetReplyLength(), 1);
    EXPECT_EQ(c.BuildDword(CMD_FR, SwapBytes32(46125)), 7);
    EXPECT_EQ(Hex(c, 7), "1b46520000b42d");
}

TEST(LinkPackets, TextArgumentsBeyondThePacketAreRefused) {
    CLinkCommand c;
    c.BuildByte(CMD_SR, 0);
    const std::string fits(LINK_MAX_TEXT_ARGUMENT, 'A');
    EXPECT_EQ(c.BuildString(CMD_FO, fits.c_str()), LINK_PACKET_SIZE);
    EXPECT_EQ(c.GetBytes()[LINK_PACKET_SIZE - 1], 0);

    c.BuildByte(CMD_SR, 0);
    const std::string tooLong(LINK_MAX_TEXT_ARGUMENT + 1, 'A');
    EXPECT_EQ(c.BuildString(CMD_FO, tooLong.c_str()), 0);
    EXPECT_EQ(Hex(c, 4), "1b535200") << "a refused build leaves the previous packet alone";
    EXPECT_EQ(c.GetReplyLength(), 1);
}

TEST(LinkPackets, SwapBytesReversesTheFourBytes) {
    EXPECT_EQ(SwapBytes32(5120u), 0x00140000u);
    EXPECT_EQ(SwapBytes32(0x11223344u), 0x44332211u);
    EXPECT_EQ(SwapBytes32(SwapBytes32(0xDEADBEEFu)), 0xDEADBEEFu);
}

TEST(LinkPackets, ChunkSizeIsLargeOnlyForTheKeyboardAndVersionPair) {
    EXPECT_EQ(ChooseTransferChunkSize(0, 0), CHUNK_LARGE);
    EXPECT_EQ(ChooseTransferChunkSize(0, 1), CHUNK_SMALL);
    EXPECT_EQ(ChooseTransferChunkSize(0, 2), CHUNK_SMALL);
    EXPECT_EQ(ChooseTransferChunkSize(1, 0), CHUNK_SMALL);
}
