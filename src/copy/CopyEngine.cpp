#include <windows.h>

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

// A record's name as the report shows it: whatever the card holds, in printable characters.
std::string ShownName(const char* folder, const uint8_t* record) {
    std::string name;
    for (int i = 0; i < 11; ++i) {
        if (i == 8 && record[8] != ' ') name += '.';
        const unsigned char c = record[i];
        if (c != ' ') name += (c < 0x20 || c >= 0x7F) ? '?' : static_cast<char>(c);
    }
    const size_t n = std::strlen(folder);
    return std::string(folder) + (n > 0 && folder[n - 1] == '\\' ? "" : "\\") + name;
}

bool IsDotName(const uint8_t* record) { return record[0] == '.'; }
bool IsFolderRecord(const uint8_t* record) { return (record[11] & CARD_ATTR_FOLDER) != 0; }

// The folder nodes after the first, freed on every way out of a walk.
struct FolderNodeList {
    FolderNode first = {};
    ~FolderNodeList() { FreeFolderNodes(&first); }
};

// A listing's record block, freed on every way out.
struct OwnedListing : RawListing {
    ~OwnedListing() { FreeRawListing(*this); }
};
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
            if (m_strCopyDestination.size() + 2 > sizeof(destination)) {
                m_tally.TreeFound();
                m_tally.AddFiles(1, 0);
                m_tally.Finish(FILE_PATH_TOO_LONG, 0, source);
                continue;
            }
            std::strcpy(destination, m_strCopyDestination.c_str());
            CopyFolderTree(m_pLink->GetPort(), source.c_str(), destination);
        } else if (m_pLink->SetCardPath(source.c_str()) && m_pLink->SetPcFileName(entry.name)) {
            m_pLink->FetchFile();
            m_tally.Finish(m_pLink->LastOutcome(), entry.size, source);
        } else {
            m_tally.Finish(FILE_PATH_TOO_LONG, entry.size, source);
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
        if (IsDotName(record) || !IsFolderRecord(record)) continue;
        char name[12] = {};
        for (int i = 0; i < 11 && record[i] != ' '; ++i) name[i] = static_cast<char>(record[i]);
        auto* added = new (std::nothrow) FolderNode{};
        // A name that could leave the destination, or a path beyond the node, is not walked;
        // the report names the folder.
        if (!IsSafePcName(name) || !added || !JoinInto(added->path, sizeof(added->path), folderPath, name)) {
            delete added;
            m_tally.AddFiles(1, 0);
            m_tally.Finish(IsSafePcName(name) ? FILE_PATH_TOO_LONG : FILE_BAD_NAME, 0, ShownName(folderPath, record));
            continue;
        }
        added->previous = last;
        last->next = added;
        last = added;
    }
    return 1;
}

// The files of one discovery listing go into the copy's account: those the PC can hold are to be
// copied, the others are left at once.
void CTransferDlg::TallyFiles(const char* folderPath, const RawListing& listing, TreeAccount& tree) {
    for (int k = 0; k < listing.count; ++k) {
        const uint8_t* record = listing.records + k * CARD_RECORD_SIZE;
        if (IsDotName(record) || IsFolderRecord(record)) continue;
        const uint32_t size = LittleEndian32(record + 16);
        char name[13];
        m_tally.AddFiles(1, size);
        if (!PcNameFromWire(record, name)) {
            m_tally.Finish(FILE_BAD_NAME, size, ShownName(folderPath, record));
            continue;
        }
        ++tree.files;
        tree.bytes += size;
    }
}

void CTransferDlg::EndTreeEarly(FileOutcome outcome, const TreeAccount& tree) {
    if (tree.files > tree.doneFiles) {
        m_tally.FinishUnnamed(outcome, tree.files - tree.doneFiles, tree.bytes > tree.doneBytes ? tree.bytes - tree.doneBytes : 0);
    }
}

void CTransferDlg::FinishFile(FileOutcome outcome, uint32_t size, const std::string& name, TreeAccount& tree) {
    m_tally.Finish(outcome, size, name);
    ++tree.doneFiles;
    tree.doneBytes += size;
}

