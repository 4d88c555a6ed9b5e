#include "RemoteLibrary.h"

#include <tlhelp32.h>

#include "RemoteMemory.h"

BYTE* RemoteModuleBase(DWORD dwProcessId, const char* pName) {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dwProcessId);
    if (hSnapshot == INVALID_HANDLE_VALUE) return nullptr;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    BYTE* pBase = nullptr;
    for (BOOL bMore = Module32First(hSnapshot, &entry); bMore && !pBase;
         bMore = Module32Next(hSnapshot, &entry)) {
        if (lstrcmpiA(entry.szModule, pName) == 0) pBase = entry.modBaseAddr;
    }
    CloseHandle(hSnapshot);
    return pBase;
}

::testing::AssertionResult LoadLibraryInto(HANDLE hProcess, DWORD dwProcessId,
                                           const std::string& strPath) {
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    BYTE* pLocalLoad = reinterpret_cast<BYTE*>(GetProcAddress(hKernel, "LoadLibraryA"));
    // kernel32's base in the other process; the system may place it elsewhere than in ours.
    BYTE* pRemoteKernel = RemoteModuleBase(dwProcessId, "kernel32.dll");
    if (!pLocalLoad || !pRemoteKernel) {
        return ::testing::AssertionFailure() << "kernel32 not found in process " << dwProcessId;
    }
    BYTE* pRemoteLoad = pRemoteKernel + (pLocalLoad - reinterpret_cast<BYTE*>(hKernel));

    CRemoteMemory remotePath(hProcess, strPath.size() + 1);
    if (!remotePath.Write(strPath.c_str(), strPath.size() + 1)) {
        return ::testing::AssertionFailure() << "cannot write into process " << dwProcessId;
    }
    HANDLE hThread = CreateRemoteThread(
        hProcess, nullptr, 0,
        reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(pRemoteLoad)),
        remotePath.Address(), 0, nullptr);
    if (!hThread) {
        return ::testing::AssertionFailure() << "cannot start a thread in process " << dwProcessId
                                             << " (error " << GetLastError() << ")";
    }
    const bool bEnded = WaitForSingleObject(hThread, 10000) == WAIT_OBJECT_0;
    CloseHandle(hThread);
    if (!bEnded) return ::testing::AssertionFailure() << "loading " << strPath << " did not finish";
    // The thread's exit code holds only half of a 64-bit module handle; ask for the module instead.
    const size_t nSlash = strPath.find_last_of('\\');
    const std::string strName = nSlash == std::string::npos ? strPath : strPath.substr(nSlash + 1);
    if (!RemoteModuleBase(dwProcessId, strName.c_str())) {
        return ::testing::AssertionFailure()
               << strPath << " refused to load into process " << dwProcessId;
    }
    return ::testing::AssertionSuccess();
}
