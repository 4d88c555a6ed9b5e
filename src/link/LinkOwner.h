#pragma once
#include <windows.h>

#include <atomic>
#include <string>

// Command messages the link sends or posts to its owner (WM_COMMAND, id in the low word).
constexpr UINT CMD_COPY_DONE = 3001;
constexpr UINT CMD_LISTING_ARRIVED = 3002;
constexpr UINT CMD_LINK_ERROR = 3003;
constexpr UINT CMD_LIST_FOLDER = 3004;

// Text ids of the language module that the link uses.
constexpr int TEXT_NO_GREETING = 3006;
constexpr int TEXT_NOT_READY = 3007;
constexpr int TEXT_CANNOT_OPEN_FILE = 3008;
constexpr int TEXT_PRINTER_ERROR = 3009;

// What the link needs of the window that owns it. The main window implements it; tests
// implement it to observe the reports and answer the questions without a real window.
class CLinkOwner {
public:
    virtual ~CLinkOwner() = default;

    virtual void SetLinkError(int nTextId, BYTE nCode) = 0;
    // A command the sender waits for (SendMessage) or does not (PostMessage).
    virtual void SendLinkCommand(UINT id) = 0;
    virtual void PostLinkCommand(UINT id) = 0;
    // A message box owned by the main window, with the title text as caption.
    virtual int AskUser(const char* text, UINT type) = 0;
    // A text of the language module; empty when the module or the id is missing.
    virtual void LoadModuleText(UINT id, char* buffer, int size) = 0;
    // The standard part's current file path ("folder\*.*").
    virtual std::string GetPathName() = 0;
    // Bytes of the file being fetched that have arrived so far; called on the fetching thread.
    virtual void OnFileProgress(uint32_t /*received*/) {}

    // Plain words shared with the workers; clearing m_bBusy is the stop request.
    std::atomic<LONG> m_bBusy{0};
    std::atomic<LONG> m_bConnected{0};
    std::atomic<LONG> m_bInSelectionWalk{0};
    // The window is ending: link operations take no further step that could wait on the user.
    std::atomic<LONG> m_bClosing{0};
};
