// CFileDialog as a program's main window: the platform's Open dialog with a child panel from a
// template, the framework's hook attaching the object to the panel, and the panel's destruction
// ending the dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "Files.h"
#include "framework/FileDialog.h"
#include "framework/WinApp.h"

namespace {

// Ids of framework_test.rc.
constexpr UINT IDD_PANEL = 7200;
constexpr int IDC_PANEL_TEXT = 7201;
constexpr int IDC_FILE_NAME_BOX = 1152;  // edt1 of the standard dialog

constexpr UINT ID_STEP_PATH = 3100;
constexpr UINT ID_STEP_PATH_ARRIVED = 3101;
constexpr UINT ID_STEP_ACCEPT = 3102;
constexpr UINT ID_STEP_CLOSE = 3103;

constexpr COLORREF PANEL_BACKGROUND = RGB(180, 171, 206);

class CTestApp : public CWinApp {};

// A fresh folder holding one file, made the current folder for its lifetime.
class CurrentScratchFolder : public TempFolder {
public:
    CurrentScratchFolder() {
        ::GetCurrentDirectoryA(MAX_PATH, m_previous);
        ::SetCurrentDirectoryA(Path().c_str());
        WriteBytes("probe.txt", {});
    }
    ~CurrentScratchFolder() { ::SetCurrentDirectoryA(m_previous); }

private:
    char m_previous[MAX_PATH] = {};
};

struct PathJob {
    const CFileDialog* pDialog;
    HWND hPanel;
    std::string path;
};

UINT FetchPathName(LPVOID pParam) {
    auto* pJob = static_cast<PathJob*>(pParam);
    pJob->path = pJob->pDialog->GetPathName();
    ::PostMessageA(pJob->hPanel, WM_COMMAND, ID_STEP_PATH_ARRIVED, 0);
    return 0;
}

// As a worker that meets a fatal error: it waits while the window handles the command.
UINT SendClose(LPVOID pParam) {
    ::SendMessageA(static_cast<HWND>(pParam), WM_COMMAND, ID_STEP_CLOSE, 0);
    return 0;
}

// Drives itself through commands: asks for the path (on its own thread and on a worker), accepts
// a file name in the standard part, then a worker asks it to close and it destroys its panel.
class CProbeFileDialog : public CFileDialog {
public:
    CProbeFileDialog()
        : CFileDialog(TRUE, "*", "*.*", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr, nullptr) {
        m_ofn.Flags |= OFN_ENABLETEMPLATE;
        m_ofn.hInstance = ::GetModuleHandleA(nullptr);
        m_ofn.lpTemplateName = MAKEINTRESOURCEA(IDD_PANEL);
    }

    std::vector<std::string> m_events;
    std::vector<UINT> m_notifications;
    HWND m_hPanel = nullptr;
    HWND m_hStandardDialog = nullptr;
    std::string m_panelText;
    std::string m_pathOnWindowThread;
    PathJob m_pathJob = {this, nullptr, ""};
    LRESULT m_lPanelBrush = 0;
    bool m_bTimedOut = false;
    bool m_bCloseStandardDialog = false;  // end as a user would, instead of from a worker

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_INITDIALOG) m_events.push_back("WindowProc:WM_INITDIALOG");
        if (message == WM_NOTIFY) {
            const UINT code = reinterpret_cast<const NMHDR*>(lParam)->code;
            m_notifications.push_back(code);
            // As a program that keeps its window open whatever the user accepts.
            if (code == static_cast<UINT>(CDN_FILEOK)) return 1;
        }
        return CFileDialog::WindowProc(message, wParam, lParam);
    }

    BOOL OnInitDialog() override {
        CFileDialog::OnInitDialog();
        m_events.push_back("OnInitDialog");
        m_hPanel = m_hWnd;
        m_hStandardDialog = GetParent();
        char text[32] = {};
        ::GetWindowTextA(GetDlgItem(IDC_PANEL_TEXT), text, sizeof(text));
        m_panelText = text;
        ::PostMessageA(m_hWnd, WM_COMMAND, ID_STEP_PATH, 0);
        return TRUE;
    }

protected:
    void OnStepPath() {
        m_pathOnWindowThread = GetPathName();
        m_pathJob.hPanel = m_hWnd;
        AfxBeginThread(&FetchPathName, &m_pathJob);
    }
    void OnPathArrived() {
        HDC hDC = ::GetDC(m_hWnd);
        m_lPanelBrush = ::SendMessageA(m_hWnd, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(hDC),
                                       reinterpret_cast<LPARAM>(m_hWnd));
        ::ReleaseDC(m_hWnd, hDC);
        ::SetDlgItemTextA(GetParent(), IDC_FILE_NAME_BOX, "probe.txt");
        ::PostMessageA(GetParent(), WM_COMMAND, IDOK, 0);
        ::PostMessageA(m_hWnd, WM_COMMAND, ID_STEP_ACCEPT, 0);
    }
    void OnAccepted() {
        m_events.push_back(::IsWindowVisible(GetParent()) ? "accepted, still open"
                                                          : "accepted, closed");
        if (m_bCloseStandardDialog)
            ::PostMessageA(GetParent(), WM_CLOSE, 0, 0);
        else
            AfxBeginThread(&SendClose, m_hWnd);
    }
    BOOL OnClose(UINT) {
        m_events.push_back("closing");
        DestroyWindow();
        // Declined after all: the routing must cope with a window that is gone.
        return FALSE;
    }
    void OnDestroy() {
        m_events.push_back("OnDestroy");
        Default();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeFileDialog, CFileDialog)
    ON_COMMAND(ID_STEP_PATH, OnStepPath)
    ON_COMMAND(ID_STEP_PATH_ARRIVED, OnPathArrived)
    ON_COMMAND(ID_STEP_ACCEPT, OnAccepted)
    ON_COMMAND_EX(ID_STEP_CLOSE, OnClose)
    ON_WM_DESTROY()
