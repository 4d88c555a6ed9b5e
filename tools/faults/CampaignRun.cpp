#include "CampaignRun.h"

#include <windows.h>

#include <map>

#include "EmulatorControl.h"
#include "Files.h"
#include "ModuleText.h"
#include "app/LanguageModule.h"
#include "PacketLog.h"
#include "ProgramSession.h"
#include "UiDriver.h"
#include "Waiting.h"

namespace {
constexpr DWORD EXIT_DEADLINE_MS = 45000;

// A careful user's answer to whatever the program asks: OK, else Cancel, else No.
void AnswerMessages(CUiDriver& ui, std::vector<std::string>* seen) {
    for (HWND box : ui.MessageBoxes()) {
        const MessageBoxView view = ui.ReadMessageBox(box);
        for (int button : {IDOK, IDCANCEL, IDNO}) {
            bool present = false;
            for (int b : view.aButtons) present = present || b == button;
            if (present && ui.PressMessageBoxButton(box, button)) {
                seen->push_back(view.strText);
                break;
            }
        }
    }
}

Outcome Act(UserAction action, CUiDriver& ui) {
    switch (action) {
        case UserAction::Close:
            return ui.RequestClose();
        case UserAction::Escape: {
            const Outcome front = ui.BringToFront();
            return front ? ui.PressKey(VK_ESCAPE) : front;
        }
        case UserAction::Stop:
            return ui.Click(PANEL_EXIT_STOP_BUTTON);
        default:
            return Outcome::Done();
    }
}

// Each listing is two identical requests in a row; a lone one is a listing given up at the
// faulted exchange, or the last one of all where the user stopped or closed (or the last packet);
// anything else means two exchanges were interleaved.
bool ListingsPair(const std::vector<std::string>& packets, size_t i, size_t faultedExchange, size_t lastLone) {
    if (i >= packets.size()) return true;
    if (packets[i].rfind(IR_PREFIX, 0) != 0) return ListingsPair(packets, i + 1, faultedExchange, lastLone);
    if (i + 1 < packets.size() && packets[i + 1] == packets[i] && ListingsPair(packets, i + 2, faultedExchange, lastLone))
        return true;
    return (i + 1 == faultedExchange || i == lastLone || i + 1 == packets.size()) &&
           ListingsPair(packets, i + 1, faultedExchange, lastLone);
}

// Every file that arrived is a chosen one, the card's byte for byte, and nothing half-written is
// left.
Outcome FilesSound(const FolderTree& received, const FolderTree& card) {
    for (const auto& [path, item] : received) {
        const auto found = card.find(path);
        if (found == card.end()) return Outcome::Failed("\"" + path + "\" was not chosen from the card");
        if (found->second.bFolder != item.bFolder || (!item.bFolder && found->second.aBytes != item.aBytes))
            return Outcome::Failed("\"" + path + "\" differs from the card");
    }
    const std::vector<std::string> leftovers = TemporaryLeftovers(received);
    if (!leftovers.empty()) return Outcome::Failed("left behind: " + leftovers.front());
    return Outcome::Done();
}

// Every file of the drive but those below the destination, with its size: what a run may not
// change.
void SnapshotDrive(const std::string& folder, const std::string& destination, std::map<std::string, uint64_t>* files) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = folder + "\\" + name;
        if (_stricmp(path.c_str(), destination.c_str()) == 0) continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) SnapshotDrive(path, destination, files);
            (*files)[path + "\\"] = 0;
        } else {
            (*files)[path] = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

std::string DriveChange(const std::map<std::string, uint64_t>& before, const std::map<std::string, uint64_t>& after) {
    for (const auto& [path, size] : after) {
        const auto was = before.find(path);
        if (was == before.end()) return "written outside the destination: " + path;
        if (was->second != size) return "changed outside the destination: " + path;
    }
    return "";
}

// The end the user is shown, held against the disk: every chosen file is present and the card's,
// or the status line counts it as not copied, and, where the program left it, the report counts
// it too.
Outcome EndAccounted(const RunPlan& plan, const std::string& module, const std::string& status,
                     const std::vector<std::string>& messages, const FolderTree& received, const FolderTree& chosen) {
    size_t files = 0, present = 0;
    for (const auto& [path, item] : chosen) {
        if (item.bFolder) continue;
        ++files;
        const auto got = received.find(path);
        present += got != received.end() && !got->second.bFolder && got->second.aBytes == item.aBytes;
    }
    const size_t missing = files - present;
    std::vector<std::string> all = Fields(ModuleText(module, TEXT_COPIED_ALL), status);
    if (all.empty() && !Fields(ModuleText(module, TEXT_COPIED_ONE), status).empty()) all = {"1"};
    std::vector<std::string> some = Fields(ModuleText(module, TEXT_COPIED_SOME), status);
    // "of at least": not every file was found, so the total is no bound.
    const std::vector<std::string> atLeast = Fields(ModuleText(module, TEXT_COPIED_OF_AT_LEAST), status);
    if (!atLeast.empty()) some = {atLeast[0], std::to_string(std::stoul(atLeast[0]) + missing)};
    if (!all.empty()) {
        if (missing > 0) return Outcome::Failed(std::to_string(missing) + " files missing, yet the status line says \"" + status + "\"");
        if (all[0] != std::to_string(files)) return Outcome::Failed("the status line says \"" + status + "\"");
        return Outcome::Done();
    }
    if (some.size() != 2) return Outcome::Failed("the copy ended with the status line \"" + status + "\"");
    const unsigned long copied = std::stoul(some[0]), total = std::stoul(some[1]);
    if (copied != present || total < copied + missing)
        return Outcome::Failed(std::to_string(present) + " of the " + std::to_string(files) +
                               " chosen files arrived; the status line says \"" + status + "\"");
    // Without the user's hand every file left is the program's doing, and the report tells it.
    if (plan.action != UserAction::None || missing == 0) return Outcome::Done();
    const std::string header = ModuleText(module, TEXT_REPORT_HEADER);
    const std::string headerAtLeast = ModuleText(module, TEXT_REPORT_HEADER_AT_LEAST);
    for (const std::string& message : messages) {
        const std::string first = message.substr(0, message.find('\n'));
        const std::vector<std::string> counts = Fields(header, first);
        if ((counts.size() == 2 && std::stoul(counts[0]) >= missing) || !Fields(headerAtLeast, first).empty())
            return Outcome::Done();
    }
    return Outcome::Failed(std::to_string(missing) + " files left on the card and no report counts them");
}

RunResult Failed(RunResult result, const std::string& why, const std::vector<std::string>& messages = {}) {
    result.clean = false;
    result.why = why;
    for (const std::string& message : messages) result.why += " | the program said: " + message;
    return result;
}
}  // namespace

