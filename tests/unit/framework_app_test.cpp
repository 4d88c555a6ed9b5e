// The application object: the entry point's two paths, the main window's end, the image list.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "framework/ImageList.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"

namespace {

constexpr UINT WM_APP_LEFT_IN_QUEUE = WM_APP + 7;

// Takes a WM_QUIT (or any message of the given kind) out of this thread's queue.
bool TakeThreadMessage(UINT message, MSG* pMsg) {
    return ::PeekMessageA(pMsg, nullptr, message, message, PM_REMOVE) != FALSE;
}

class CStartupApp : public CWinApp {
public:
    BOOL m_bInitResult = FALSE;
    int m_nExitCalls = 0;
    HINSTANCE m_hInstanceSeen = nullptr;

    BOOL InitInstance() override {
        m_hInstanceSeen = AfxGetInstanceHandle();
        if (m_bInitResult) ::PostQuitMessage(3);
        return m_bInitResult;
    }
    int ExitInstance() override {
        ++m_nExitCalls;
        return 40 + m_nExitCalls;
    }
};

TEST(FrameworkApp, FailedStartEndsWithoutAMessageLoop) {
    CStartupApp app;
    HINSTANCE hInstance = ::GetModuleHandleA(nullptr);
    ::PostThreadMessageA(::GetCurrentThreadId(), WM_APP_LEFT_IN_QUEUE, 0, 0);

    EXPECT_EQ(AfxWinMain(hInstance, nullptr, const_cast<LPSTR>(""), SW_SHOW), 41);

    EXPECT_EQ(app.m_nExitCalls, 1);
    EXPECT_EQ(app.m_hInstanceSeen, hInstance);
    MSG msg;
    EXPECT_TRUE(TakeThreadMessage(WM_APP_LEFT_IN_QUEUE, &msg)) << "something ran a message loop";
}

TEST(FrameworkApp, SuccessfulStartRunsTheLoopUntilQuit) {
    CStartupApp app;
    app.m_bInitResult = TRUE;

    EXPECT_EQ(AfxWinMain(::GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOW), 41);

    EXPECT_EQ(app.m_nExitCalls, 1);
    MSG msg;
    EXPECT_FALSE(TakeThreadMessage(WM_QUIT, &msg));
}

HWND CreatePlainWindow() {
    return ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr);
}

TEST(FrameworkApp, DestroyingTheMainWindowPostsQuit) {
    CStartupApp app;
    CWnd mainWnd;
    CWnd otherWnd;
    ASSERT_TRUE(mainWnd.SubclassWindow(CreatePlainWindow()));
    ASSERT_TRUE(otherWnd.SubclassWindow(CreatePlainWindow()));
    app.m_pMainWnd = &mainWnd;
    MSG msg;

    EXPECT_TRUE(otherWnd.DestroyWindow());
    EXPECT_FALSE(TakeThreadMessage(WM_QUIT, &msg)) << "only the main window's end quits";
    EXPECT_EQ(otherWnd.m_hWnd, nullptr);

    HWND hMain = mainWnd.m_hWnd;
    EXPECT_TRUE(mainWnd.DestroyWindow());
    EXPECT_TRUE(TakeThreadMessage(WM_QUIT, &msg));
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(mainWnd.m_hWnd, nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hMain), nullptr);
}

TEST(FrameworkApp, ObjectDestroyedBeforeItsWindowLeavesTheWindowWorking) {
    HWND hWnd = CreatePlainWindow();
    {
        CWnd wnd;
        ASSERT_TRUE(wnd.SubclassWindow(hWnd));
        EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
        CWnd second;
        EXPECT_FALSE(second.SubclassWindow(hWnd)) << "one object per window";
    }
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_TRUE(::SetWindowTextA(hWnd, "still alive"));
    char text[32] = {};
    ::GetWindowTextA(hWnd, text, sizeof(text));
    EXPECT_STREQ(text, "still alive");
    EXPECT_TRUE(::DestroyWindow(hWnd));
}

TEST(FrameworkImageList, HoldsTheIconsAddedAndFreesThem) {
    CImageList images;
    ASSERT_TRUE(images.Create(16, 16, ILC_COLOR, 0, 2));
    HICON hIcon = ::LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION

    EXPECT_EQ(images.Add(hIcon), 0);
    EXPECT_EQ(images.Add(hIcon), 1);
    EXPECT_EQ(images.Add(nullptr), -1);
    EXPECT_EQ(images.GetImageCount(), 2);

    EXPECT_TRUE(images.DeleteImageList());
    EXPECT_EQ(images.GetSafeHandle(), nullptr);
    EXPECT_FALSE(images.DeleteImageList());
}

}  // namespace
