#pragma once
#include <windows.h>

#include <gtest/gtest.h>

// A small top-level window of the test's own process, away from the program's window: bringing
// it to the front deactivates the program as a user's switch to another program does.
class CStandInWindow {
public:
    CStandInWindow();
    ~CStandInWindow();
    CStandInWindow(const CStandInWindow&) = delete;
    CStandInWindow& operator=(const CStandInWindow&) = delete;

    // Makes this window the foreground window and waits until it is.
    ::testing::AssertionResult TakeForeground();

private:
    HWND m_hWnd;
};
