#pragma once
#include <cstdint>

// One directory record as the printer sends it.
#pragma pack(push, 1)
struct CardEntryWire {
    char baseName[8];
    char extension[3];
    uint8_t attributes;
    uint8_t opaque[4];
    uint8_t size[4];  // little-endian
};
#pragma pack(pop)
static_assert(sizeof(CardEntryWire) == 20, "wire record is 20 bytes");

constexpr uint8_t CARD_ATTR_FOLDER = 0x10;
constexpr int CARD_RECORD_SIZE = 20;
constexpr int CARD_LISTING_HEADER = 3;

// One card file or folder in memory.
struct CardEntry {
    char name[13];
    uint8_t attributes;
    uint32_t opaque;
    uint32_t size;

    bool IsFolder() const { return (attributes & CARD_ATTR_FOLDER) != 0; }
};
static_assert(sizeof(CardEntry) == 24, "entry is 24 bytes");

// A listing as read for a tree walk: the header and the raw records without it.
struct RawListing {
    uint8_t status = 0;        // of the first answer
    uint8_t repeatStatus = 0;  // of the second
    uint16_t count = 0;
    bool whole = false;  // every record the header announced arrived
    uint8_t* records = nullptr;  // count * 20 bytes, owned by the caller (free with FreeRawListing)
};

void ConvertEntry(CardEntry& entry, const uint8_t* wire);
void FreeRawListing(RawListing& listing);