int CTransferDlg::CopyFolderTree(HANDLE port, const char* source, char* destination) {
    FolderNodeList nodes;
    TreeAccount tree;
    if (std::strlen(source) >= sizeof(nodes.first.path)) {
        m_tally.TreeFound();
        return 0;
    }
    std::strcpy(nodes.first.path, source);

    // Discovery: every folder of the tree, breadth-first, before the first file moves.
    for (FolderNode* node = &nodes.first; node; node = node->next) {
        OwnedListing listing;
        if (!ReadRawListing(port, node->path, &listing)) {
            m_tally.TreeFound();
            EndTreeEarly(FILE_READ_FAILED, tree);
            return 0;
        }
        AddSubFolders(node->path, listing, node);
        TallyFiles(node->path, listing, tree);
    }
    m_tally.TreeFound();
    if (m_bBusy == 0) {
        EndTreeEarly(FILE_STOPPED, tree);
        return 0;
    }

    const size_t length = std::strlen(destination);
    if (length == 0 || destination[length - 1] != '\\') {
        if (length + 2 > COPY_PATH_SIZE) {
            EndTreeEarly(FILE_PATH_TOO_LONG, tree);
            return 0;
        }
        std::strcat(destination, "\\");
    }
    const WORD prefixLength = static_cast<WORD>(PrefixLength(source));
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};

    for (FolderNode* node = &nodes.first; node; node = node->next) {
        char pcFolder[PC_FOLDER_MAX + 1];
        const char* below = std::strlen(node->path) > prefixLength ? node->path + prefixLength : "";
        const int n = std::snprintf(pcFolder, sizeof(pcFolder), "%s%s", destination, below);
        if (n < 0 || static_cast<size_t>(n) >= sizeof(pcFolder)) {
            EndTreeEarly(FILE_PATH_TOO_LONG, tree);
            return 0;
        }
        ::CreateDirectoryA(pcFolder, &security);

        OwnedListing listing;
        if (!ReadRawListing(port, node->path, &listing)) {
            EndTreeEarly(FILE_READ_FAILED, tree);
            return 0;
        }
        for (int k = 0; k < listing.count; ++k) {
            const uint8_t* record = listing.records + k * CARD_RECORD_SIZE;
            if (IsDotName(record) || IsFolderRecord(record)) continue;
            char name[13];
            if (!PcNameFromWire(record, name)) continue;  // left when it was found
            const uint32_t size = LittleEndian32(record + 16);
            const std::string shown = ShownName(node->path, record);

            char existing[PC_CHECK_PATH_MAX + 1];
            char cardFile[FOLDER_PATH_SIZE];
            if (!JoinInto(existing, sizeof(existing), pcFolder, name) ||
                !JoinInto(cardFile, sizeof(cardFile), node->path, name)) {
                FinishFile(FILE_PATH_TOO_LONG, size, shown, tree);
                continue;
            }
            if (PcPathExists(existing) && AskUser(m_uiText[5], MB_YESNO | MB_TASKMODAL) == IDNO) {
                FinishFile(FILE_DECLINED, size, shown, tree);
                continue;
            }
            // 64-bit sum: on a 32-bit build a size near 4 GiB must not wrap to a small block.
            const uint64_t bufferSize = size + FILE_BUFFER_SLACK;
            std::unique_ptr<uint8_t[]> buffer;
            if (bufferSize <= SIZE_MAX) buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bufferSize)]);
            if (!buffer) {  // a file too large to hold is left on the card
                FinishFile(FILE_TOO_LARGE, size, shown, tree);
                continue;
            }
            if (!m_pLink->OpenCardFile(port, buffer.get(), size, cardFile)) {
                const FileOutcome outcome = m_bBusy == 0 ? FILE_STOPPED : m_pLink->LastOutcome();
                FinishFile(outcome, size, shown, tree);
                EndTreeEarly(outcome, tree);
                return m_bBusy == 0 ? 1 : 0;
            }
            const FileOutcome written = WritePcFile(destination, prefixLength, node->path, name, size, buffer.get());
            FinishFile(written, size, shown, tree);
            if (written != FILE_COPIED) {
                EndTreeEarly(written, tree);
                return 0;
            }
        }
    }
    return 1;
}

FileOutcome CTransferDlg::WritePcFile(const char* destination, WORD prefixLength, const char* nodePath,
                                      const char* pcFileName, DWORD size, const BYTE* buffer) {
    char folder[PC_FOLDER_MAX + 1];
    const char* below = std::strlen(nodePath) > 1 && std::strlen(nodePath) > prefixLength ? nodePath + prefixLength : "";
    const int n = std::snprintf(folder, sizeof(folder), "%s%s", destination, below);
    if (n < 0 || static_cast<size_t>(n) >= sizeof(folder)) return FILE_PATH_TOO_LONG;
    const size_t length = std::strlen(folder);
    if (length > 0 && folder[length - 1] == '\\') folder[length - 1] = 0;
    char created[PC_FOLDER_MAX + 1];
    std::strcpy(created, folder);
    CreateFolderPath(created, nullptr);

    char path[PC_FOLDER_MAX + 16];
    std::snprintf(path, sizeof(path), "%s\\%s", folder, pcFileName);
    switch (WritePcFileThroughTemp(path, buffer + 1, size)) {
        case PC_WRITE_OK:
            return FILE_COPIED;
        case PC_WRITE_DISK_FULL:
            ShowDiskFull();
            return FILE_DISK_FULL;
        default:
            return FILE_WRITE_FAILED;
    }
}

void CTransferDlg::ShowDiskFull() {
    char text[1024];
    LoadModuleText(TEXT_DISK_FULL, text, sizeof(text));
    AskUser(text, MB_OK);
}
