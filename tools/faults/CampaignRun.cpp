#include "CampaignRun.h"

#include <windows.h>

#include "EmulatorControl.h"
#include "Files.h"
#include "PacketLog.h"
#include "ProgramSession.h"
#include "UiDriver.h"
#include "Waiting.h"

namespace {
// Every exchange of a small card may time out once (5 s each way) and the run still ends well
// inside this.
constexpr DWORD RUN_DEADLINE_MS = 120000;
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
// faulted exchange (or the last packet); anything else means two exchanges were interleaved.
bool ListingsPair(const std::vector<std::string>& packets, size_t i, size_t faultedExchange) {
    if (i >= packets.size()) return true;
    if (packets[i].rfind(IR_PREFIX, 0) != 0) return ListingsPair(packets, i + 1, faultedExchange);
    if (i + 1 < packets.size() && packets[i + 1] == packets[i] && ListingsPair(packets, i + 2, faultedExchange))
        return true;
    return (i + 1 == faultedExchange || i + 1 == packets.size()) && ListingsPair(packets, i + 1, faultedExchange);
}

// Every file that arrived is the card's, byte for byte, and nothing half-written is left.
Outcome FilesSound(const FolderTree& received, const FolderTree& card) {
    for (const auto& [path, item] : received) {
        const auto found = card.find(path);
        if (found == card.end()) return Outcome::Failed("\"" + path + "\" is not on the card");
        if (found->second.bFolder != item.bFolder || (!item.bFolder && found->second.aBytes != item.aBytes))
            return Outcome::Failed("\"" + path + "\" differs from the card");
    }
    const std::vector<std::string> leftovers = TemporaryLeftovers(received);
    if (!leftovers.empty()) return Outcome::Failed("left behind: " + leftovers.front());
    return Outcome::Done();
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

    // The destination lies alone in a sandbox: whatever else appears there was written outside it.
    TempFolder sandbox;
    const std::string destination = sandbox / "received";
    MakeFolders(destination);
    CProgramSession session;
    Outcome step = session.Install();
    if (step) step = session.Start(20000, destination);
    if (!step) return Failed(result, "start: " + step.why);
    CUiDriver& ui = session.Ui();

    std::vector<std::string> messages;  // what the program said, for a failure's explanation
    bool acted = plan.action == UserAction::None;
    bool copyPressed = false;
    const DWORD start = GetTickCount();
    auto actWhenDue = [&] {
        if (!acted && emulator.Packets().size() >= plan.actAtPacket) {
            acted = true;
            Act(plan.action, ui);
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
        RUN_DEADLINE_MS);
    if (!settled) return Failed(result, "no end within " + std::to_string(RUN_DEADLINE_MS / 1000) + " s", messages);
    if (!acted) return Failed(result, "the moment to act never came", messages);
    const bool ranOn = session.Process().IsRunning();
    if (plan.expect == Expectation::EndsItself && ranOn) return Failed(result, "the close was not carried out", messages);
    if (plan.expect == Expectation::CopiesWhole && !ranOn) return Failed(result, "the close ended the copy", messages);

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
    if (GetTickCount() - start > RUN_DEADLINE_MS) return Failed(result, "the run outlasted the port's time-outs", messages);

    result.packets = emulator.Packets();
    if (!ListingsPair(result.packets, 0, plan.faultedExchange))
        return Failed(result, "a listing's two requests are not side by side", messages);
    // A printer that answered the greeting is told goodbye once; one that went away cannot be.
    const size_t farewells = emulator.CountPackets(SR_FAREWELL);
    const bool greeted = plan.faultedExchange != 1 && !plan.disconnects;
    if (farewells > 1 || (greeted && farewells != 1))
        return Failed(result, "the farewell went out " + std::to_string(farewells) + " times", messages);
    for (const std::string& name : ListFolder(sandbox.Path()))
        if (name != "received") return Failed(result, "written outside the destination: " + name, messages);
    const FolderTree received = ReadFolderTree(destination);
    if (const Outcome files = FilesSound(received, card.tree); !files) return Failed(result, files.why, messages);
    const FolderTree& whole = plan.mode == CopyMode::WholeCard ? card.tree : card.selectionTree;
    if (plan.expect == Expectation::CopiesWhole && !SameTree(received, whole))
        return Failed(result, "the copy is not whole: " + SameTree(received, whole).why, messages);
    return result;
}
