#pragma once
#include <string>
#include <vector>

#include "FolderTree.h"
#include "Outcome.h"

// What the user copies in a run: the whole card, or a folder and a file of its root.
enum class CopyMode { WholeCard, Selection };

// What the user does at a moment of the run, besides any printer fault.
enum class UserAction { None, Close, Escape, Stop };

// What the design promises for the run beyond the rules every run keeps.
enum class Expectation {
    Sound,         // nothing more: a fault may end the program or leave files on the card
    EndsItself,    // a close outside a copy: the program ends without further help
    CopiesWhole,   // a close held back during a copy: the copy goes on to the last file
};

struct RunPlan {
    std::string kind;   // the fault or action, for the table
    std::string phase;  // where it strikes, for the table
    CopyMode mode = CopyMode::WholeCard;
    std::vector<std::string> emulatorOptions;
    // Text that the emulator's log shows once the fault has struck (a note of its own, or a reply
    // only the fault gives); a run whose fault left no trace proves nothing and fails.
    std::string firedInLog;
    UserAction action = UserAction::None;
    size_t actAtPacket = 0;  // act once the PC has sent this many packets (1 = the greeting)
    size_t faultedExchange = 0;  // the exchange a printer fault strikes, 0 for none
    bool disconnects = false;  // the printer goes away: no farewell can reach it
    bool refusesGreeting = false;  // the printer never answers the greeting: no farewell is due
    Expectation expect = Expectation::Sound;
    unsigned long deadlineMs = 0;  // the program's own bound for this run
    size_t listingsAtMost = 0;     // a card beyond the tree walk's bound: listing requests it may take
};

struct RunResult {
    bool clean = true;
    std::string why;
    std::vector<std::string> log;  // the emulator's log of the run
    unsigned long elapsedMs = 0;
};

// The port's time-out: every wait on the printer ends within it.
constexpr unsigned long PORT_TIMEOUT_MS = 5000;
// A close outside a copy ends the program within the exchange on the port and the farewell.
constexpr unsigned long CLOSE_BOUND_MS = 2 * PORT_TIMEOUT_MS + 3000;

// The card the campaign copies: a host folder served in a shuffled order, and its tree.
struct CampaignCard {
    std::string windowsFolder;
    std::string unixFolder;
    FolderTree tree;
    std::vector<std::string> selection;  // root items a selection copy takes
    FolderTree selectionTree;            // what a selection copy brings
};

// Starts the program against the emulator set up by the plan, copies as the plan says, answers
// every message as a careful user would, ends the program with EXIT when it is still running, and
// checks what a run must never do: crash, outlast its bound, write anywhere on the drive but the
// destination, leave a partial or temporary file, write a byte that differs from the card's, copy
// what was not chosen, let another exchange come between a listing's two requests, or end with a
// file missing that the status line and the report do not account for.
RunResult RunOnce(const RunPlan& plan, const CampaignCard& card);
