#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>

#include "link/InstanceFlags.h"
#include "link/PcName.h"
#include "link/Port.h"
#include "link/PrinterLink.h"

void ConvertEntry(CardEntry& entry, const uint8_t* wire) {
    std::memset(&entry, 0, sizeof(entry));
    entry.attributes = wire[11];
    std::memcpy(&entry.opaque, wire + 12, 4);
    std::memcpy(&entry.size, wire + 16, 4);
    CardNameFromWire(wire, entry.name);
}

void FreeRawListing(RawListing& listing) {
    delete[] listing.records;
    listing.records = nullptr;
}

int CPrinterLink::ParseListing(const uint8_t* records, int count) {
    for (int i = 0; i < count; ++i) {
        CardEntry entry;
        ConvertEntry(entry, records + i * CARD_RECORD_SIZE);
        // "." and ".." are the folder itself and its parent; a name the PC could not hold
        // safely (a path, a device, control characters) is not offered at all.
        if (!IsSafePcName(entry.name)) continue;
        entries.push_back(entry);
    }
    return 1;
}

// The one listing exchange: the first request learns the count, the second brings the header again
// and the records, read into a block of their own, so a folder of any size leaves nothing on the
// port. Each request goes out only while goOn() holds: after STOP no folder is asked for.
static int ExchangeListing(HANDLE port, const uint8_t* packet, DWORD length, RawListing* listing,
                           const std::function<bool()>& goOn) {
    DWORD moved = 0;
    uint8_t header[CARD_LISTING_HEADER] = {};
    if (!goOn() || !PortWrite(port, packet, length, &moved) || moved != length) return 0;
    if (!PortRead(port, header, sizeof(header), &moved) || moved != sizeof(header)) return 0;
    listing->status = header[0];

    const unsigned count = header[1] * 256u + header[2];
    const DWORD total = CARD_LISTING_HEADER + count * CARD_RECORD_SIZE;
    listing->records = new (std::nothrow) uint8_t[total];
    if (!listing->records || !goOn()) return 0;
    if (!PortWrite(port, packet, length, &moved) || moved != length) return 0;
    if (!PortRead(port, listing->records, total, &moved) || moved < CARD_LISTING_HEADER) return 0;
    listing->repeatStatus = listing->records[0];

    // Hand back only the records that arrived whole.
    const unsigned arrived = (moved - CARD_LISTING_HEADER) / CARD_RECORD_SIZE;
    listing->count = static_cast<uint16_t>(arrived < count ? arrived : count);
    listing->whole = arrived >= count;
    std::memmove(listing->records, listing->records + CARD_LISTING_HEADER, listing->count * CARD_RECORD_SIZE);
    return 1;
}

// The browser's pattern is the card path and "\*.*" as they stand (the root "\" doubles its
// backslash, as the printer has always been asked).
int CPrinterLink::ListFolder() {
    listingAnswered = false;
    if (!IsOpen() || !command) {
        SetLinkBusy(0);
        return 0;
    }
    char pattern[LINK_PATH_SIZE + 8];
    std::snprintf(pattern, sizeof(pattern), "%s\\*.*", cardPath);
    entries.clear();

    RawListing listing;
    const int length = command->BuildString(CMD_IR, pattern);
    listingAnswered = length > 0 && ExchangeListing(port, command->GetBytes(), length, &listing,
                                                    [this] { return owner->m_bClosing == 0; });
    const bool listed = listingAnswered && listing.count != 0 && ParseListing(listing.records, listing.count) == 1;
    FreeRawListing(listing);
    SetLinkBusy(0);
    if (listing.repeatStatus == 0 || !listed) {
        owner->PostLinkCommand(CMD_LISTING_ARRIVED);
        return listed ? 1 : 0;
    }
    FailWithError(TEXT_PRINTER_ERROR, listing.repeatStatus);
    return 0;
}

int ReadRawListing(HANDLE port, const char* cardPath, RawListing* listing, const std::atomic<LONG>* busy) {
    const size_t n = std::strlen(cardPath);
    if (n + 8 > LINK_PACKET_SIZE) return 0;
    uint8_t packet[LINK_PACKET_SIZE];
    std::memcpy(packet, "\x1bIR", 3);
    std::memcpy(packet + 3, cardPath, n);
    size_t length = 3 + n;
    if (n == 0 || cardPath[n - 1] != '\\') packet[length++] = '\\';
    std::memcpy(packet + length, "*.*", 4);
    length += 4;
    return ExchangeListing(port, packet, static_cast<DWORD>(length), listing,
                           [busy] { return !busy || *busy == 1; });
}
