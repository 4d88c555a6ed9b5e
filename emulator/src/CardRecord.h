#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A card entry as the printer reports it: the raw 8.3 name bytes of the directory entry,
// its attributes, the 32-bit write time/date word and the size.

constexpr size_t SHORT_NAME_LENGTH = 11;
constexpr size_t WIRE_RECORD_SIZE = 20;

constexpr uint8_t ATTR_READ_ONLY = 0x01;
constexpr uint8_t ATTR_VOLUME_LABEL = 0x08;
constexpr uint8_t ATTR_DIRECTORY = 0x10;
constexpr uint8_t ATTR_ARCHIVE = 0x20;

using ShortName = std::array<uint8_t, SHORT_NAME_LENGTH>;

struct CardRecord {
    ShortName m_name{};
    uint8_t m_nAttributes = 0;
    uint32_t m_nOpaque = 0;  // DOS time | DOS date << 16, as FAT stores it
    uint32_t m_nSize = 0;
};

// Base name and extension, each padded with spaces.
ShortName MakeShortName(const std::string& strBase, const std::string& strExtension);

// "NAME.EXT", or "NAME" when the extension is blank.
std::string ShortNameText(const ShortName& name);

// Whether a path component names this entry (ASCII letters compared without case).
bool ShortNameMatches(const std::string& strComponent, const ShortName& name);

// Appends the 20-byte wire form: name, attributes, opaque value, size little-endian.
void AppendWireRecord(const CardRecord& record, std::vector<uint8_t>& aOut);
