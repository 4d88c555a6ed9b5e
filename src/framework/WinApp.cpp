#include "framework/WinApp.h"

#include <commctrl.h>

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

CWinApp::CWinApp()
    : m_hInstance(::GetModuleHandleA(nullptr)),
      m_pMainWnd(nullptr),
      m_hDialogBkBrush(nullptr),
      m_crDialogBk(0),
      m_crDialogText(0) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (m_hDialogBkBrush != nullptr) ::DeleteObject(m_hDialogBkBrush);
    if (g_pApp == this) g_pApp = nullptr;
}

void CWinApp::SetDialogBkColor(COLORREF clrCtlBk, COLORREF clrCtlText) {
    HBRUSH hBrush = ::CreateSolidBrush(clrCtlBk);
    if (hBrush == nullptr) return;
    if (m_hDialogBkBrush != nullptr) ::DeleteObject(m_hDialogBkBrush);
    m_hDialogBkBrush = hBrush;
    m_crDialogBk = clrCtlBk;
    m_crDialogText = clrCtlText;
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetResourceHandle() {
    return g_pApp != nullptr ? g_pApp->m_hInstance : ::GetModuleHandleA(nullptr);
}

// Kept with the application object: linking the program's CWinApp object from the static library
// is what brings in the entry point.
int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int) {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) return -1;
    pApp->m_hInstance = hInstance;

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&controls);

    pApp->InitInstance();
    return 0;
}