END_MESSAGE_MAP()

// The dialog under test, for the deadline.
CProbeFileDialog* g_pRunningDialog = nullptr;

BOOL CALLBACK CancelDialog(HWND hWnd, LPARAM) {
    char className[16] = {};
    ::GetClassNameA(hWnd, className, sizeof(className));
    if (std::string(className) == "#32770") ::PostMessageA(hWnd, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
}

// Whatever state the panel is in, the standard dialogs of this thread are told to cancel, so the
// test ends.
void CALLBACK CancelAtDeadline(HWND, UINT, UINT_PTR, DWORD) {
    if (g_pRunningDialog != nullptr) g_pRunningDialog->m_bTimedOut = true;
    ::EnumThreadWindows(::GetCurrentThreadId(), &CancelDialog, 0);
}

class FrameworkFileDialog : public ::testing::Test {
protected:
    void RunAsMainWindow() {
        m_app.SetDialogBkColor(PANEL_BACKGROUND);
        m_app.m_pMainWnd = &m_dialog;
        g_pRunningDialog = &m_dialog;
        const UINT_PTR deadline = ::SetTimer(nullptr, 0, 15000, &CancelAtDeadline);
        m_nResult = m_dialog.DoModal();
        ::KillTimer(nullptr, deadline);
        g_pRunningDialog = nullptr;
        MSG msg;
        // The quit message that ended the dialog is meant for a message loop this test lacks.
        m_bQuitPosted = ::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
    }

    CurrentScratchFolder m_folder;
    CTestApp m_app;
    CProbeFileDialog m_dialog;
    INT_PTR m_nResult = 0;
    bool m_bQuitPosted = false;
};

TEST_F(FrameworkFileDialog, AttachesToThePanelAndSeesItsMessagesFirst) {
    RunAsMainWindow();

    ASSERT_FALSE(m_dialog.m_bTimedOut);
    ASSERT_GE(m_dialog.m_events.size(), 2u);
    EXPECT_EQ(m_dialog.m_events[0], "WindowProc:WM_INITDIALOG");
    EXPECT_EQ(m_dialog.m_events[1], "OnInitDialog");
    EXPECT_EQ(m_dialog.m_panelText, "Panel") << "the object is not on the panel from the template";
    EXPECT_NE(m_dialog.m_hStandardDialog, nullptr);
    EXPECT_EQ(m_dialog.m_lPanelBrush, reinterpret_cast<LRESULT>(m_app.GetDialogBkBrush()));
}

TEST_F(FrameworkFileDialog, NotificationsOfTheStandardDialogReachWindowProc) {
    RunAsMainWindow();

    ASSERT_FALSE(m_dialog.m_bTimedOut);
    const std::vector<UINT>& codes = m_dialog.m_notifications;
    auto seen = [&codes](int code) {
        for (UINT c : codes)
            if (c == static_cast<UINT>(code)) return true;
        return false;
    };
    EXPECT_TRUE(seen(CDN_INITDONE));
    EXPECT_TRUE(seen(CDN_FOLDERCHANGE));
    EXPECT_TRUE(seen(CDN_FILEOK));
    const std::vector<std::string> tail(m_dialog.m_events.begin() + 2, m_dialog.m_events.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"accepted, still open", "closing", "OnDestroy"}))
        << "consuming CDN_FILEOK keeps the dialog open";
}

TEST_F(FrameworkFileDialog, PathNameIsTheShownFolderWithTheNameBox) {
    RunAsMainWindow();

    ASSERT_FALSE(m_dialog.m_bTimedOut);
    const std::string expected = m_folder.Path() + "\\*.*";
    EXPECT_STRCASEEQ(m_dialog.m_pathOnWindowThread.c_str(), expected.c_str());
    EXPECT_STRCASEEQ(m_dialog.m_pathJob.path.c_str(), expected.c_str()) << "asked from a worker";
}

TEST_F(FrameworkFileDialog, DestroyingThePanelEndsTheModalDialog) {
    RunAsMainWindow();

    EXPECT_FALSE(m_dialog.m_bTimedOut);
    EXPECT_TRUE(m_bQuitPosted);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_EQ(m_dialog.m_hWnd, nullptr);
    EXPECT_FALSE(::IsWindow(m_dialog.m_hPanel));
    EXPECT_FALSE(::IsWindow(m_dialog.m_hStandardDialog)) << "the standard dialog stayed open";
}

TEST_F(FrameworkFileDialog, ClosingTheStandardDialogEndsItWithThePanel) {
    m_dialog.m_bCloseStandardDialog = true;

    RunAsMainWindow();

    EXPECT_FALSE(m_dialog.m_bTimedOut);
    EXPECT_EQ(m_nResult, IDCANCEL);
    EXPECT_EQ(m_dialog.m_events.back(), "OnDestroy");
    EXPECT_EQ(m_dialog.m_hWnd, nullptr);
    EXPECT_EQ(m_app.m_pMainWnd, nullptr);
    EXPECT_FALSE(::IsWindow(m_dialog.m_hStandardDialog));
}

}  // namespace
