#include <gtest/gtest.h>

#include <string>

#include "PacketLog.h"
#include "link/LinkCommand.h"

// Each row builds one packet; "length:bytes:reply length" is what the port would get.
TEST(Packets, EveryFormGivesItsBytesAndReplyLength) {
    CLinkCommand c;
    auto built = [&c](int length) {
        const std::string bytes(reinterpret_cast<const char*>(c.GetBytes()), length);
        return std::to_string(length) + ":" + Hex(bytes) + ":" + std::to_string(c.GetReplyLength());
    };
    const std::string longest(LINK_MAX_TEXT_ARGUMENT, 'A');
    const std::pair<std::string, std::string> rows[] = {
        {built(c.BuildByte(CMD_SR, 0x00)), "4:1b535200:1"},
        {built(c.BuildByte(CMD_SR, 0xFF)), "4:1b5352ff:1"},
        {built(c.BuildByte(CMD_SC, 0xFE)), "3:1b5343:2"},  // 0xFE: no argument
        {built(c.BuildByte(CMD_SR, 0x100)), "4:1b535200:1"},  // only the low byte counts
        {built(c.BuildString(CMD_IR, "\\*.*")), "8:1b49525c2a2e2a00:3"},
        {built(c.BuildString(CMD_FO, "")), "4:1b464f00:5"},
        {built(c.BuildDword(CMD_FR, SwapBytes32(5120))), "7:1b465200001400:1"},
        {built(c.BuildDword(CMD_FR, SwapBytes32(46125))), "7:1b46520000b42d:1"},
        {built(c.BuildDword(CMD_FR, SwapBytes32(0x01020304))), "7:1b465201020304:1"},
        {built(c.BuildString(CMD_FO, longest.c_str())), "1024:1b464f" + Hex(longest) + "00:5"},
        {built(c.BuildString(CMD_IR, (longest + "A").c_str())), "0::5"},  // refused, nothing built
    };
    for (const auto& [got, expected] : rows) EXPECT_EQ(got, expected);
}
