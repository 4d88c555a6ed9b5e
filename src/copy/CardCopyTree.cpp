#include <windows.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "copy/CardCopy.h"
#include "copy/CardPaths.h"
#include "link/PcFileWriter.h"
#include "link/PcName.h"

namespace {
// Room the tree walk adds to each file buffer beyond the file itself.
constexpr uint64_t FILE_BUFFER_SLACK = 131072;
// A PC folder path the platform can create and fill with any 8.3 name and the writer's
// temporary file: CreateDirectory takes MAX_PATH less 12, a file path MAX_PATH less its NUL.
constexpr size_t PC_FOLDER_MAX = MAX_PATH - 1 - 1 - 12;
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

// A record's name as the report shows it: its card name, in printable characters.
std::string ShownName(const char* folder, const uint8_t* record) {
    char card[13];
    CardNameFromWire(record, card);
    std::string name;
    for (const char* c = card; *c; ++c) {
        const unsigned char u = static_cast<unsigned char>(*c);
        name += (u < 0x20 || u >= 0x7F) ? '?' : *c;
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
    if (::CreateDirectoryA(path, security) || ::GetLastError() == ERROR_ALREADY_EXISTS) return;
    if (::GetLastError() == ERROR_PATH_NOT_FOUND) {
        char* slash = std::strrchr(path, '\\');
        if (!slash) return;
        *slash = 0;
        CreateFolderPath(path, security);
    }
    ::CreateDirectoryA(kept, security);
}

void CCardCopy::AddSubFolders(const char* folderPath, const RawListing& listing, FolderNode** last, int* nodes) {
    for (int k = 0; k < listing.count; ++k) {
        const uint8_t* record = listing.records + k * CARD_RECORD_SIZE;
        if (IsDotName(record) || !IsFolderRecord(record)) continue;
        // What a damaged card would add without end (folders that nest or repeat) is reported,
        // not walked.
        if (*nodes >= TREE_FOLDERS_MAX) {
            LeaveFolder(ShownName(folderPath, record).c_str(), FILE_READ_FAILED);
            continue;
        }
        // The folder by its card name, as the list shows it and the printer takes it back.
        char name[13];
        const bool safe = PcNameFromWire(record, name);
        auto* added = safe ? new (std::nothrow) FolderNode{} : nullptr;
        // A name that could leave the destination, or a path beyond the node, is not walked;
        // the report names the folder.
        if (!added || !JoinInto(added->path, sizeof(added->path), folderPath, name)) {
            delete added;
            LeaveFolder(ShownName(folderPath, record).c_str(), safe ? FILE_PATH_TOO_LONG : FILE_BAD_NAME);
            continue;
        }
        added->previous = *last;
        (*last)->next = added;
        *last = added;
        ++*nodes;
    }
}

// A listing of a tree's folder: a sub-folder always lists its "." and "..", so one that lists
// nothing is missing, as a printer answers a folder it does not have.
CCardCopy::TreeListing CCardCopy::ListTreeFolder(const char* path, RawListing* listing) {
    if (!ReadRawListing(m_link.GetPort(), path, listing, &m_owner.m_bBusy)) return TREE_NO_ANSWER;
    const bool root = std::strcmp(path, "\\") == 0;
    return listing->status != 0 || (listing->count == 0 && !root) ? TREE_NOT_LISTED : TREE_LISTED;
}

// The files of one discovery listing go into the copy's account: those the PC can hold are to be
// copied, the others are left at once.
void CCardCopy::TallyFiles(FolderNode* node, const RawListing& listing, TreeAccount& tree) {
    for (int k = 0; k < listing.count; ++k) {
        const uint8_t* record = listing.records + k * CARD_RECORD_SIZE;
        if (IsDotName(record) || IsFolderRecord(record)) continue;
        const uint32_t size = LittleEndian32(record + 16);
        char name[13];
        m_tally.AddFiles(1, size);
        if (!PcNameFromWire(record, name)) {
            m_tally.Finish(FILE_BAD_NAME, size, ShownName(node->path, record));
            continue;
        }
        ++node->files;
        node->bytes += size;
        ++tree.files;
        tree.bytes += size;
    }
}

// A folder whose files are unknown (it could not be listed, or was not reached) counts as one
// item left, named in the report.
void CCardCopy::LeaveFolder(const char* path, FileOutcome outcome) {
    m_tally.MarkIncomplete();
    m_tally.AddFiles(1, 0);
    m_tally.Finish(outcome, 0, path);
}

void CCardCopy::EndTreeEarly(FileOutcome outcome, const TreeAccount& tree) {
    if (tree.files > tree.doneFiles) {
        m_tally.FinishUnnamed(outcome, tree.files - tree.doneFiles, tree.bytes > tree.doneBytes ? tree.bytes - tree.doneBytes : 0);
    }
}

void CCardCopy::FinishFile(FileOutcome outcome, uint32_t size, const std::string& name, TreeAccount& tree) {
    Finish(outcome, size, name);
    ++tree.doneFiles;
    tree.doneBytes += size;
}

// All the files discovery found in one folder end the same way, before any of them was tried.
void CCardCopy::FinishFolderFiles(FileOutcome outcome, const FolderNode& node, TreeAccount& tree) {
    m_tally.FinishUnnamed(outcome, node.files, node.bytes);
    tree.doneFiles += node.files;
    tree.doneBytes += node.bytes;
}

int CCardCopy::CopyFolderTree(const char* source, const std::string& destination) {
    FolderNodeList nodes;
    TreeAccount tree;
    if (std::strlen(source) >= sizeof(nodes.first.path)) {
        m_tally.TreeFound();
        LeaveFolder(source, FILE_PATH_TOO_LONG);
        return 0;
    }
    std::strcpy(nodes.first.path, source);
    const bool found = DiscoverTree(&nodes.first, tree);
    m_tally.TreeFound();
    if (!found) return Stopped() ? 1 : 0;
    // A PC folder too long for the platform is told folder by folder as its files come.
    const std::string folder = destination.empty() || destination.back() != '\\' ? destination + "\\" : destination;
    return CopyTreeFiles(&nodes.first, source, folder.c_str(), tree);
}

// Every folder of the tree, breadth-first, before the first file moves; false when the printer
// stopped answering (or STOP came), with the tree's account ended.
bool CCardCopy::DiscoverTree(FolderNode* first, TreeAccount& tree) {
    FolderNode* last = first;
    int nodes = 1;
    // A listing asks nothing more once STOP or a close has cleared m_bBusy.
    for (FolderNode* node = first; node; node = node->next) {
        OwnedListing listing;
        const TreeListing listed = ListTreeFolder(node->path, &listing);
        if (listed == TREE_NO_ANSWER) {
            if (Stopped()) {
                m_tally.MarkIncomplete();
                EndTreeEarly(FILE_STOPPED, tree);
                return false;
            }
            LeaveFolder(node->path, FILE_READ_FAILED);
            EndTreeEarly(FILE_READ_FAILED, tree);
            return false;
        }
        if (listed == TREE_NOT_LISTED) {
            LeaveFolder(node->path, FILE_READ_FAILED);
            continue;
        }
        node->listed = true;
        // What did arrive of a listing cut short is walked; the folder is reported, as files and
        // folders of it may be missing from the account.
        if (!listing.whole) LeaveFolder(node->path, FILE_READ_FAILED);
        AddSubFolders(node->path, listing, &last, &nodes);
        TallyFiles(node, listing, tree);
    }
    return true;
}

int CCardCopy::CopyTreeFiles(FolderNode* first, const char* source, const char* destination, TreeAccount& tree) {
    const WORD prefixLength = static_cast<WORD>(PrefixLength(source));
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};

    for (FolderNode* node = first; node; node = node->next) {
        if (!node->listed) continue;
        if (Stopped()) {
            EndTreeEarly(FILE_STOPPED, tree);
            return 1;
        }
        // A folder too deep for the PC leaves its own files; its shorter siblings go on.
        char pcFolder[PC_FOLDER_MAX + 1];
        const char* below = std::strlen(node->path) > prefixLength ? node->path + prefixLength : "";
        const int n = std::snprintf(pcFolder, sizeof(pcFolder), "%s%s", destination, below);
        if (n < 0 || static_cast<size_t>(n) >= sizeof(pcFolder)) {
            FinishFolderFiles(FILE_PATH_TOO_LONG, *node, tree);
            continue;
        }
        // Made once for all its files (a folder the user removes meanwhile fails their writes).
        char created[PC_FOLDER_MAX + 1];
        std::strcpy(created, pcFolder);
        CreateFolderPath(created, &security);

        OwnedListing listing;
        const TreeListing listed = ListTreeFolder(node->path, &listing);
        if (listed == TREE_NO_ANSWER) {
            EndTreeEarly(Stopped() ? FILE_STOPPED : FILE_READ_FAILED, tree);
            return Stopped() ? 1 : 0;
        }
        if (listed == TREE_NOT_LISTED) {
            FinishFolderFiles(FILE_READ_FAILED, *node, tree);
            continue;
        }
        for (int k = 0; k < listing.count; ++k) {
            const uint8_t* record = listing.records + k * CARD_RECORD_SIZE;
            if (IsDotName(record) || IsFolderRecord(record)) continue;
            char name[13];
            if (!PcNameFromWire(record, name)) continue;  // left when it was found
            if (Stopped()) {
                EndTreeEarly(FILE_STOPPED, tree);
                return 1;
            }
            const uint32_t size = LittleEndian32(record + 16);
            const std::string shown = ShownName(node->path, record);

            char existing[PC_CHECK_PATH_MAX + 1];
            char cardFile[FOLDER_PATH_SIZE];
            if (!JoinInto(existing, sizeof(existing), pcFolder, name) ||
                !JoinInto(cardFile, sizeof(cardFile), node->path, name)) {
                FinishFile(FILE_PATH_TOO_LONG, size, shown, tree);
                continue;
            }
            if (PcFileExists(existing) && !Overwrite(existing)) {
                // A close answers for the user: that is a stop, not a choice to keep the file.
                const bool stopped = Stopped();
                FinishFile(stopped ? FILE_STOPPED : FILE_DECLINED, size, shown, tree);
                if (!stopped) continue;
                EndTreeEarly(FILE_STOPPED, tree);
                return 1;
            }
            // 64-bit sum: on a 32-bit build a size near 4 GiB must not wrap to a small block.
            uint8_t* buffer = FileBuffer(uint64_t(size) + FILE_BUFFER_SLACK);
            if (!buffer) {  // a file too large to hold is left on the card
                FinishFile(FILE_TOO_LARGE, size, shown, tree);
                continue;
            }
            const int opened = m_link.OpenCardFile(m_link.GetPort(), buffer, size, cardFile);
            if (opened == CPrinterLink::FILE_LEFT_LINK_WHOLE) {
                FinishFile(FILE_READ_FAILED, size, shown, tree);
                continue;
            }
            if (!opened) {
                // Without an answer from the printer the rest of the tree cannot come either.
                const FileOutcome outcome = m_owner.m_bBusy == 0 ? FILE_STOPPED : m_link.LastOutcome();
                FinishFile(outcome, size, shown, tree);
                EndTreeEarly(outcome, tree);
                return m_owner.m_bBusy == 0 ? 1 : 0;
            }
            const FileOutcome written = WritePcFile(destination, prefixLength, node->path, name, size, buffer);
            FinishFile(written, size, shown, tree);
            if (written == FILE_DISK_FULL) {
                // Nothing more fits: the rest of the tree is left as the disk's.
                EndTreeEarly(FILE_DISK_FULL, tree);
                return 0;
            }
        }
    }
    return 1;
}

FileOutcome CCardCopy::WritePcFile(const char* destination, WORD prefixLength, const char* nodePath,
                                   const char* pcFileName, DWORD size, const BYTE* buffer) {
    char folder[PC_FOLDER_MAX + 1];
    const char* below = std::strlen(nodePath) > 1 && std::strlen(nodePath) > prefixLength ? nodePath + prefixLength : "";
    const int n = std::snprintf(folder, sizeof(folder), "%s%s", destination, below);
    if (n < 0 || static_cast<size_t>(n) >= sizeof(folder)) return FILE_PATH_TOO_LONG;
    const size_t length = std::strlen(folder);
    if (length > 0 && folder[length - 1] == '\\') folder[length - 1] = 0;

    char path[PC_FOLDER_MAX + 16];
    std::snprintf(path, sizeof(path), "%s\\%s", folder, pcFileName);
    switch (WritePcFileThroughTemp(path, buffer + 1, size)) {
        case PC_WRITE_OK:
            return FILE_COPIED;
        case PC_WRITE_DISK_FULL:
            m_user.TellDiskFull();
            return FILE_DISK_FULL;
        default:
            return FILE_WRITE_FAILED;
    }
}
