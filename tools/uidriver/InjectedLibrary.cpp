#include "InjectedLibrary.h"

#include <tlhelp32.h>

#include "Files.h"
#include "RemoteMemory.h"

namespace {

constexpr DWORD REMOTE_THREAD_TIMEOUT_MS = 10000;

// Where a module is loaded in another process, or null.
BYTE* RemoteModuleBase(DWORD dwProcessId, const std::string& strName) {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, dwProcessId);
    if (hSnapshot == INVALID_HANDLE_VALUE) return nullptr;
    MODULEENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    BYTE* pBase = nullptr;
    for (BOOL bMore = Module32First(hSnapshot, &entry); bMore && !pBase;
         bMore = Module32Next(hSnapshot, &entry)) {
        if (lstrcmpiA(entry.szModule, strName.c_str()) == 0) pBase = entry.modBaseAddr;
    }
    CloseHandle(hSnapshot);
    return pBase;
}

// Runs a function of the other process on a thread there; false when it did not end in time.
bool RunRemoteThread(HANDLE hProcess, BYTE* pFunction, void* pArgument, DWORD* pExitCode) {
    HANDLE hThread = CreateRemoteThread(
        hProcess, nullptr, 0,
        reinterpret_cast<LPTHREAD_START_ROUTINE>(reinterpret_cast<void*>(pFunction)), pArgument, 0,
        nullptr);
    if (!hThread) return false;
    const bool bEnded = WaitForSingleObject(hThread, REMOTE_THREAD_TIMEOUT_MS) == WAIT_OBJECT_0 &&
                        GetExitCodeThread(hThread, pExitCode);
    CloseHandle(hThread);
    return bEnded;
}

}  // namespace

Outcome CInjectedLibrary::Load(HANDLE hProcess, DWORD dwProcessId, const std::string& strPath) {
    const std::string strProcess = "process " + std::to_string(dwProcessId);
    HMODULE hKernel = GetModuleHandleA("kernel32.dll");
    BYTE* pLocalLoad = reinterpret_cast<BYTE*>(GetProcAddress(hKernel, "LoadLibraryA"));
    // kernel32's base in the other process; the system may place it elsewhere than in ours.
    BYTE* pRemoteKernel = RemoteModuleBase(dwProcessId, "kernel32.dll");
    if (!pLocalLoad || !pRemoteKernel)
        return Outcome::Failed("kernel32 not found in " + strProcess);
    BYTE* pRemoteLoad = pRemoteKernel + (pLocalLoad - reinterpret_cast<BYTE*>(hKernel));

    CRemoteMemory remotePath(hProcess, strPath.size() + 1);
    if (!remotePath.Write(strPath.c_str(), strPath.size() + 1))
        return Outcome::Failed("cannot write into " + strProcess);
    DWORD dwIgnored = 0;
    if (!RunRemoteThread(hProcess, pRemoteLoad, remotePath.Address(), &dwIgnored))
        return Outcome::Failed("loading " + strPath + " into " + strProcess + " did not finish");
    // The thread's exit code holds only half of a 64-bit module handle; ask for the module instead.
    m_pRemoteBase = RemoteModuleBase(dwProcessId, FileName(strPath));
    if (!m_pRemoteBase) return Outcome::Failed(strPath + " refused to load into " + strProcess);
    m_hProcess = hProcess;
    m_hLocalImage = LoadLibraryExA(strPath.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    return Outcome::Done();
}

CInjectedLibrary::~CInjectedLibrary() {
    if (m_hLocalImage) FreeLibrary(m_hLocalImage);
}

bool CInjectedLibrary::Call(const char* pFunction, void* pArgument, DWORD* pAnswer) const {
    if (!m_pRemoteBase || !m_hLocalImage) return false;
    BYTE* pLocal = reinterpret_cast<BYTE*>(GetProcAddress(m_hLocalImage, pFunction));
    if (!pLocal) return false;
    BYTE* pRemote = m_pRemoteBase + (pLocal - reinterpret_cast<BYTE*>(m_hLocalImage));
    return RunRemoteThread(m_hProcess, pRemote, pArgument, pAnswer);
}
