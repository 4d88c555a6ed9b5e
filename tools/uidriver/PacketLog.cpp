#include "PacketLog.h"

#include <cstdio>
#include <cstring>

std::string Hex(const std::string& bytes) {
    std::string hex;
    for (unsigned char c : bytes) {
        char digits[3];
        std::snprintf(digits, sizeof(digits), "%02x", c);
        hex += digits;
    }
    return hex;
}

std::string FromHex(const std::string& hex) {
    std::string bytes;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    return bytes;
}

std::string ListingPacket(const std::string& pattern) { return IR_PREFIX + Hex(pattern) + "00"; }

std::string OpenPacket(const std::string& cardPath) { return FO_PREFIX + Hex(cardPath) + "00"; }

std::string ReadPacket(uint32_t count) {
    char digits[9];
    std::snprintf(digits, sizeof(digits), "%08x", static_cast<unsigned>(count));
    return FR_PREFIX + std::string(digits);
}

std::string PacketPath(const std::string& packet) {
    // Three bytes of command, then the path and its NUL.
    const size_t start = std::strlen(IR_PREFIX);
    return packet.size() < start + 2 ? ""
                                     : FromHex(packet.substr(start, packet.size() - start - 2));
}
