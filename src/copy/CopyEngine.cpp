#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/TransferDlg.h"
#include "copy/CardPaths.h"
#include "link/PcFileWriter.h"
#include "link/PcName.h"

namespace {
// Room the tree walk adds to each file buffer beyond the file itself.
constexpr uint64_t FILE_BUFFER_SLACK = 131072;
constexpr size_t PC_FOLDER_MAX = 255;
constexpr size_t PC_CHECK_PATH_MAX = 1023;

uint32_t LittleEndian32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// card folder + "\" + name, unless the folder already ends with one; false when it would not fit.
bool JoinInto(char* target, size_t size, const char* folder, const char* name) {
    const size_t n = std::strlen(folder);
    const char* separator = (n > 0 && folder[n - 1] == '\\') ? "" : "\\";
    const int written = std::snprintf(target, size, "%s%s%s", folder, separator, name);
    return written >= 0 && static_cast<size_t>(written) < size;
}
}  // namespace

int FreeFolderNodes(FolderNode* first) {
    FolderNode* node = first->next;
    while (node) {
        FolderNode* next = node->next;
        delete node;
        node = next;
    }
    first->next = nullptr;
    return 1;
}

void CreateFolderPath(char* path, LPSECURITY_ATTRIBUTES security) {
    char kept[MAX_PATH + 1];
    std::snprintf(kept, sizeof(kept), "%s", path);
    if (::CreateDirectoryA(path, security)) return;
    if (::GetLastError() == ERROR_PATH_NOT_FOUND) {
        char* slash = std::strrchr(path, '\\');
        if (!slash) return;
        *slash = 0;
        CreateFolderPath(path, security);
    }
    ::CreateDirectoryA(kept, security);
}

void CTransferDlg::CopySelection() {
    for (const CardEntry& entry : m_copySelection) {
        if (m_bBusy != 1) break;
        m_bInSelectionWalk = 1;
        const std::string source = JoinCardPath(m_strCopyFolder, entry.name);
        if (entry.IsFolder()) {
            char destination[COPY_PATH_SIZE];
            if (m_strCopyDestination.size() + 2 > sizeof(destination)) continue;
            std::strcpy(destination, m_strCopyDestination.c_str());
            CopyFolderTree(m_pLink->GetPort(), source.c_str(), destination);
        } else if (m_pLink->SetCardPath(source.c_str()) && m_pLink->SetPcFileName(entry.name)) {
            m_pLink->FetchFile();
        }
    }
    m_bInSelectionWalk = 0;
    SendLinkCommand(CMD_COPY_DONE);
}

int CTransferDlg::AddSubFolders(const char* folderPath, const RawListing& listing, FolderNode* node) {
    FolderNode* last = node;
    while (last->next) last = last->next;
    for (int k = 0; k < listing.count; ++k) {
        const uint8_t* record = listing.records + k * CARD_RECORD_SIZE;
        if (record[0] == '.' || !(record[11] & CARD_ATTR_FOLDER)) continue;
        char name[12] = {};
        for (int i = 0; i < 11 && record[i] != ' '; ++i) name[i] = static_cast<char>(record[i]);
        // A name that could leave the destination, or a path beyond the node, is not walked.
        if (!IsSafePcName(name)) continue;
        auto* added = new (std::nothrow) FolderNode{};
        if (!added) break;
        if (!JoinInto(added->path, sizeof(added->path), folderPath, name)) {
            delete added;
            continue;
        }
        added->previous = last;
        last->next = added;
        last = added;
    }
    return 1;
}

