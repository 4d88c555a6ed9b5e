// Drives the running Brisling window as a user would, for scripts:
//
//   drive [--timeout MS] wait-ready   waits until the card's root is listed
//   drive [--timeout MS] title        prints the window's title
//   drive [--timeout MS] copy-all     ticks "Select ALL", presses COPY and waits for the copy to
//                                     end; prints seconds=... unresponsive_ms=...
//                                     peak_working_set=... (the window thread's longest answer
//                                     during the copy, and the program's peak memory)
//   drive [--timeout MS] exit         presses EXIT and waits for the program to end
//
// --timeout bounds every wait (default: a minute, and half an hour for the copy itself).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramProcess.h"
#include "UiDriver.h"
#include "Waiting.h"

namespace {

constexpr DWORD DEFAULT_TIMEOUT_MS = 60000;
constexpr DWORD DEFAULT_COPY_TIMEOUT_MS = 30 * 60 * 1000;
constexpr DWORD ANSWER_TIMEOUT_MS = 10000;

int Fail(const std::string& why) {
    std::fprintf(stderr, "drive: %s\n", why.c_str());
    return 1;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// How long the window thread takes to answer a message, in milliseconds.
double AnswerTime(HWND hWindow) {
    LARGE_INTEGER sent, answered;
    QueryPerformanceCounter(&sent);
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hWindow, WM_NULL, 0, 0, SMTO_NORMAL, ANSWER_TIMEOUT_MS, &nResult);
    QueryPerformanceCounter(&answered);
    return 1000 * Seconds(sent, answered);
}

int CopyAll(CUiDriver& ui, const CProgramProcess& program, DWORD dwReadyTimeout,
            DWORD dwCopyTimeout) {
    const Outcome ready = ui.WaitForRootListed(dwReadyTimeout);
    if (!ready) return Fail(ready.why);
    if (ui.CheckState(PANEL_SELECT_ALL) != BST_CHECKED) {
        const Outcome ticked = ui.TickSelectAll();
        if (!ticked) return Fail(ticked.why);
    }
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    const Outcome pressed = ui.Click(PANEL_COPY_BUTTON);
    if (!pressed) return Fail(pressed.why);
    if (!ui.WaitForWindowThread()) return Fail("the window did not take the click on COPY");
    // The copy has ended when the panel can be used again, or when the program asks something.
    double dLongestAnswer = 0;
    // The end (two window styles) is looked at every 25 ms, the window thread and the messages
    // every 200 ms: a closer watch would take the Wine server and the window thread from the
    // copy it measures.
    const ULONGLONG deadline = GetTickCount64() + dwCopyTimeout;
    bool bEnded = false;
    for (int nStep = 0; !bEnded && GetTickCount64() < deadline; ++nStep) {
        Sleep(25);
        if (nStep % 8 == 0) {
            dLongestAnswer = std::max(dLongestAnswer, AnswerTime(ui.MainDialog()));
            bEnded = !ui.MessageBoxes().empty();
        }
        bEnded = bEnded || ui.CopyEnded();
    }
    QueryPerformanceCounter(&end);
    if (!bEnded) return Fail("the copy did not end");
    for (HWND hBox : ui.MessageBoxes()) return Fail("the program says: " + ui.ReadMessageBox(hBox).strText);
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(program.Handle(), &memory, sizeof(memory));
    std::printf("seconds=%.3f unresponsive_ms=%.1f peak_working_set=%llu\n", Seconds(start, end),
                dLongestAnswer, static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    DWORD dwTimeout = 0;
    int nArgument = 1;
    if (nArgument + 1 < argc && std::string(argv[nArgument]) == "--timeout") {
        dwTimeout = std::strtoul(argv[nArgument + 1], nullptr, 10);
        nArgument += 2;
    }
    const std::string strCommand = nArgument + 1 == argc ? argv[nArgument] : "";
    if (strCommand != "wait-ready" && strCommand != "title" && strCommand != "copy-all" &&
        strCommand != "exit") {
        return Fail("usage: drive [--timeout MS] wait-ready|title|copy-all|exit");
    }
    const DWORD dwWait = dwTimeout ? dwTimeout : DEFAULT_TIMEOUT_MS;

    DWORD dwProcessId = 0;
    if (!WaitUntil([&] { return (dwProcessId = CUiDriver::FindRunningProgram()) != 0; }, dwWait))
        return Fail("no Brisling window");
    CUiDriver ui(dwProcessId);
    CProgramProcess program;
    if (!ui.Attach() || !program.Open(dwProcessId)) return Fail("cannot attach to the window");
    // The window exists before its initialisation has run (and set its texts).
    if (!ui.WaitForWindowThread(dwWait)) return Fail("the window does not take messages");

    if (strCommand == "title") {
        // In UTF-8, as the shell that reads it expects, whatever the program's code page.
        wchar_t szTitle[256] = {};
        GetWindowTextW(ui.MainDialog(), szTitle, 256);
        char szUtf8[1024] = {};
        WideCharToMultiByte(CP_UTF8, 0, szTitle, -1, szUtf8, sizeof(szUtf8), nullptr, nullptr);
        std::printf("%s\n", szUtf8);
        return 0;
    }
    if (strCommand == "wait-ready") {
        const Outcome ready = ui.WaitForRootListed(dwWait);
        return ready ? 0 : Fail(ready.why);
    }
    if (strCommand == "copy-all")
        return CopyAll(ui, program, dwWait, dwTimeout ? dwTimeout : DEFAULT_COPY_TIMEOUT_MS);
    const Outcome pressed = ui.Click(PANEL_EXIT_STOP_BUTTON);
    if (!pressed) return Fail(pressed.why);
    return program.WaitForExit(dwWait) ? 0 : Fail("the program did not end");
}
