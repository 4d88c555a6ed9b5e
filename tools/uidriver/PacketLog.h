#pragma once
#include <cstdint>
#include <string>

// The PC's packets as the emulator's log shows them: lower-case hex.
constexpr const char* SR_GREETING = "1b535200";
constexpr const char* SR_FAREWELL = "1b5352ff";
constexpr const char* SC_PACKET = "1b5343";
constexpr const char* IR_PREFIX = "1b4952";
constexpr const char* FO_PREFIX = "1b464f";
constexpr const char* FR_PREFIX = "1b4652";

std::string Hex(const std::string& bytes);
std::string FromHex(const std::string& hex);

// The IR packet that lists a card pattern such as "\DCIM\*.*".
std::string ListingPacket(const std::string& pattern);
// The FO packet that opens a card file such as "\DCIM\A.JPG".
std::string OpenPacket(const std::string& cardPath);
// The FR packet that asks for this many bytes.
std::string ReadPacket(uint32_t count);
// What an IR or FO packet names: its pattern or path.
std::string PacketPath(const std::string& packet);
