// The fault campaign (make faults): the real program under Wine against the printer emulator on
// a small card, with every fault the emulator has injected at every exchange of a whole-card and
// a selection copy (or an even sample of them), and the user closing, stopping or pressing Esc at
// chosen moments. Prints a table of runs by fault and phase and ends with "N passed, M failed".
//
//   faults [--every N] [--only KIND]
//     --every N    inject each exchange fault at every N-th exchange (default 3; 1 = all)
//     --only KIND  only the runs of one fault or action (as the table names it)
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "CampaignRun.h"
#include "EmulatorControl.h"
#include "Files.h"
#include "PacketLog.h"

namespace {
const char* const PHASES[] = {"greeting", "status", "listing", "discovery", "copy-listing", "open", "read", "farewell"};

// A fault that strikes one exchange, given the length of the reply it strikes: the emulator
// options and the note its log then shows, or nothing where the fault would change nothing (a
// split or a cut of a reply no longer than the part it keeps).
struct ExchangeFault {
    const char* name;
    std::vector<std::string> (*options)(size_t n, size_t replyLength);
    const char* note;  // the emulator's note, after "exchange N: "
};

std::string At(size_t n, const std::string& rest = "") { return std::to_string(n) + rest; }
using Options = std::vector<std::string>;

const ExchangeFault EXCHANGE_FAULTS[] = {
    {"silence", [](size_t n, size_t) { return Options{"--silence", At(n)}; }, "silence"},
    {"cut", [](size_t n, size_t length) { return length > 1 ? Options{"--cut", At(n, ":1")} : Options{}; }, "cut"},
    {"cut-half", [](size_t n, size_t length) { return length > 3 ? Options{"--cut", At(n, ":" + std::to_string(length / 2))} : Options{}; }, "cut"},
    {"garbage", [](size_t n, size_t) { return Options{"--garbage", At(n, ":ff41ff42ff")}; }, "garbage"},
    {"garbage-long", [](size_t n, size_t length) { return Options{"--garbage", At(n, ":" + std::string(2 * (length + 7), 'e'))}; }, "garbage"},
    {"split", [](size_t n, size_t length) { return length > 2 ? Options{"--split", At(n, ":2:300")} : Options{}; }, "split"},
    {"extra", [](size_t n, size_t) { return Options{"--extra", At(n, ":00")}; }, "extra"},
    {"disconnect", [](size_t n, size_t) { return Options{"--disconnect", At(n, ":1")}; }, "disconnect"},
    {"status", [](size_t n, size_t) { return Options{"--status", At(n, ":21")}; }, "status 21"},
    {"slow", [](size_t n, size_t length) { return length > 1 ? Options{"--split", At(n, ":1:4500")} : Options{}; }, "split"},
};

// Faults of a whole command or of the card, each a run of its own: what the emulator is told, the
// phase it belongs to, and what its log shows once it has struck.
struct CardFault {
    const char* name;
    const char* phase;
    Options options;
    const char* firedInLog;
    bool refusesGreeting = false;  // no farewell is due
};

const CardFault CARD_FAULTS[] = {
    {"sr-status", "greeting", {"--sr-status", "01,01"}, "< 01", true},
    {"not-ready", "status", {"--sc-status", "10,10,10"}, "< 10"},
    {"sc-error", "status", {"--sc-status", "21"}, "< 21"},
    {"ir-status", "listing", {"--ir-status", "05"}, "< 05"},
    {"count-extra", "listing", {"--count-extra", "2"}, "< 000007"},
    {"fo-refused", "open", {"--fo-status", "ff"}, "< ff00000000"},
    {"fo-error", "open", {"--fo-status", "21"}, "< 21"},
    {"fr-status", "read", {"--fr-status", "21"}, "< 21"},
    // Hostile records: a name that would leave the destination, a device name, a file larger
    // than memory, a folder with an extension that the card does not have.
    {"record-path", "discovery", {"--inject-record", "\\DCIM:2e2e5c41202020202020" "20:20:10"}, "2e2e5c41"},
    {"record-device", "discovery", {"--inject-record", "\\:434f4e20202020204a5047:20:10"}, "434f4e20202020204a5047"},
    {"record-huge", "discovery", {"--inject-record", "\\DCIM:4855474520202020424947:20:4294967295"}, "4855474520202020424947"},
    {"record-folder", "discovery", {"--inject-record", "\\:414c42554d2020204f4c44:10:0"}, "414c42554d2020204f4c44"},
};

CampaignCard MakeCard(CCardFolder& folder) {
    folder.AddFolder("DCIM\\100PHOTO");
    folder.AddFolder("EMPTYDIR");
    folder.AddFolder("MISC");
    folder.AddFile("README.TXT", 1000);
    folder.AddFile("EMPTY.DAT", 0);
    folder.AddFile("DCIM\\INDEX.DAT", 5120);
    folder.AddFile("DCIM\\100PHOTO\\IMG0001.JPG", 3 * 5120 + 77);  // several chunks and an odd tail
    folder.AddFile("DCIM\\100PHOTO\\IMG0002.JPG", 300);
    folder.AddFile("MISC\\NOTES.TXT", 77);
    CampaignCard card{folder.Path(), ToUnixPath(folder.Path()), ReadFolderTree(folder.Path()), {"DCIM", "README.TXT"}, {}};
    for (const auto& [path, item] : card.tree) {
        const std::string top = path.substr(0, path.find('\\'));
        if (std::find(card.selection.begin(), card.selection.end(), top) != card.selection.end())
            card.selectionTree[path] = item;
    }
    return card;
}

// A damaged card whose folders go on past what a tree walk lists: the discovery must end at its
// bound and the end account for the photos of the folders it left.
CampaignCard MakeManyFoldersCard(CCardFolder& folder) {
    for (int top = 0; top < 70; ++top) {
        char path[32];
        for (int sub = 0; sub < 60; ++sub) {
            std::snprintf(path, sizeof(path), "D%02d\\S%02d", top, sub);
            folder.AddFolder(path);
        }
        std::snprintf(path, sizeof(path), "D%02d\\S59\\IMG.JPG", top);
        folder.AddFile(path, 700);
    }
    return {folder.Path(), ToUnixPath(folder.Path()), ReadFolderTree(folder.Path()), {}, {}};
}

RunPlan ManyFoldersPlan() {
    RunPlan plan;
    plan.kind = "many-folders";
    plan.phase = "discovery";
    // The README's bound of 4,096 folders a walk lists: each is asked twice to find it and twice to
    // copy it, the root once more by the browser.
    plan.listingsAtMost = 4 * 4097 + 2;
    // No time-out is waited: every exchange of the run is answered at once.
    plan.deadlineMs = plan.listingsAtMost * 50 + 120000;
    return plan;
}

// The phase of each exchange of a clean run: the first listing is the browser's; after it each
// folder is listed once to find the tree and once to copy it.
std::vector<std::string> Phases(const std::vector<std::string>& packets) {
    std::vector<std::string> phases;
    std::map<std::string, int> listed;
    bool browsed = false;
    for (size_t i = 0; i < packets.size(); ++i) {
        const std::string& p = packets[i];
        std::string phase = "read";
        if (p == SR_FAREWELL) {
            phase = "farewell";
        } else if (p == SR_GREETING) {
            phase = "greeting";
        } else if (p == SC_PACKET) {
            phase = "status";
        } else if (p.rfind(FO_PREFIX, 0) == 0) {
            phase = "open";
        } else if (p.rfind(IR_PREFIX, 0) == 0) {
            phase = !browsed ? "listing" : (listed[p]++ == 0 ? "discovery" : "copy-listing");
            browsed = true;
            if (i + 1 < packets.size() && packets[i + 1] == p) {
                phases.push_back(phase);
                ++i;
            }
        }
        phases.push_back(phase);
    }
    return phases;
}

// The packets of a run and the length of each one's reply, from the emulator's log.
void Exchanges(const std::vector<std::string>& log, std::vector<std::string>* packets, std::vector<size_t>* replies) {
    for (const std::string& line : log) {
        if (line.rfind("> ", 0) == 0) {
            packets->push_back(line.substr(2));
            replies->push_back(0);
        } else if (line.rfind("< ", 0) == 0 && !replies->empty()) {
            replies->back() += (line.size() - 2) / 2;
        }
    }
}

// The program's own bound for a run: a clean run's time, and for the fault one exchange that
// waits out the port's time-out in each direction (an open asks again, up to six times), or the
// user's moment held open.
unsigned long Deadline(unsigned long cleanMs, const std::string& phase) {
    return 2 * cleanMs + (phase == "open" ? 7 : 3) * PORT_TIMEOUT_MS;
}

// Each fault kind at every `every`-th exchange of a clean run, shifted by kind so that every
// exchange is hit by some kind; each fault of a command or of the card; a whole run on a slow link.
void AddFaultPlans(CopyMode mode, const std::vector<std::string>& phases, const std::vector<size_t>& replies,
                   unsigned long cleanMs, size_t every, std::vector<RunPlan>* plans) {
    for (size_t k = 0; k < std::size(EXCHANGE_FAULTS); ++k) {
        for (size_t n = 1; n <= phases.size(); ++n) {
            if ((n + k) % every != 0) continue;
            RunPlan plan;
            plan.emulatorOptions = EXCHANGE_FAULTS[k].options(n, replies[n - 1]);
            if (plan.emulatorOptions.empty()) continue;
            plan.kind = EXCHANGE_FAULTS[k].name;
            plan.phase = phases[n - 1];
            plan.mode = mode;
            plan.firedInLog = "# exchange " + std::to_string(n) + ": " + EXCHANGE_FAULTS[k].note;
            plan.faultedExchange = n;
            plan.disconnects = std::strcmp(EXCHANGE_FAULTS[k].name, "disconnect") == 0;
            plan.deadlineMs = Deadline(cleanMs, plan.phase);
            plans->push_back(plan);
        }
    }
    for (const CardFault& fault : CARD_FAULTS) {
        RunPlan plan;
        plan.kind = fault.name;
        plan.phase = fault.phase;
        plan.mode = mode;
        plan.emulatorOptions = fault.options;
        plan.firedInLog = fault.firedInLog;
        plan.refusesGreeting = fault.refusesGreeting;
        // Such a fault can strike every exchange of its command: each may wait out its time-out.
        plan.deadlineMs = 2 * cleanMs + (phases.size() + 6) * PORT_TIMEOUT_MS;
        plans->push_back(plan);
    }
    RunPlan slow;
    slow.kind = "slow";
    slow.phase = "read";
    slow.mode = mode;
    slow.emulatorOptions = {"--rate", "3000"};
    slow.deadlineMs = 20 * cleanMs + 60000;  // the card of 25 KB at 3 KB/s
    plans->push_back(slow);
}

// The user closing, pressing Esc or STOP at chosen moments; each moment's exchange is held open
// for a while. Outside a copy the close ends the program; during one it is held back.
void AddUserPlans(CopyMode mode, const std::vector<std::string>& phases, unsigned long cleanMs,
                  std::vector<RunPlan>* plans) {
    auto firstOf = [&](const std::string& phase) {
        const auto found = std::find(phases.begin(), phases.end(), phase);
        return found == phases.end() ? size_t(0) : size_t(found - phases.begin()) + 1;
    };
    struct Moment {
        const char* phase;
        size_t packet;
        bool copying;
    };
    const Moment moments[] = {
        {"greeting", 1, false},
        {"status", 2, false},
        {"listing", firstOf("listing"), false},
        {"discovery", firstOf("discovery"), true},
        {"read", firstOf("read"), true},
    };
    for (const Moment& moment : moments) {
        if (moment.packet == 0 || (mode == CopyMode::Selection && !moment.copying)) continue;
        for (UserAction action : {UserAction::Close, UserAction::Escape, UserAction::Stop}) {
            if (action == UserAction::Stop && !moment.copying) continue;
            RunPlan plan;
            plan.kind = action == UserAction::Close ? "close" : action == UserAction::Escape ? "esc" : "stop";
            plan.phase = moment.phase;
            plan.mode = mode;
            plan.action = action;
            plan.actAtPacket = moment.packet;
            if (moment.packet > 1) plan.emulatorOptions = {"--split", At(moment.packet, ":1:2500")};
            plan.deadlineMs = Deadline(cleanMs, plan.phase);
            plan.expect = action == UserAction::Stop ? Expectation::Sound
                          : moment.copying            ? Expectation::CopiesWhole
                                                      : Expectation::EndsItself;
            plans->push_back(plan);
        }
    }
}

struct Cell {
    int runs = 0;
    int clean = 0;
};

// Clean runs of runs, by fault kind (in the order they ran) and phase.
void PrintTable(const std::vector<std::string>& kinds, std::map<std::string, std::map<std::string, Cell>>& table) {
    std::printf("\n| fault |");
    for (const char* phase : PHASES) std::printf(" %s |", phase);
    std::printf("\n|---|");
    for (size_t i = 0; i < std::size(PHASES); ++i) std::printf("---|");
    std::printf("\n");
    for (const std::string& kind : kinds) {
        std::printf("| %s |", kind.c_str());
        for (const char* phase : PHASES) {
            const Cell& cell = table[kind][phase];
            if (cell.runs == 0) {
                std::printf("  |");
            } else {
                std::printf(" %d/%d |", cell.clean, cell.runs);
            }
        }
        std::printf("\n");
    }
    std::printf("\n(clean runs / runs)\n");
}
}  // namespace

