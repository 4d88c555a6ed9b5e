#pragma once
#include <windows.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "copy/CopyTally.h"
#include "copy/CopyUser.h"
#include "link/CardEntry.h"
#include "link/LinkOwner.h"
#include "link/PrinterLink.h"

// One card folder found by a tree walk; the nodes form a list in the order found.
constexpr int FOLDER_PATH_SIZE = 256;
struct FolderNode {
    char path[FOLDER_PATH_SIZE];
    FolderNode* previous;
    FolderNode* next;
    // What discovery found: whether the folder could be listed, and the files in it to copy.
    bool listed;
    uint32_t files;
    uint64_t bytes;
};
// Folders one tree walk holds and lists at most: a damaged card can nest or repeat its folders
// without end.
constexpr int TREE_FOLDERS_MAX = 4096;
int FreeFolderNodes(FolderNode* first);
void CreateFolderPath(char* path, LPSECURITY_ATTRIBUTES security);

// What one copy is to move: chosen card files and folders, or the whole card, into a PC folder.
// Chosen files are written into the current folder, which the caller makes the destination.
struct CopyItem {
    std::string cardFolder;
    CardEntry entry;
};
struct CopyOrder {
    bool wholeCard = false;
    std::vector<CopyItem> items;
    std::string destination;
};

// One copy: its walks, its account, STOP and the PC writes. It asks the printer through the link
// and the user through CCopyUser; the link's owner holds the stop word (m_bBusy) it shares.
class CCardCopy {
public:
    CCardCopy(CPrinterLink& link, CLinkOwner& owner, CCopyUser& user) : m_link(link), m_owner(owner), m_user(user) {}

    // Sets up the account with what is known before the walk; on the thread that starts it.
    void Start(const CopyOrder& order);
    // The walk, on the copying thread; ends by telling the user the final account.
    void Run();
    // STOP: the walk asks nothing more of the printer and ends at its next step.
    void Stop();
    void OnFileProgress(uint32_t received);
    const CCopyTally& Tally() const { return m_tally; }

private:
    // CardCopy.cpp: the chosen items, the questions and the end
    void CopySelection();
    bool Overwrite(const std::string& pcPath);
    void Finish(FileOutcome outcome, uint64_t bytes, const std::string& name);

    // CardCopyTree.cpp: the folder trees
    struct TreeAccount {
        uint32_t files = 0, doneFiles = 0;
        uint64_t bytes = 0, doneBytes = 0;
    };
    enum TreeListing { TREE_LISTED, TREE_NOT_LISTED, TREE_NO_ANSWER };
    int CopyFolderTree(const char* source, const std::string& destination);
    bool DiscoverTree(FolderNode* first, TreeAccount& tree);
    int CopyTreeFiles(FolderNode* first, const char* source, const char* destination, TreeAccount& tree);
    void AddSubFolders(const char* folderPath, const RawListing& listing, FolderNode** last, int* nodes);
    TreeListing ListTreeFolder(const char* path, RawListing* listing);
    void TallyFiles(FolderNode* node, const RawListing& listing, TreeAccount& tree);
    void LeaveFolder(const char* path, FileOutcome outcome);
    void FinishFile(FileOutcome outcome, uint32_t size, const std::string& name, TreeAccount& tree);
    void FinishFolderFiles(FileOutcome outcome, const FolderNode& node, TreeAccount& tree);
    void EndTreeEarly(FileOutcome outcome, const TreeAccount& tree);
    FileOutcome WritePcFile(const char* destination, WORD prefixLength, const char* nodePath,
                            const char* pcFileName, DWORD size, const BYTE* buffer);
    bool Stopped() const { return m_owner.m_bBusy != 1; }
    // One buffer for every file of the copy, grown to the largest: nullptr when it cannot grow.
    uint8_t* FileBuffer(uint64_t size);

    CPrinterLink& m_link;
    CLinkOwner& m_owner;
    CCopyUser& m_user;
    CopyOrder m_order;
    CCopyTally m_tally;
    std::atomic<bool> m_stopped{false};
    std::unique_ptr<uint8_t[]> m_buffer;
    uint64_t m_bufferSize = 0;
    // An answer "to all" given during this copy.
    enum { ASK_EACH, REPLACE_ALL, KEEP_ALL } m_overwriteAll = ASK_EACH;
};