RunResult RunOnce(const RunPlan& plan, const CampaignCard& card) {
    RunResult result;
    EmulatorControl emulator;
    std::vector<std::string> options = {"--order", "shuffled:7"};
    options.insert(options.end(), plan.emulatorOptions.begin(), plan.emulatorOptions.end());
    const Outcome served = emulator.Serve(card.windowsFolder, options);
    if (!served) return Failed(result, "emulator: " + served.why);

    TempFolder sandbox;
    const std::string destination = sandbox / "received";
    MakeFolders(destination);
    CProgramSession session;
    Outcome step = session.Install();
    if (!step) return Failed(result, "install: " + step.why);
    std::map<std::string, uint64_t> driveBefore, driveAfter;
    SnapshotDrive("C:", destination, &driveBefore);
    step = session.Start(20000, destination);
    if (!step) return Failed(result, "start: " + step.why);
    CUiDriver& ui = session.Ui();

    std::vector<std::string> messages;  // what the program said
    bool acted = plan.action == UserAction::None;
    Outcome action = Outcome::Done();
    size_t packetsAtAction = 0;
    DWORD actedAt = 0;
    bool copyPressed = false;
    const DWORD start = GetTickCount();
    auto actWhenDue = [&] {
        if (!acted && emulator.Packets().size() >= plan.actAtPacket) {
            acted = true;
            packetsAtAction = emulator.Packets().size();
            actedAt = GetTickCount();
            action = Act(plan.action, ui);
        }
    };
    // The program runs until it ends by itself or the copy it was given has ended.
    bool settled = WaitUntil(
        [&] {
            if (!session.Process().IsRunning()) return true;
            AnswerMessages(ui, &messages);
            actWhenDue();
            if (!copyPressed && ui.MessageBoxes().empty() && ui.IsEnabled(PANEL_COPY_BUTTON) &&
                ui.IsEnabled(PANEL_EXIT_STOP_BUTTON)) {
                if (plan.mode == CopyMode::WholeCard) {
                    if (!ui.TickSelectAll()) return false;
                } else if (!ui.SelectItems(card.selection)) {
                    return true;  // the root did not list what is to be chosen: nothing to copy
                }
                copyPressed = ui.Click(PANEL_COPY_BUTTON) && ui.WaitForWindowThread();
                return false;
            }
            return copyPressed && acted && ui.MessageBoxes().empty() && ui.CopyEnded();
        },
        plan.deadlineMs);
    result.elapsedMs = GetTickCount() - start;
    if (!settled) return Failed(result, "no end within the run's bound of " + std::to_string(plan.deadlineMs / 1000) + " s", messages);
    if (!acted) return Failed(result, "the moment to act never came", messages);
    if (!action) return Failed(result, "the user's action did not reach the program: " + action.why, messages);
    const bool ranOn = session.Process().IsRunning();
    if (plan.expect == Expectation::EndsItself) {
        if (ranOn) return Failed(result, "the close was not carried out", messages);
        if (result.elapsedMs - (actedAt - start) > CLOSE_BOUND_MS)
            return Failed(result, "the close took longer than " + std::to_string(CLOSE_BOUND_MS / 1000) + " s", messages);
    }
    if (plan.expect == Expectation::CopiesWhole && !ranOn) return Failed(result, "the close ended the copy", messages);
    const std::string status = ranOn && copyPressed ? ui.ControlText(PANEL_STATUS_LINE) : "";

    // A program still running is left with EXIT, as a user leaves it.
    if (session.Process().IsRunning()) {
        bool exitPressed = false;
        WaitUntil(
            [&] {
                AnswerMessages(ui, &messages);
                if (!exitPressed && ui.MessageBoxes().empty()) exitPressed = bool(ui.Click(PANEL_EXIT_STOP_BUTTON));
                return !session.Process().IsRunning();
            },
            EXIT_DEADLINE_MS);
    }
    if (session.Process().IsRunning()) return Failed(result, "EXIT did not end the program", messages);
    const DWORD code = session.Process().ExitCode();
    if (code != 0) return Failed(result, "the program ended with code " + std::to_string(code), messages);

    result.log = emulator.Log();
    if (!plan.firedInLog.empty() &&
        std::none_of(result.log.begin(), result.log.end(),
                     [&](const std::string& line) { return line.find(plan.firedInLog) != std::string::npos; }))
        return Failed(result, "the fault never struck (no \"" + plan.firedInLog + "\" in the emulator's log)", messages);
    const std::vector<std::string> packets = emulator.Packets();
    const size_t listings = emulator.Packets(IR_PREFIX).size();
    if (plan.listingsAtMost && listings > plan.listingsAtMost)
        return Failed(result, "the card was listed " + std::to_string(listings) + " times, past the walk's bound", messages);
    size_t lastListing = packets.size();
    for (size_t i = 0; i < packets.size() && plan.action != UserAction::None; ++i)
        if (packets[i].rfind(IR_PREFIX, 0) == 0) lastListing = i;
    if (!ListingsPair(packets, 0, plan.faultedExchange, lastListing))
        return Failed(result, "a listing's two requests are not side by side", messages);
    if (plan.action == UserAction::Stop) {
        for (size_t i = packetsAtAction; i < packets.size(); ++i)
            if (packets[i].rfind(FO_PREFIX, 0) == 0) return Failed(result, "a file was opened after STOP", messages);
    }
    // A printer that answered the greeting is told goodbye once; one that went away cannot be.
    const size_t farewells = emulator.CountPackets(SR_FAREWELL);
    const bool greeted = plan.faultedExchange != 1 && !plan.disconnects && !plan.refusesGreeting;
    if (farewells > 1 || (greeted && farewells != 1))
        return Failed(result, "the farewell went out " + std::to_string(farewells) + " times", messages);
    SnapshotDrive("C:", destination, &driveAfter);
    if (const std::string change = DriveChange(driveBefore, driveAfter); !change.empty())
        return Failed(result, change, messages);
    const FolderTree received = ReadFolderTree(destination);
    const FolderTree& chosen = plan.mode == CopyMode::WholeCard ? card.tree : card.selectionTree;
    if (const Outcome files = FilesSound(received, chosen); !files) return Failed(result, files.why, messages);
    if (plan.expect == Expectation::CopiesWhole && !SameTree(received, chosen))
        return Failed(result, "the copy is not whole: " + SameTree(received, chosen).why, messages);
    if (!status.empty()) {
        if (const Outcome end = EndAccounted(plan, session.LanguageModulePath(), status, messages, received, chosen); !end)
            return Failed(result, end.why, messages);
    } else if (copyPressed && messages.empty()) {
        return Failed(result, "the program ended during the copy without a word", messages);
    }
    return result;
}