int CTransferDlg::CopyFolderTree(HANDLE port, const char* source, char* destination) {
    FolderNode first = {};
    if (std::strlen(source) >= sizeof(first.path)) return 0;
    std::strcpy(first.path, source);

    // Discovery: every folder of the tree, breadth-first, before the first file moves.
    for (FolderNode* node = &first; node; node = node->next) {
        RawListing listing;
        const int listed = ReadRawListing(port, node->path, &listing);
        if (listed) AddSubFolders(node->path, listing, node);
        FreeRawListing(listing);
        if (!listed) {
            FreeFolderNodes(&first);
            return 0;
        }
    }
    if (m_bBusy == 0) {
        FreeFolderNodes(&first);
        return 0;
    }

    const size_t length = std::strlen(destination);
    if (length == 0 || destination[length - 1] != '\\') {
        if (length + 2 > COPY_PATH_SIZE) {
            FreeFolderNodes(&first);
            return 0;
        }
        std::strcat(destination, "\\");
    }
    const WORD prefixLength = static_cast<WORD>(PrefixLength(source));
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};

    for (FolderNode* node = &first; node; node = node->next) {
        char pcFolder[PC_FOLDER_MAX + 1];
        const char* below = std::strlen(node->path) > prefixLength ? node->path + prefixLength : "";
        const int n = std::snprintf(pcFolder, sizeof(pcFolder), "%s%s", destination, below);
        if (n < 0 || static_cast<size_t>(n) >= sizeof(pcFolder)) {
            FreeFolderNodes(&first);
            return 0;
        }
        ::CreateDirectoryA(pcFolder, &security);

        RawListing listing;
        if (!ReadRawListing(port, node->path, &listing)) {
            FreeRawListing(listing);
            FreeFolderNodes(&first);
            return 0;
        }
        for (int k = 0; k < listing.count; ++k) {
            const uint8_t* record = listing.records + k * CARD_RECORD_SIZE;
            if (record[0] == '.' || (record[11] & CARD_ATTR_FOLDER)) continue;
            char name[13];
            if (!PcNameFromWire(record, name)) continue;

            char existing[PC_CHECK_PATH_MAX + 1];
            if (!JoinInto(existing, sizeof(existing), pcFolder, name)) continue;
            if (PcPathExists(existing) &&
                AskUser(m_uiText[5], MB_YESNO | MB_TASKMODAL) == IDNO) {
                continue;
            }
            char cardFile[FOLDER_PATH_SIZE];
            if (!JoinInto(cardFile, sizeof(cardFile), node->path, name)) continue;

            const uint32_t size = LittleEndian32(record + 16);
            // 64-bit sum: on a 32-bit build a size near 4 GiB must not wrap to a small block.
            const uint64_t bufferSize = size + FILE_BUFFER_SLACK;
            std::unique_ptr<uint8_t[]> buffer;
            if (bufferSize <= SIZE_MAX) buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bufferSize)]);
            if (!buffer) continue;  // a file too large to hold is left on the card
            if (!m_pLink->OpenCardFile(port, buffer.get(), size, cardFile)) {
                FreeRawListing(listing);
                FreeFolderNodes(&first);
                return m_bBusy == 0 ? 1 : 0;
            }
            if (!WritePcFile(destination, prefixLength, node->path, name, size, buffer.get())) {
                FreeRawListing(listing);
                FreeFolderNodes(&first);
                return 0;
            }
        }
        FreeRawListing(listing);
    }
    FreeFolderNodes(&first);
    return 1;
}

int CTransferDlg::WritePcFile(const char* destination, WORD prefixLength, const char* nodePath,
                              const char* pcFileName, DWORD size, const BYTE* buffer) {
    char folder[PC_FOLDER_MAX + 1];
    const char* below = std::strlen(nodePath) > 1 && std::strlen(nodePath) > prefixLength ? nodePath + prefixLength : "";
    const int n = std::snprintf(folder, sizeof(folder), "%s%s", destination, below);
    if (n < 0 || static_cast<size_t>(n) >= sizeof(folder)) return 0;
    const size_t length = std::strlen(folder);
    if (length > 0 && folder[length - 1] == '\\') folder[length - 1] = 0;
    char created[PC_FOLDER_MAX + 1];
    std::strcpy(created, folder);
    CreateFolderPath(created, nullptr);

    char path[PC_FOLDER_MAX + 16];
    std::snprintf(path, sizeof(path), "%s\\%s", folder, pcFileName);
    switch (WritePcFileThroughTemp(path, buffer + 1, size)) {
        case PC_WRITE_OK:
            return 1;
        case PC_WRITE_DISK_FULL:
            ShowDiskFull();
            return 0;
        default:
            return 0;
    }
}

void CTransferDlg::ShowDiskFull() {
    char text[1024];
    LoadModuleText(TEXT_DISK_FULL, text, sizeof(text));
    AskUser(text, MB_OK);
}
