#include "link/LinkCommand.h"

#include <cstring>

namespace {
const unsigned char kCommandTable[] = "\x1bSR\x1bSC\x1bIR\x1b" "FO\x1b" "FR";
const int kReplyLengths[] = {1, 2, 3, 5, 1};
}  // namespace

uint32_t SwapBytes32(uint32_t value) {
    return (value >> 24) | ((value >> 8) & 0xFF00u) | ((value << 8) & 0xFF0000u) | (value << 24);
}

CLinkCommand::CLinkCommand() : command(-1), length(0) { std::memset(bytes, 0, 15); }

void CLinkCommand::PutCommand(LinkCommandId id) {
    command = id;
    std::memcpy(bytes, kCommandTable + 3 * id, 3);
}

int CLinkCommand::BuildByte(LinkCommandId id, int value) {
    PutCommand(id);
    const unsigned char b = static_cast<unsigned char>(value);
    if (b == LINK_NO_ARGUMENT) {
        length = 3;
    } else {
        bytes[3] = b;
        length = 4;
    }
    return length;
}

int CLinkCommand::BuildString(LinkCommandId id, const char* text) {
    const size_t n = std::strlen(text);
    if (n > static_cast<size_t>(LINK_MAX_TEXT_ARGUMENT)) return 0;
    PutCommand(id);
    std::memcpy(bytes + 3, text, n + 1);
    length = static_cast<int>(n) + 4;
    return length;
}

int CLinkCommand::BuildDword(LinkCommandId id, uint32_t value) {
    PutCommand(id);
    std::memcpy(bytes + 3, &value, 4);  // memory order: callers pass SwapBytes32(n)
    length = 7;
    return length;
}

int CLinkCommand::GetReplyLength() const { return command < 0 ? 0 : kReplyLengths[command]; }
