#include <cstring>
#include <memory>

#include "link/InstanceFlags.h"
#include "link/PcFileWriter.h"
#include "link/PcName.h"
#include "link/Port.h"
#include "link/PrinterLink.h"

namespace {
constexpr int FO_REPLY_LENGTH = 5;
constexpr int FO_READ_TRIES = 6;
// Replies in a row that bring a status byte but no data before the transfer counts as broken.
constexpr int MAX_EMPTY_REPLIES = 3;
constexpr uint8_t FO_REFUSED = 0xFF;

uint32_t BigEndian32(const uint8_t* p) {
    return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
}  // namespace

// Receives size bytes in place at buffer offsets 1..size: each reply lands at the current
// position, its status byte over the previous chunk's last byte, which is put back afterwards.
CPrinterLink::ChunkResult CPrinterLink::ReceiveChunks(HANDLE onPort, uint8_t* buffer, uint32_t size,
                                                      uint8_t* status) {
    const uint32_t chunk = TransferChunkSize ? TransferChunkSize : CHUNK_SMALL;
    CLinkCommand packet;
    packet.BuildDword(CMD_FR, SwapBytes32(chunk));
    uint32_t position = 0;
    uint8_t saved = buffer[0];
    int emptyReplies = 0;
    // The input is cleared before a file's first read request, as before any request; after that
    // only where a reply came short, as its late rest may still come.
    bool clearInput = true;
    while (owner->m_bBusy == 1) {
        const uint32_t remaining = size - position;
        uint32_t wanted = chunk;
        if (remaining < chunk) {
            wanted = remaining;
            packet.BuildDword(CMD_FR, SwapBytes32(wanted));
        }
        DWORD moved = 0;
        if (!PortWrite(onPort, packet.GetBytes(), packet.GetLength(), &moved, clearInput) ||
            moved != static_cast<DWORD>(packet.GetLength())) {
            return CHUNK_PORT_FAILED;
        }
        if (!PortRead(onPort, buffer + position, wanted + 1, &moved) || moved == 0) {
            return CHUNK_PORT_FAILED;
        }
        clearInput = moved != wanted + 1;
        *status = buffer[position];
        buffer[position] = saved;
        if (*status != 0) return CHUNK_PRINTER_ERROR;
        // A printer that keeps answering without data has broken off the transfer.
        emptyReplies = (moved == 1 && wanted > 0) ? emptyReplies + 1 : 0;
        if (emptyReplies >= MAX_EMPTY_REPLIES) return CHUNK_PORT_FAILED;
        position += moved - 1;
        owner->OnFileProgress(position);
        // Bytes beyond the last reply mean a reply brought more than was asked: every byte after
        // it was read one place off.
        if (position >= size) return PortInputWaiting(onPort) ? CHUNK_SURPLUS : CHUNK_COMPLETE;
        saved = buffer[position];
    }
    return CHUNK_STOPPED;
}

int CPrinterLink::FetchFile() {
    lastOutcome = IsSafePcName(pcFileName) ? FILE_READ_FAILED : FILE_BAD_NAME;
    if (!IsOpen() || !command || lastOutcome == FILE_BAD_NAME) {
        SetLinkBusy(0);
        return 0;
    }
    // Without a whole answer to the open request nothing is known of the file: give up.
    const int length = command->BuildString(CMD_FO, cardPath);
    DWORD moved = 0;
    bool opened = length > 0 && PortWrite(port, command->GetBytes(), length, &moved) &&
                  moved == static_cast<DWORD>(length);
    std::memset(reply, 0, FO_REPLY_LENGTH);
    if (opened) {
        opened = false;
        for (int i = 0; i < FO_READ_TRIES && !opened && owner->m_bBusy == 1; ++i) {
            opened = PortRead(port, reply, FO_REPLY_LENGTH, &moved) && moved == FO_REPLY_LENGTH;
        }
    }
    if (!opened) {
        if (owner->m_bBusy != 1) lastOutcome = FILE_STOPPED;
        SetLinkBusy(0);
        return 0;
    }
    if (reply[0] == FO_REFUSED) {
        FailWithError(TEXT_CANNOT_OPEN_FILE, 0);
        return 0;
    }
    if (reply[0] != 0) {
        FailWithError(TEXT_PRINTER_ERROR, reply[0]);
        return 0;
    }
    const uint32_t size = BigEndian32(reply + 1);
    const int result = size == 0 ? 0 : 1;

    // 64-bit sum: a size near 4 GiB must fail to allocate, not wrap to a small block.
    const uint64_t bufferSize = uint64_t(size) + (TransferChunkSize ? TransferChunkSize : CHUNK_SMALL) + 1;
    std::unique_ptr<uint8_t[]> buffer;
    if (bufferSize <= SIZE_MAX) buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bufferSize)]);
    if (!buffer) {
        lastOutcome = FILE_TOO_LARGE;
        SetLinkBusy(0);
        return 0;
    }
    uint8_t status = 0;
    const ChunkResult received = ReceiveChunks(port, buffer.get(), size, &status);
    if (received == CHUNK_PRINTER_ERROR) {
        FailWithError(TEXT_PRINTER_ERROR, status);
        return 0;
    }
    if (received != CHUNK_COMPLETE || owner->m_bBusy != 1) {
        if (owner->m_bBusy != 1) lastOutcome = FILE_STOPPED;
        SetLinkBusy(0);
        return 0;
    }

    switch (WritePcFileThroughTemp(pcFileName, buffer.get() + 1, size)) {
        case PC_WRITE_OK:
            lastOutcome = FILE_COPIED;
            break;
        case PC_WRITE_DISK_FULL:
            lastOutcome = FILE_DISK_FULL;
            break;
        default:
            lastOutcome = FILE_WRITE_FAILED;
            break;
    }
    buffer.reset();
    SetLinkBusy(0);
    if (owner->m_bInSelectionWalk == 0) owner->SendLinkCommand(CMD_COPY_DONE);
    return result;
}

