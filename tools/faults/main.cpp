// The fault campaign (make faults): the real program under Wine against the printer emulator on
// a small card, with every fault the emulator has injected at every exchange of a whole-card and
// a selection copy (or an even sample of them), and the user closing, stopping or pressing Esc at
// chosen moments. Prints a table of runs by fault and phase and ends with "N passed, M failed".
//
//   faults [--every N]    inject each fault kind at every N-th exchange (default 3; 1 = all)
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

struct FaultKind {
    const char* name;
    // The emulator options that put this fault on exchange n.
    std::vector<std::string> (*options)(size_t n);
};

std::string At(size_t n, const std::string& rest = "") { return std::to_string(n) + rest; }

const FaultKind FAULT_KINDS[] = {
    {"silence", [](size_t n) { return std::vector<std::string>{"--silence", At(n)}; }},
    {"cut", [](size_t n) { return std::vector<std::string>{"--cut", At(n, ":1")}; }},
    {"garbage", [](size_t n) { return std::vector<std::string>{"--garbage", At(n, ":ff41ff42ff")}; }},
    {"split", [](size_t n) { return std::vector<std::string>{"--split", At(n, ":2:300")}; }},
    {"disconnect", [](size_t n) { return std::vector<std::string>{"--disconnect", At(n, ":1")}; }},
    {"status", [](size_t n) { return std::vector<std::string>{"--status", At(n, ":21")}; }},
    {"slow", [](size_t n) { return std::vector<std::string>{"--split", At(n, ":1:4500")}; }},
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

// Each fault kind at every `every`-th exchange of a clean run, shifted by kind so that every
// exchange is hit by some kind, and a whole run on a slow link.
void AddFaultPlans(CopyMode mode, const std::vector<std::string>& phases, size_t every, std::vector<RunPlan>* plans) {
    for (size_t k = 0; k < std::size(FAULT_KINDS); ++k) {
        for (size_t n = 1; n <= phases.size(); ++n) {
            if ((n + k) % every != 0) continue;
            RunPlan plan;
            plan.kind = FAULT_KINDS[k].name;
            plan.phase = phases[n - 1];
            plan.mode = mode;
            plan.emulatorOptions = FAULT_KINDS[k].options(n);
            plan.faultedExchange = n;
            plan.disconnects = std::strcmp(FAULT_KINDS[k].name, "disconnect") == 0;
            plans->push_back(plan);
        }
    }
    RunPlan slow;
    slow.kind = "slow";
    slow.phase = "read";
    slow.mode = mode;
    slow.emulatorOptions = {"--rate", "3000"};
    plans->push_back(slow);
}

// The user closing, pressing Esc or STOP at chosen moments; each moment's exchange is held open
// for a while. Outside a copy the close ends the program; during one it is held back.
void AddUserPlans(CopyMode mode, const std::vector<std::string>& phases, std::vector<RunPlan>* plans) {
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
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--every") == 0) every = std::max(1, std::atoi(argv[i + 1]));
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
        const RunResult baseline = RunOnce(clean, card);
        if (!baseline.clean) {
            std::fprintf(stderr, "faults: a run without a fault already fails: %s\n", baseline.why.c_str());
            return 1;
        }
        const std::vector<std::string> phases = Phases(baseline.packets);
        std::printf("%s: %zu exchanges in a clean run\n", mode == CopyMode::WholeCard ? "whole card" : "selection",
                    baseline.packets.size());
        AddFaultPlans(mode, phases, every, &plans);
        AddUserPlans(mode, phases, &plans);
    }

    std::printf("%zu runs (faults at every %zu. exchange, each kind at other exchanges)\n\n", plans.size(), every);
    std::map<std::string, std::map<std::string, Cell>> table;
    std::vector<std::string> kinds;
    int failed = 0;
    for (const RunPlan& plan : plans) {
        const RunResult result = RunOnce(plan, card);
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
