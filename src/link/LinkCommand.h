#pragma once
#include <cstdint>

// The printer's five escape commands, in the order of the command table.
enum LinkCommandId { CMD_SR = 0, CMD_SC = 1, CMD_IR = 2, CMD_FO = 3, CMD_FR = 4 };

// The one-byte argument value that means "no argument".
constexpr int LINK_NO_ARGUMENT = 0xFE;
// Packet buffer size; a text argument may use all of it but the command and the NUL.
constexpr int LINK_PACKET_SIZE = 1024;
constexpr int LINK_MAX_TEXT_ARGUMENT = LINK_PACKET_SIZE - 4;

uint32_t SwapBytes32(uint32_t value);

// Builds one command packet at a time in a buffer reused for every command.
class CLinkCommand {
public:
    CLinkCommand();
    virtual ~CLinkCommand() = default;

    int BuildByte(LinkCommandId id, int value);
    // Returns 0 and builds nothing when the text does not fit the packet.
    int BuildString(LinkCommandId id, const char* text);
    int BuildDword(LinkCommandId id, uint32_t value);

    const unsigned char* GetBytes() const { return bytes; }
    int GetLength() const { return length; }
    int GetReplyLength() const;

private:
    void PutCommand(LinkCommandId id);

    int command;
    unsigned char bytes[LINK_PACKET_SIZE];
    int length;
};
