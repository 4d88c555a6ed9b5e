#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <utility>
#include <vector>

#include "link/CardEntry.h"
#include "link/FileOutcome.h"
#include "link/LinkCommand.h"
#include "link/LinkOwner.h"

// Codes of link worker jobs.
constexpr LONG LINK_JOB_CONNECT = 1;
constexpr LONG LINK_JOB_RELEASE = 2;
constexpr LONG LINK_JOB_LIST = 4;
constexpr LONG LINK_JOB_FETCH = 6;

constexpr int LINK_REPLY_SIZE = 50000;
constexpr int LINK_PATH_SIZE = 1024;

// Length of one read request, chosen when a copy starts.
constexpr DWORD CHUNK_SMALL = 5120;
constexpr DWORD CHUNK_LARGE = 46125;
extern DWORD TransferChunkSize;
DWORD ChooseTransferChunkSize(int keyboardClass, int osVersionClass);

class CPrinterLink;

struct LinkJob {
    CPrinterLink* link;
    LONG code;
};

UINT LinkWorkerProc(void* job);

// Lists a card folder straight on the port for a tree walk; the caller owns listing.records.
// 0 when no whole answer came, or when busy was cleared (STOP, a close) before the second request.
int ReadRawListing(HANDLE port, const char* cardPath, RawListing* listing,
                   const std::atomic<LONG>* busy = nullptr);

// The program's only channel to the printer.
class CPrinterLink {
public:
    explicit CPrinterLink(CLinkOwner* owner);
    virtual ~CPrinterLink();
    CPrinterLink(const CPrinterLink&) = delete;
    CPrinterLink& operator=(const CPrinterLink&) = delete;

    int Open(const char* deviceName = "LPT1");
    int SetTimeouts(DWORD milliseconds);
    int Handshake();
    int PollStatus();
    int Release();
    // Both refuse (return 0, keep the old value) a text that does not fit the 1024-byte field.
    int SetCardPath(const char* path);
    int SetPcFileName(const char* name);

    // Folder listing for the card browser.
    int ListFolder();
    int ParseListing(const uint8_t* records, int count);
    // Whether the printer answered both requests of the last ListFolder.
    bool ListingAnswered() const { return listingAnswered; }
    // The last listing's entries, handed over whole; the link keeps none.
    std::vector<CardEntry> TakeEntries() { return std::move(entries); }

    // File read.
    int FetchFile();
    // Tree-walk form: the file's bytes land at buffer offsets 1..size; 1 only when all arrived;
    // FILE_LEFT_LINK_WHOLE when the printer answered, but not as asked (another size than the
    // listing's, more bytes than requested): this file is left and the link goes on.
    static constexpr int FILE_LEFT_LINK_WHOLE = -1;
    int OpenCardFile(HANDLE port, uint8_t* buffer, uint32_t size, const char* cardPath);
    int ReceiveData(HANDLE port, uint8_t* buffer, int* pending, uint32_t size);

    // How the last FetchFile or OpenCardFile ended.
    FileOutcome LastOutcome() const { return lastOutcome; }

    HANDLE GetPort() const { return port; }
    bool IsOpen() const { return port != nullptr && port != INVALID_HANDLE_VALUE; }
    const char* GetCardPath() const { return cardPath; }

private:
    enum ChunkResult { CHUNK_COMPLETE, CHUNK_STOPPED, CHUNK_PORT_FAILED, CHUNK_PRINTER_ERROR, CHUNK_SURPLUS };
    ChunkResult ReceiveChunks(HANDLE onPort, uint8_t* buffer, uint32_t size, uint8_t* status);
    void FailWithError(int textId, uint8_t code);

    CLinkCommand* command;
    std::vector<CardEntry> entries;
    HANDLE port;
    HANDLE portClaim = nullptr;
    uint8_t reply[LINK_REPLY_SIZE];
    char cardPath[LINK_PATH_SIZE];
    char pcFileName[LINK_PATH_SIZE];
    CLinkOwner* owner;
    FileOutcome lastOutcome = FILE_COPIED;
    bool listingAnswered = false;
};
