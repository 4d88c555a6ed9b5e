#include "StandInWindow.h"

#include "Waiting.h"

namespace {

constexpr DWORD FOREGROUND_TIMEOUT_MS = 5000;

}  // namespace

CStandInWindow::CStandInWindow() {
    // Bottom right of the screen, where the program's window never reaches.
    const int nScreenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int nScreenHeight = GetSystemMetrics(SM_CYSCREEN);
    m_hWnd = CreateWindowExA(0, "STATIC", "stand-in", WS_POPUP | WS_VISIBLE | WS_BORDER,
                             nScreenWidth - 60, nScreenHeight - 60, 50, 50, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    PumpMessages();
}

CStandInWindow::~CStandInWindow() {
    if (m_hWnd) DestroyWindow(m_hWnd);
    PumpMessages();
}

::testing::AssertionResult CStandInWindow::TakeForeground() {
    if (!m_hWnd) return ::testing::AssertionFailure() << "the stand-in window was not created";
    SetForegroundWindow(m_hWnd);
    const bool bInFront =
        WaitUntil([&] { return GetForegroundWindow() == m_hWnd; }, FOREGROUND_TIMEOUT_MS);
    if (!bInFront)
        return ::testing::AssertionFailure() << "the stand-in window did not come to the front";
    return ::testing::AssertionSuccess();
}
