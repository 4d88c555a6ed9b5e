// Drives the running Brisling window as a user would: waits for the card's root, ticks
// "Select ALL", presses COPY and waits for the copy to end, while measuring how long the window
// thread ever took to answer and how much memory the program used at its peak.
//
//   drive copy-all         prints: seconds=... unresponsive_ms=... peak_working_set=...
//   drive exit             presses EXIT and waits for the program to end
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "TestSupport.h"
#include "UiDriver.h"

namespace {
constexpr DWORD START_TIMEOUT_MS = 60000;
constexpr DWORD COPY_TIMEOUT_MS = 30 * 60 * 1000;

// Window callbacks are stdcall on 32-bit Windows, so they are functions, not lambdas.
BOOL CALLBACK FindCardList(HWND child, LPARAM found) {
    char name[32];
    GetClassNameA(child, name, sizeof(name));
    if (GetDlgCtrlID(child) == CARD_LIST && std::strcmp(name, "SysListView32") == 0) {
        *reinterpret_cast<HWND*>(found) = child;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindProgramWindow(HWND top, LPARAM pid) {
    HWND panel = nullptr;
    EnumChildWindows(top, FindCardList, reinterpret_cast<LPARAM>(&panel));
    if (!panel) return TRUE;
    GetWindowThreadProcessId(top, reinterpret_cast<DWORD*>(pid));
    return FALSE;
}

DWORD FindProgram() {
    DWORD pid = 0;
    EnumWindows(FindProgramWindow, reinterpret_cast<LPARAM>(&pid));
    return pid;
}

int Fail(const char* what) {
    std::fprintf(stderr, "drive: %s\n", what);
    return 1;
}
}  // namespace

int main(int argc, char** argv) {
    const bool exitOnly = argc >= 2 && std::strcmp(argv[1], "exit") == 0;
    if (argc < 2 || (!exitOnly && std::strcmp(argv[1], "copy-all") != 0)) return Fail("usage: drive copy-all|exit");
    DWORD pid = 0;
    if (!WaitUntil([&] { return (pid = FindProgram()) != 0; }, START_TIMEOUT_MS)) return Fail("no Brisling window");
    CUiDriver ui(pid);
    if (!ui.Attach()) return Fail("cannot attach to the window");
    if (exitOnly) {
        HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
        if (!ui.Click(EXIT_STOP_BUTTON)) return Fail("cannot press EXIT");
        const bool ended = WaitForSingleObject(process, START_TIMEOUT_MS) == WAIT_OBJECT_0;
        CloseHandle(process);
        return ended ? 0 : Fail("the program did not end");
    }
    if (!WaitUntil([&] { return ui.ItemCount() > 0 && ui.IsEnabled(COPY_BUTTON); }, START_TIMEOUT_MS)) {
        return Fail("the card's root was not listed");
    }
    if (ui.CheckState(SELECT_ALL) != BST_CHECKED && !ui.Click(SELECT_ALL)) return Fail("cannot tick Select ALL");
    if (!WaitUntil([&] { return ui.CheckState(SELECT_ALL) == BST_CHECKED; }, 5000)) return Fail("Select ALL stays clear");

    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    if (!ui.Click(COPY_BUTTON)) return Fail("cannot press COPY");
    // The copy runs while "Select ALL" is disabled; a tiny card may be done before it is seen.
    WaitUntil([&] { return !ui.IsEnabled(SELECT_ALL); }, 2000);

    double longestAnswer = 0;
    bool ended = false;
    for (;;) {
        LARGE_INTEGER sent, answered;
        QueryPerformanceCounter(&sent);
        DWORD_PTR result = 0;
        SendMessageTimeoutA(ui.MainDialog(), WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        QueryPerformanceCounter(&answered);
        const double ms = 1000.0 * double(answered.QuadPart - sent.QuadPart) / double(frequency.QuadPart);
        if (ms > longestAnswer) longestAnswer = ms;
        if (ui.IsEnabled(SELECT_ALL) && ui.IsEnabled(EXIT_STOP_BUTTON) && ui.ControlText(STATUS_LINE).empty()) {
            ended = true;
            break;
        }
        QueryPerformanceCounter(&now);
        if (double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart) * 1000 > COPY_TIMEOUT_MS) break;
        Sleep(20);
    }
    QueryPerformanceCounter(&now);
    if (!ended) return Fail("the copy did not end");
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    CloseHandle(process);
    std::printf("seconds=%.3f unresponsive_ms=%.1f peak_working_set=%llu\n",
                double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart), longestAnswer,
                static_cast<unsigned long long>(memory.PeakWorkingSetSize));
    return 0;
}