int CPrinterLink::OpenCardFile(HANDLE onPort, uint8_t* buffer, uint32_t size, const char* path) {
    lastOutcome = FILE_READ_FAILED;
    const size_t n = std::strlen(path);
    if (n > LINK_MAX_TEXT_ARGUMENT) return 0;
    uint8_t packet[LINK_PACKET_SIZE];
    std::memcpy(packet, "\x1b" "FO", 3);
    std::memcpy(packet + 3, path, n + 1);
    const DWORD length = static_cast<DWORD>(n + 4);
    DWORD moved = 0;
    if (!PortWrite(onPort, packet, length, &moved) || moved != length) return 0;

    uint8_t answer[FO_REPLY_LENGTH] = {};
    bool whole = false;
    for (int i = 0; i < FO_READ_TRIES && !whole; ++i) {
        if (owner->m_bBusy != 1) {
            lastOutcome = FILE_STOPPED;
            return 0;
        }
        if (!PortRead(onPort, answer, FO_REPLY_LENGTH, &moved)) return 0;
        whole = moved == FO_REPLY_LENGTH;
    }
    if (!whole) return 0;
    if (answer[0] == FO_REFUSED) {
        FailWithError(TEXT_CANNOT_OPEN_FILE, 0);
        return 0;
    }
    // Any other status counts as open, and the size comes from the listing record; but a file the
    // printer opens with another size would arrive cut short or padded.
    if (answer[0] == 0 && BigEndian32(answer + 1) != size) return FILE_LEFT_LINK_WHOLE;
    int pending = 1;
    const int complete = ReceiveData(onPort, buffer, &pending, size);
    if (owner->m_bBusy != 1) lastOutcome = FILE_STOPPED;
    if (complete == FILE_LEFT_LINK_WHOLE) return FILE_LEFT_LINK_WHOLE;
    if (!complete || owner->m_bBusy != 1) return 0;
    lastOutcome = FILE_COPIED;  // received whole; the caller writes it
    return 1;
}

int CPrinterLink::ReceiveData(HANDLE onPort, uint8_t* buffer, int* pending, uint32_t size) {
    uint8_t status = 0;
    const ChunkResult received = ReceiveChunks(onPort, buffer, size, &status);
    *pending = 0;
    if (received == CHUNK_PRINTER_ERROR) {
        FailWithError(TEXT_PRINTER_ERROR, status);
        return 0;
    }
    SetLinkBusy(0);
    return received == CHUNK_COMPLETE ? 1 : received == CHUNK_SURPLUS ? FILE_LEFT_LINK_WHOLE : 0;
}
