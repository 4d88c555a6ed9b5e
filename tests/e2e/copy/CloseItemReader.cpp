#include "CloseItemReader.h"

#include <string>

#include "BuiltProgram.h"
#include "RemoteLibrary.h"

namespace {

constexpr const char* PROBE_FILE = "close_item_probe.dll";
constexpr const char* PROBE_FUNCTION = "ReadCloseItemState";
constexpr DWORD PROBE_TIMEOUT_MS = 5000;

}  // namespace

::testing::AssertionResult CCloseItemReader::Attach(HANDLE hProcess, DWORD dwProcessId) {
    const std::string strProbe = TestExecutableFolder() + "\\" + PROBE_FILE;
    // The function's offset in the library is the same in both processes.
    HMODULE hLocal = LoadLibraryA(strProbe.c_str());
    if (!hLocal) return ::testing::AssertionFailure() << "cannot load " << strProbe;
    BYTE* pLocalRead = reinterpret_cast<BYTE*>(GetProcAddress(hLocal, PROBE_FUNCTION));
    const ptrdiff_t nOffset = pLocalRead ? pLocalRead - reinterpret_cast<BYTE*>(hLocal) : 0;
    FreeLibrary(hLocal);
    if (!nOffset) return ::testing::AssertionFailure() << strProbe << " lacks " << PROBE_FUNCTION;

    ::testing::AssertionResult loaded = LoadLibraryInto(hProcess, dwProcessId, strProbe);
    if (!loaded) return loaded;
    BYTE* pRemoteBase = RemoteModuleBase(dwProcessId, PROBE_FILE);
    if (!pRemoteBase)
        return ::testing::AssertionFailure() << PROBE_FILE << " is not in the program";
    m_hProcess = hProcess;
    m_pRemoteRead = pRemoteBase + nOffset;
    return ::testing::AssertionSuccess();
}

DWORD CCloseItemReader::Read(HWND hWindow) const {
    if (!m_pRemoteRead) return 0;
    HANDLE hThread = CreateRemoteThread(m_hProcess, nullptr, 0,
                                        reinterpret_cast<LPTHREAD_START_ROUTINE>(m_pRemoteRead),
                                        hWindow, 0, nullptr);
    if (!hThread) return 0;
    DWORD dwCode = 0;
    if (WaitForSingleObject(hThread, PROBE_TIMEOUT_MS) != WAIT_OBJECT_0 ||
        !GetExitCodeThread(hThread, &dwCode)) {
        dwCode = 0;
    }
    CloseHandle(hThread);
    return dwCode;
}
