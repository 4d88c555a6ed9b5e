#include "HelpObserver.h"

#include <cstring>

#include "Files.h"
#include "spy/HelpSpyRecord.h"

namespace {

constexpr const char* VIEWER_WINDOW_CLASS = "MS_WINHELP";
constexpr const char* HELP_SPY_LIBRARY = "help_spy.dll";
// Wine tags its help requests with this number and lays them out as below.
constexpr ULONG_PTR WINE_WINHELP_MAGIC = 0xA1DE505;

#pragma pack(push, 1)
struct WineHelpRecord {
    WORD nSize;
    WORD nCommand;
    LONG nData;
    LONG nReserved;
    WORD nFileOffset;
    WORD nDataOffset;
};
#pragma pack(pop)

}  // namespace

CHelpObserver::CHelpObserver()
    : m_hThread(nullptr),
      m_dwThreadId(0),
      m_hReady(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      m_hViewerWindow(nullptr),
      m_hSpyWindow(nullptr) {
    m_hThread = CreateThread(nullptr, 0, ThreadProc, this, 0, &m_dwThreadId);
    if (m_hThread) WaitForSingleObject(m_hReady, 10000);
}

CHelpObserver::~CHelpObserver() {
    if (m_hThread) {
        PostThreadMessageA(m_dwThreadId, WM_QUIT, 0, 0);
        WaitForSingleObject(m_hThread, 10000);
        CloseHandle(m_hThread);
    }
    CloseHandle(m_hReady);
}

DWORD WINAPI CHelpObserver::ThreadProc(void* pParameter) {
    auto* pSelf = static_cast<CHelpObserver*>(pParameter);
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    for (const char* pClass : {VIEWER_WINDOW_CLASS, HELP_SPY_WINDOW_CLASS}) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = hInstance;
        windowClass.lpszClassName = pClass;
        RegisterClassA(&windowClass);
    }
    // Top-level and hidden: FindWindow finds hidden windows, but not message-only ones.
    pSelf->m_hViewerWindow = CreateWindowExA(0, VIEWER_WINDOW_CLASS, "", WS_POPUP, 0, 0, 1, 1,
                                             nullptr, nullptr, hInstance, pSelf);
    pSelf->m_hSpyWindow = CreateWindowExA(0, HELP_SPY_WINDOW_CLASS, "", WS_POPUP, 0, 0, 1, 1,
                                          nullptr, nullptr, hInstance, pSelf);
    SetEvent(pSelf->m_hReady);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
    DestroyWindow(pSelf->m_hViewerWindow);
    DestroyWindow(pSelf->m_hSpyWindow);
    return 0;
}

LRESULT CALLBACK CHelpObserver::WindowProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam) {
    if (nMessage == WM_NCCREATE) {
        SetWindowLongPtrA(
            hWnd, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
    }
    auto* pSelf = reinterpret_cast<CHelpObserver*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (nMessage == WM_COPYDATA && pSelf) {
        const auto& data = *reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        char className[64] = "";
        GetClassNameA(hWnd, className, sizeof(className));
        if (std::strcmp(className, VIEWER_WINDOW_CLASS) == 0) {
            pSelf->OnViewerData(data);
        } else {
            pSelf->OnSpyData(data);
        }
        return TRUE;
    }
    return DefWindowProcA(hWnd, nMessage, wParam, lParam);
}

void CHelpObserver::OnViewerData(const COPYDATASTRUCT& data) {
    if (data.dwData != WINE_WINHELP_MAGIC || data.cbData < sizeof(WineHelpRecord)) return;
    const auto* pBytes = static_cast<const char*>(data.lpData);
    const auto* pRecord = reinterpret_cast<const WineHelpRecord*>(pBytes);
    HelpViewerRequest request;
    request.nCommand = pRecord->nCommand;
    request.nData = pRecord->nData;
    if (pRecord->nFileOffset && pRecord->nFileOffset < data.cbData) {
        request.strFile.assign(
            pBytes + pRecord->nFileOffset,
            strnlen(pBytes + pRecord->nFileOffset, data.cbData - pRecord->nFileOffset));
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_aViewerRequests.push_back(request);
}

void CHelpObserver::OnSpyData(const COPYDATASTRUCT& data) {
    if (data.cbData != sizeof(HelpSpyRecord)) return;
    const auto& record = *static_cast<const HelpSpyRecord*>(data.lpData);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (data.dwData == HELP_SPY_CALLED) {
        HelpCall call;
        call.nControlId = record.nControlId;
        call.strFile.assign(record.szFile, strnlen(record.szFile, sizeof(record.szFile)));
        call.nCommand = record.nCommand;
        call.nData = record.nData;
        for (DWORD i = 0; i < record.nPairCount && i < HELP_SPY_MAX_PAIRS; ++i) {
            call.aIdMap.emplace_back(record.aPairs[2 * i], record.aPairs[2 * i + 1]);
        }
        m_aCalls.push_back(call);
    } else if (data.dwData == HELP_SPY_RETURNED && !m_aCalls.empty()) {
        m_aCalls.back().bReturned = true;
        m_aCalls.back().bResult = static_cast<BOOL>(record.nResult);
    }
}

Outcome CHelpObserver::WatchProgram(HANDLE hProcess, DWORD dwProcessId) {
    if (!IsReady()) return Outcome::Failed("the observer's windows could not be made");
    return m_spy.Load(hProcess, dwProcessId, ThisProgramFolder() + "\\" + HELP_SPY_LIBRARY);
}

std::vector<HelpCall> CHelpObserver::Calls() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_aCalls;
}

std::vector<HelpViewerRequest> CHelpObserver::ViewerRequests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_aViewerRequests;
}
