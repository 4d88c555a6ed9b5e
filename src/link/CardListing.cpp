#include <cstdio>
#include <cstring>
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

bool CPrinterLink::Exchange(const uint8_t* packet, int length, uint8_t* answer, DWORD answerLength,
                            DWORD* received) {
    DWORD moved = 0;
    *received = 0;
    if (!PortWrite(port, packet, length, &moved) || moved != static_cast<DWORD>(length)) return false;
    return PortRead(port, answer, answerLength, received) != FALSE;
}

int CPrinterLink::ListFolder() {
    if (!IsOpen() || !command) {
        SetLinkBusy(0);
        return 0;
    }
    char pattern[LINK_PATH_SIZE + 8];
    std::snprintf(pattern, sizeof(pattern), "%s\\*.*", cardPath);
    entries.clear();

    bool listed = false;
    const int length = command->BuildString(CMD_IR, pattern);
    DWORD received = 0;
    if (length > 0 && Exchange(command->GetBytes(), length, reply, CARD_LISTING_HEADER, &received) &&
        received == CARD_LISTING_HEADER) {
        const int count = (reply[1] << 8) | reply[2];
        // The second exchange brings the header again and the records. A folder too large for
        // the reply buffer is read into a block of its own, so nothing is left on the port.
        const DWORD total = CARD_LISTING_HEADER + static_cast<DWORD>(count) * CARD_RECORD_SIZE;
        std::unique_ptr<uint8_t[]> large;
        uint8_t* target = reply;
        if (total > sizeof(reply)) {
            large.reset(new (std::nothrow) uint8_t[total]);
            target = large.get();
        }
        if (target && !owner->m_bClosing && Exchange(command->GetBytes(), length, target, total, &received) &&
            received >= CARD_LISTING_HEADER) {
            reply[0] = target[0];
            // Only records that arrived whole are parsed.
            const int arrived = static_cast<int>((received - CARD_LISTING_HEADER) / CARD_RECORD_SIZE);
            const int usable = arrived < count ? arrived : count;
            listed = count != 0 && ParseListing(target + CARD_LISTING_HEADER, usable) == 1;
        }
    }
    SetLinkBusy(0);
    if (reply[0] == 0 || !listed) {
        owner->PostLinkCommand(CMD_LISTING_ARRIVED);
        return listed ? 1 : 0;
    }
    FailWithError(TEXT_PRINTER_ERROR, reply[0]);
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

    DWORD moved = 0;
    uint8_t header[CARD_LISTING_HEADER] = {};
    if (!PortWrite(port, packet, static_cast<DWORD>(length), &moved) || moved != length) return 0;
    if (!PortRead(port, header, sizeof(header), &moved) || moved != sizeof(header)) return 0;

    const unsigned count = header[1] * 256u + header[2];
    const DWORD total = CARD_LISTING_HEADER + count * CARD_RECORD_SIZE;
    listing->records = new (std::nothrow) uint8_t[total];
    if (!listing->records || (busy && *busy != 1)) return 0;
    if (!PortWrite(port, packet, static_cast<DWORD>(length), &moved) || moved != length) return 0;
    if (!PortRead(port, listing->records, total, &moved) || moved < CARD_LISTING_HEADER) return 0;

    // Hand back only the records that arrived whole.
    const unsigned arrived = (moved - CARD_LISTING_HEADER) / CARD_RECORD_SIZE;
    listing->count = static_cast<uint16_t>(arrived < count ? arrived : count);
    listing->whole = arrived >= count;
    std::memmove(listing->records, listing->records + CARD_LISTING_HEADER,
                 listing->count * CARD_RECORD_SIZE);
    listing->status = header[0];
    return 1;
}
