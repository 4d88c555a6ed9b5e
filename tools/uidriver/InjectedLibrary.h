#pragma once
#include <windows.h>

#include <string>

#include "Outcome.h"

// A library of ours loaded into the program's process, to reach what lives only inside it (its
// menus, its imports): a thread started in that process runs LoadLibraryA on the library, and
// later threads run the library's exported functions there.
class CInjectedLibrary {
public:
    CInjectedLibrary() = default;
    ~CInjectedLibrary();
    CInjectedLibrary(const CInjectedLibrary&) = delete;
    CInjectedLibrary& operator=(const CInjectedLibrary&) = delete;

    // Fails when the library's initialisation refuses to load.
    Outcome Load(HANDLE hProcess, DWORD dwProcessId, const std::string& strPath);
    bool IsLoaded() const { return m_pRemoteBase != nullptr; }
    // Runs an export "DWORD WINAPI Function(void*)" in the process; its answer, or false.
    bool Call(const char* pFunction, void* pArgument, DWORD* pAnswer) const;

private:
    HANDLE m_hProcess = nullptr;
    BYTE* m_pRemoteBase = nullptr;
    // The same library mapped here, not run: an export's offset is the same in both processes.
    HMODULE m_hLocalImage = nullptr;
};
