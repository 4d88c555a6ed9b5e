#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include "CloseItemProbeCodes.h"

// Reads the Close item of a window's system menu inside the program, where the menu lives: the
// probe library is loaded into the program once, then each reading runs one short thread there.
class CCloseItemReader {
public:
    ::testing::AssertionResult Attach(HANDLE hProcess, DWORD dwProcessId);
    bool IsAttached() const { return m_pRemoteRead != nullptr; }
    // One of CLOSE_ITEM_*, or 0 when the probe could not be run.
    DWORD Read(HWND hWindow) const;

private:
    HANDLE m_hProcess = nullptr;
    void* m_pRemoteRead = nullptr;
};
