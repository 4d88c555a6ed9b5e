#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// Loads a library into another running process: a thread started in that process runs
// LoadLibraryA on the path. Fails when the library's initialisation refuses to load.
::testing::AssertionResult LoadLibraryInto(HANDLE hProcess, DWORD dwProcessId,
                                           const std::string& strPath);

// Where a module is loaded in another process, or null.
BYTE* RemoteModuleBase(DWORD dwProcessId, const char* pName);