int main(int argc, char** argv) {
    size_t every = 3;
    std::string only;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--every") == 0) every = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
    }
    if (!EmulatorControl::Available()) {
        std::fprintf(stderr, "faults: no emulator (EMULATOR_CONTROL); run it through make faults\n");
        return 2;
    }
    CCardFolder folder;
    const CampaignCard card = MakeCard(folder);

    std::vector<RunPlan> plans;
    for (CopyMode mode : {CopyMode::WholeCard, CopyMode::Selection}) {
        RunPlan clean;
        clean.kind = "none";
        clean.mode = mode;
        clean.deadlineMs = 120000;
        const RunResult baseline = RunOnce(clean, card);
        if (!baseline.clean) {
            std::fprintf(stderr, "faults: a run without a fault already fails: %s\n", baseline.why.c_str());
            return 1;
        }
        std::vector<std::string> packets;
        std::vector<size_t> replies;
        Exchanges(baseline.log, &packets, &replies);
        const std::vector<std::string> phases = Phases(packets);
        std::printf("%s: %zu exchanges in a clean run of %.1f s\n", mode == CopyMode::WholeCard ? "whole card" : "selection",
                    packets.size(), baseline.elapsedMs / 1000.0);
        AddFaultPlans(mode, phases, replies, baseline.elapsedMs, every, &plans);
        AddUserPlans(mode, phases, baseline.elapsedMs, &plans);
    }

    plans.push_back(ManyFoldersPlan());
    if (!only.empty()) {
        plans.erase(std::remove_if(plans.begin(), plans.end(), [&](const RunPlan& p) { return p.kind != only; }),
                    plans.end());
    }
    CCardFolder manyFoldersFolder;
    const CampaignCard manyFolders = MakeManyFoldersCard(manyFoldersFolder);
    std::printf("%zu runs (faults at every %zu. exchange, each kind at other exchanges)\n\n", plans.size(), every);
    std::map<std::string, std::map<std::string, Cell>> table;
    std::vector<std::string> kinds;
    int failed = 0;
    for (const RunPlan& plan : plans) {
        const RunResult result = RunOnce(plan, plan.listingsAtMost ? manyFolders : card);
        Cell& cell = table[plan.kind][plan.phase];
        if (std::find(kinds.begin(), kinds.end(), plan.kind) == kinds.end()) kinds.push_back(plan.kind);
        ++cell.runs;
        cell.clean += result.clean ? 1 : 0;
        if (!result.clean) {
            ++failed;
            std::printf("FAILED %s at %s (exchange %zu, %s): %s\n", plan.kind.c_str(), plan.phase.c_str(),
                        plan.faultedExchange ? plan.faultedExchange : plan.actAtPacket,
                        plan.mode == CopyMode::WholeCard ? "whole card" : "selection", result.why.c_str());
        }
        std::fflush(stdout);
    }
    PrintTable(kinds, table);
    std::printf("%zu passed, %d failed\n", plans.size() - failed, failed);
    return failed == 0 ? 0 : 1;
}
