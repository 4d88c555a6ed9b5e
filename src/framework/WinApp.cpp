#include "framework/WinApp.h"

#include <commctrl.h>

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp::CWinApp(const char* lpszAppName)
    : m_pszAppName(lpszAppName),
      m_hInstance(::GetModuleHandleA(nullptr)),
      m_lpCmdLine(nullptr),
      m_nCmdShow(SW_SHOWNORMAL),
      m_hDialogBkBrush(nullptr),
      m_crDialogBk(0),
      m_crDialogText(0) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (m_hDialogBkBrush != nullptr) ::DeleteObject(m_hDialogBkBrush);
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return 0; }

void CWinApp::SetDialogBkColor(COLORREF clrCtlBk, COLORREF clrCtlText) {
    HBRUSH hBrush = ::CreateSolidBrush(clrCtlBk);
    if (hBrush == nullptr) return;
    if (m_hDialogBkBrush != nullptr) ::DeleteObject(m_hDialogBkBrush);
    m_hDialogBkBrush = hBrush;
    m_crDialogBk = clrCtlBk;
    m_crDialogText = clrCtlText;
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
    return g_pApp != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle() { return AfxGetInstanceHandle(); }

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    if (!pApp->InitInstance()) return pApp->ExitInstance();
    return pApp->Run();
}

// Kept with the application object: linking the program's CWinApp object from the static library
// is what brings in the entry point.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, lpCmdLine, nCmdShow);
}
